#pragma once

#include <string_view>

// Texts of the member statistics, as Shift-JIS bytes.
namespace statstext {

// 全イベント合計, the total row of the general page's table.
inline constexpr std::string_view kTotalRow =
    "\x91S\x83"
    "C\x83x\x83\x93\x83g\x8D\x87\x8Cv";

}  // namespace statstext
