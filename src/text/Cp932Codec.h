#pragma once

// Code page 932 one character at a time, for the converters of this folder (no Qt).

#include <cstddef>
#include <cstdint>
#include <string>

#include "text/Cp932Table.h"

namespace cp932 {

inline constexpr char16_t kReplacement = 0xFFFD;

struct Decoded {
    char16_t unit;
    std::size_t length;  // bytes consumed: 1 or 2
};

// Decodes the character at p[0] (p[0] >= 0x80; `left` >= 1 bytes are readable). A lead
// byte that does not start a defined pair becomes U+FFFD on its own, so the byte after
// it is read again as the start of the next character.
inline Decoded DecodeAt(const unsigned char* p, std::size_t left) {
    const std::uint8_t row = cp932::kLeadRow[p[0]];
    if (row == cp932::kNone) {
        return {cp932::kSingleByte[p[0]], 1};
    }
    if (left >= 2) {
        const std::uint8_t column = cp932::kTrailColumn[p[1]];
        if (column != cp932::kNone) {
            const char16_t unit = cp932::kDoubleByte[row * cp932::kTrailCount + column];
            if (unit != 0) {
                return {unit, 2};
            }
        }
    }
    return {kReplacement, 1};
}

// Bytes of `code` (a BMP code point >= 0x80): a single byte (<= 0xFF), lead << 8 | trail,
// or 0 when code page 932 has no form for it.
inline std::uint16_t EncodeUnit(char32_t code) {
    if (code > 0xFFFF) {
        return 0;
    }
    const std::size_t page = cp932::kEncodePage[code >> 8];
    return cp932::kEncode[page * 256 + (code & 0xFF)];
}

inline void PutEncoded(std::uint16_t encoded, std::string& out) {
    if (encoded > 0xFF) {
        out.push_back(static_cast<char>(encoded >> 8));
    }
    out.push_back(static_cast<char>(encoded & 0xFF));
}

}  // namespace cp932
