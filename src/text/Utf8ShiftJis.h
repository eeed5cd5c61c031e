#pragma once

// Straight byte-to-byte conversions between the database's Shift-JIS (code page 932) and
// UTF-8, for the core folders and the command line: no Qt.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Shift-JIS to UTF-8, with U+FFFD for what cannot be decoded, and UTF-8 to Shift-JIS
// (std::nullopt when not possible or when the input is not valid UTF-8).
std::string Utf8FromShiftJis(std::string_view bytes);
std::optional<std::string> ShiftJisFromUtf8(std::string_view utf8);

// The code point of UTF-8 text at `pos`, advancing `pos` past it; nullopt, with `pos`
// left where it was, for anything that is not well-formed (overlong forms, surrogates,
// values past U+10FFFF, cut sequences).
std::optional<char32_t> NextUtf8(std::string_view utf8, std::size_t& pos);

// Appends the UTF-8 form of Shift-JIS `bytes` to `out` (no allocation when `out` has room).
void AppendUtf8FromShiftJis(std::string_view bytes, std::string& out);
