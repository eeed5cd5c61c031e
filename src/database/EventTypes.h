#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Event type codes with a known record layout.
bool IsSupportedType(std::uint16_t type);

// The display name of a type code (Shift-JIS): the table name of a decoded type,
// "エラー" for 0, otherwise "タイプ %d" with the code.
std::string TypeName(std::uint16_t type);

// Builds the display text of a decoded record from its raw text (the bytes before
// the first NUL) into `out`.
void BuildDisplayText(std::uint16_t type, std::string_view raw, std::string& out);

// The direction word of the list and the export: 受信 for 0, 送信 for anything else.
std::string_view DirectionName(std::uint32_t direction);

// The weekday word for tm_wday 0..6 (empty for anything else).
std::string_view WeekdayName(int wday);
