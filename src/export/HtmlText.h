#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Appends UTF-8 `text` to HTML with &, <, >, " and ' as character references; CR LF and a
// lone CR become LF; control characters other than TAB and LF become U+FFFD.
void AppendHtmlEscaped(std::string_view text, std::string& out);

// As AppendHtmlEscaped, with every http, https, ftp and mailto address made a link. Nothing
// else becomes a link, whatever scheme it names. A mailto link leaves out the address's
// query (?subject=..., ?attach=...).
void AppendHtmlWithLinks(std::string_view text, std::string& out);

// Whether both of the above write `text` as it is: no control character (TAB and LF
// included), DEL, character that has a reference, or colon (every address has one).
bool IsPlainHtml(std::string_view text);

// The next address in `text` from `from` on: true with [begin, end) set when there is one.
bool FindWebAddress(std::string_view text, std::size_t from, std::size_t& begin, std::size_t& end);
