#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The switches of the hit list that the find dialog's search lacks.
struct MatchOptions {
    bool ignoreCase = false;   // ASCII letters A-Z equal a-z
    bool ignoreWidth = false;  // full-width and half-width forms equal (Ａ and A, ｱ and ア)
    bool ignoreKana = false;   // hiragana equal katakana (ぷ and プ)

    bool Folds() const { return ignoreCase || ignoreWidth || ignoreKana; }
};

// Marks a byte of folded text that does not start a character.
inline constexpr std::uint32_t kNotCharStart = UINT32_MAX;

// Appends the folded form of Shift-JIS `text` to `out`, character by character, so that a
// text holding a pattern as it stands also holds it folded: with ignoreKana, hiragana become
// katakana; with ignoreWidth, full-width ASCII forms (and the ideographic space) become
// ASCII, half-width katakana and marks become full-width, and a full-width katakana with a
// voiced or semi-voiced mark becomes its base and the mark (ガ and ｶﾞ are both カ゛, and ｶ
// is found in ｶﾞ as it is without the switch); with ignoreCase, A-Z become a-z (after the
// width fold, so Ａ equals a when both are on). Everything else is kept.
// When `origins` is given it receives, for each byte appended, the offset in `text` of the
// character the byte starts (kNotCharStart for the second byte of one), then text.size().
void FoldText(std::string_view text, MatchOptions options, std::string& out,
              std::vector<std::uint32_t>* origins);
