#pragma once

// Every conversion between the database's Shift-JIS (code page 932) bytes and Unicode
// goes through here: QString for the window and the settings, and (from Utf8ShiftJis.h,
// which has no Qt) straight to and from UTF-8 for the core and the command line.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/Utf8ShiftJis.h"

// Decodes Shift-JIS bytes. A byte (or byte pair) that cannot be decoded becomes U+FFFD
// and decoding goes on with the next byte.
QString FromShiftJis(std::string_view bytes);

// Encodes to Shift-JIS; std::nullopt when some character has no Shift-JIS form.
std::optional<std::string> ToShiftJis(const QString& text);

// The Shift-JIS form of `text`, where each character without one becomes `standIn`.
std::string ToShiftJisWith(const QString& text, char standIn);

// What a search for `text` looks for: a character without a Shift-JIS form becomes a NUL
// byte. No text holds that byte, so such a search finds nothing instead of a look-alike.
inline std::string ShiftJisForSearch(const QString& text) {
    return ToShiftJisWith(text, '\0');
}

// True when every character of `text` has a Shift-JIS form.
bool CanEncodeShiftJis(const QString& text);

// Length of `text` in Shift-JIS bytes (characters without a form count as one byte).
std::size_t ShiftJisLength(const QString& text);
