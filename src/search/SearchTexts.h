#pragma once

#include <string_view>

// 検索を終えました (Shift-JIS): told when a search step finds no further row.
inline constexpr std::string_view kSearchFinished =
    "\x8C\x9F\x8D\xF5\x82\xF0\x8FI\x82\xA6\x82\xDC\x82\xB5\x82\xBD";
