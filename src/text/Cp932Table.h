#pragma once

// Code page 932 tables, written by scripts/gen-cp932-table.py into Cp932Table.cpp.
// Only ShiftJis.cpp reads them.

#include <cstddef>
#include <cstdint>

namespace cp932 {

inline constexpr std::size_t kLeadCount = 60;    // 0x81-0x9F, 0xE0-0xFC
inline constexpr std::size_t kTrailCount = 188;  // 0x40-0x7E, 0x80-0xFC
inline constexpr std::uint8_t kNone = 0xFF;

// Row of a lead byte in kDoubleByte; kNone for a byte that stands on its own.
extern const std::uint8_t kLeadRow[256];
// Column of a trail byte in kDoubleByte; kNone for a byte that cannot follow a lead.
extern const std::uint8_t kTrailColumn[256];
// UTF-16 unit of each byte on its own: ASCII, half-width katakana and the few extra
// single bytes of the code page. A lead byte's entry is U+FFFD.
extern const char16_t kSingleByte[256];
// UTF-16 unit of a lead/trail pair; 0 where the pair is undefined.
extern const char16_t kDoubleByte[kLeadCount * kTrailCount];

// BMP code point to bytes: kEncode[kEncodePage[cp >> 8] * 256 + (cp & 0xFF)] is a single
// byte (<= 0xFF), lead << 8 | trail, or 0 when there is no form. ASCII is not in it.
extern const std::uint8_t kEncodePage[256];
extern const std::uint16_t kEncode[];

}  // namespace cp932
