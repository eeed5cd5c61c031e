#include <gtest/gtest.h>

#include "search/TextMatch.h"

namespace {

// 月火 is 8C 8E 89 CE; its middle bytes 8E 89 are the character 脂.
constexpr const char* kMonthFire = "\x8C\x8E\x89\xCE";
constexpr const char* kFat = "\x8E\x89";

TEST(TextMatch, BytesMatchAsTheyAre) {
    EXPECT_TRUE(ContainsText("say ABC now", "ABC"));
    EXPECT_FALSE(ContainsText("say ABC now", "abc"));
    EXPECT_FALSE(ContainsText("\x82`\x82\x61\x82\x62", "ABC"));  // full-width ＡＢＣ
    EXPECT_TRUE(ContainsText("anything", ""));
    EXPECT_TRUE(ContainsText("", ""));
    EXPECT_FALSE(ContainsText("", "a"));
    EXPECT_FALSE(ContainsText("ab", "abc"));
}

TEST(TextMatch, MatchesStartAndEndOnCharacterBoundaries) {
    EXPECT_FALSE(ContainsText(kMonthFire, kFat));
    EXPECT_TRUE(ContainsText("\x8C\x8E\x8E\x89", kFat));  // 月脂
    // A crossing candidate first, the real character later in the same text.
    EXPECT_TRUE(ContainsText("\x8C\x8E\x89\xCE\x8E\x89", kFat));
    // 0x5C is a trail byte too: 表 is 95 5C, so a backslash search must not find it.
    EXPECT_FALSE(ContainsText("\x95\x5C", "\\"));
    EXPECT_TRUE(ContainsText("\x95\x5C\\", "\\"));
    // A pattern that ends in the middle of a character of the text.
    EXPECT_FALSE(ContainsText("\x8C\x8E", "\x8C"));
    // Half-width katakana are single bytes, so every position is a boundary.
    EXPECT_TRUE(ContainsText("\xB1\xB2\xB3", "\xB2\xB3"));
    // A lead byte without a trail byte stands alone.
    EXPECT_TRUE(ContainsText("a\x81", "\x81"));
    EXPECT_TRUE(ContainsText("\x81 ", " "));
    EXPECT_FALSE(ContainsText("\x81\x61", "\x61"));  // 0x61 ('a') is a trail byte
    // An undefined pair is a lone lead byte, as the list shows it: 85 41 reads as "?A".
    EXPECT_TRUE(ContainsText("\x85\x41", "A"));
    EXPECT_TRUE(ContainsText("\x85\x8C\x8E", "\x8C\x8E"));
}

TEST(TextMatch, CharactersHeldTwiceMatchUnderEitherCode) {
    // 髙 is EE E0 (NEC-selected) and FB FC (IBM); ¬ is 81 CA, EE F9 and FA 54.
    EXPECT_TRUE(ContainsText("\xEE\xE0\x8B\xB4", "\xFB\xFC\x8B\xB4"));
    EXPECT_TRUE(ContainsText("a\xFB\xFC", "\xEE\xE0"));
    EXPECT_TRUE(ContainsText("\xEE\xF9", "\x81\xCA"));
    EXPECT_TRUE(ContainsText("\xFA\x54", "\xEE\xF9"));
    EXPECT_FALSE(ContainsText("\xEE\xE1", "\xFB\xFC"));  // a different character
    // Boundaries still hold after the codes are made one: 8C FB FC 40 holds no 髙.
    EXPECT_FALSE(ContainsText("\x8C\xFB\xFC\x40", "\xEE\xE0"));
}

}  // namespace
