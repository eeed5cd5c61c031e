#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The two switches of the hit list that the find dialog's search lacks.
struct MatchOptions {
    bool ignoreCase = false;   // ASCII letters A-Z equal a-z
    bool ignoreWidth = false;  // full-width and half-width forms equal (Ａ and A, ｱ and ア)

    bool Folds() const { return ignoreCase || ignoreWidth; }
};

// Marks a byte of folded text that does not start a character.
inline constexpr std::uint32_t kNotCharStart = UINT32_MAX;

// Appends the folded form of Shift-JIS `text` to `out`: with ignoreWidth, full-width ASCII
// forms (and the ideographic space) become ASCII and half-width katakana become full-width,
// a voiced or semi-voiced mark after them included (ｶﾞ is ガ); with ignoreCase, A-Z become
// a-z (after the width fold, so Ａ equals a when both are on). Everything else is kept.
// When `origins` is given it receives, for each byte appended, the offset in `text` of the
// character the byte starts (kNotCharStart for the second byte of one), then text.size().
void FoldText(std::string_view text, MatchOptions options, std::string& out,
              std::vector<std::uint32_t>* origins);
