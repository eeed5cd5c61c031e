#include <gtest/gtest.h>

#include <string>

#include "export/CharacterPairs.h"

namespace {

std::string Pairs(std::string_view text) {
    std::string out;
    AppendCharacterPairs(text, out);
    return out;
}

TEST(CharacterPairs, RunsOfJapaneseTextBecomeTheirOverlappingPairs) {
    EXPECT_EQ(Pairs("映画館で会おう"), "映画 画館 館で で会 会お おう");
    // Punctuation, spaces and ASCII end a run; a run of one stands for itself; 々 and ー are
    // part of words.
    EXPECT_EQ(Pairs("猫、時々 OK!ラーメン。"), "猫 時々 ラー ーメ メン");
    EXPECT_EQ(Pairs("hello world 123"), "");
    EXPECT_EQ(Pairs("（会議）"), "会議");
    // Bytes that are no UTF-8 (a truncated sequence at the end) neither pair nor overrun.
    EXPECT_EQ(Pairs("映画\xE6\x98"), "映画");
    EXPECT_EQ(Pairs("\xFF映\x80画"), "映 画");
}

}  // namespace
