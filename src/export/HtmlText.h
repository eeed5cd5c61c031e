#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Appends UTF-8 `text` to HTML with &, <, >, " and ' as character references; CR LF and a
// lone CR become LF; the control characters that HTML does not allow (C0 other than TAB and
// LF, DEL, and the C1 controls U+0080 to U+009F) become U+FFFD.
void AppendHtmlEscaped(std::string_view text, std::string& out);

// As AppendHtmlEscaped, with every http, https, ftp and mailto address made a link. Nothing
// else becomes a link, whatever scheme it names. A mailto link leaves out the address's
// query (?subject=..., ?attach=...).
void AppendHtmlWithLinks(std::string_view text, std::string& out);

// Whether both of the above write `text` as it is: no control character (TAB and LF
// included), DEL, byte 0xC2 (U+0080 to U+00BF, the C1 controls among them), character that
// has a reference, or colon (every address has one).
bool IsPlainHtml(std::string_view text);

// The next address in `text` from `from` on: true with [begin, end) set when there is one.
bool FindWebAddress(std::string_view text, std::size_t from, std::size_t& begin, std::size_t& end);
