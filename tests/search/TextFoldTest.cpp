#include <gtest/gtest.h>

#include <QString>

#include <random>
#include <string>

#include "search/FoldNeedles.h"
#include "search/NeedleFinder.h"
#include "search/TextFold.h"
#include "search/TextMatch.h"
#include "search/TextMatcher.h"
#include "text/Cp932Chars.h"
#include "text/ShiftJis.h"

namespace {

constexpr MatchOptions kWidth{false, true};
constexpr MatchOptions kCase{true, false};
constexpr MatchOptions kBoth{true, true};
constexpr MatchOptions kKana{false, false, true};
constexpr MatchOptions kAll{true, true, true};

std::string Fold(const std::string& text, MatchOptions options) {
    std::string out;
    FoldText(text, options, out, nullptr);
    return out;
}

std::string Sjis(const char* utf8) {
    return ToShiftJis(QString::fromUtf8(utf8)).value();
}

// The width forms the fold must know, taken from the Unicode compatibility mappings: the
// full-width ASCII block and the ideographic space become ASCII, the half-width block its
// full-width forms. The two marks alone map to spacing marks, not to combining ones.
QString ExpectedWidthFold(const QString& decoded) {
    if (decoded.size() != 1) {
        return decoded;
    }
    const char16_t c = decoded.at(0).unicode();
    if (c == u'\uFF9E') {
        return QStringLiteral("\u309B");
    }
    if (c == u'\uFF9F') {
        return QStringLiteral("\u309C");
    }
    if ((c >= 0xFF01 && c <= 0xFF5E) || c == 0x3000 || (c >= 0xFF61 && c <= 0xFF9D)) {
        return decoded.normalized(QString::NormalizationForm_KC);
    }
    // A katakana with a mark is its base and the spacing mark, as the half-width pair is.
    const QString parts = decoded.normalized(QString::NormalizationForm_D);
    if (c >= 0x30A0 && c < 0x30FD && parts.size() == 2) {
        return parts.left(1) + (parts.at(1) == u'\u3099' ? u'\u309B' : u'\u309C');
    }
    return decoded;
}

TEST(TextFold, EveryCodeOfTheCodePageFoldsToItsUnicodeWidthForm) {
    auto check = [](const std::string& bytes) {
        const QString decoded = FromShiftJis(bytes);
        const QString folded = ExpectedWidthFold(decoded);
        const std::string expected = folded == decoded ? bytes : ToShiftJis(folded).value();
        EXPECT_EQ(Fold(bytes, kWidth), expected) << std::hex << int(uint8_t(bytes[0]));
    };
    for (int c = 0; c < 0x100; ++c) {
        const std::string single(1, static_cast<char>(c));
        if (Cp932CharLength(single + "\x40", 0) == 1) {  // not a lead byte
            check(single);
        }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            if (Cp932CharLength(pair, 0) == 2 && !FromShiftJis(pair).contains(u'\uFFFD')) {
                check(pair);
            }
        }
    }
}

TEST(TextFold, HalfWidthKanaWithAMarkFoldAsTheFullWidthCharacterWhereOneExists) {
    for (int base = 0xA6; base <= 0xDD; ++base) {
        for (int mark : {0xDE, 0xDF}) {
            const std::string bytes{static_cast<char>(base), static_cast<char>(mark)};
            const QString composed = FromShiftJis(bytes).normalized(QString::NormalizationForm_KC);
            const auto single = composed.size() == 1 ? ToShiftJis(composed) : std::nullopt;
            const std::string parts = Fold(bytes.substr(0, 1), kWidth) + Fold(bytes.substr(1), kWidth);
            EXPECT_EQ(Fold(bytes, kWidth), parts) << std::hex << base << ' ' << mark;
            if (single) {
                EXPECT_EQ(Fold(*single, kWidth), parts) << std::hex << base << ' ' << mark;
            }
        }
    }
}

TEST(TextMatcher, SwitchesFoldCaseAndWidthAndMarkTheOriginalBytes) {
    auto find = [](const char* pattern, const char* text, MatchOptions options) {
        const std::string t = Sjis(text);
        auto span = TextMatcher(Sjis(pattern), options).Find(t);
        return span ? QString::fromUtf8(Utf8FromShiftJis(t.substr(span->start, span->length)))
                    : QStringLiteral("-");
    };
    EXPECT_EQ(find("abc", "xABCx", kCase), QStringLiteral("ABC"));
    EXPECT_EQ(find("abc", "xABCx", kWidth), QStringLiteral("-"));
    EXPECT_EQ(find("ａｂｃ", "xABCx", kWidth), QStringLiteral("-"));  // width, not case
    EXPECT_EQ(find("ａｂｃ", "xABCx", kBoth), QStringLiteral("ABC"));
    EXPECT_EQ(find("ａｂｃ", "xABCx", kCase), QStringLiteral("-"));  // ａ is not ASCII
    EXPECT_EQ(find("アイ", "おｱｲう", kWidth), QStringLiteral("ｱｲ"));
    EXPECT_EQ(find("ｶﾞｲﾄﾞ", "ガイド本", kWidth), QStringLiteral("ガイド"));
    EXPECT_EQ(find("ガイド", "ｶﾞｲﾄﾞ本", kWidth), QStringLiteral("ｶﾞｲﾄﾞ"));
    EXPECT_EQ(find("カ", "ガ", kWidth), QStringLiteral("-"));  // ガ is not カ
    EXPECT_EQ(find("ｶ", "ｶﾞ", kWidth), QStringLiteral("ｶ"));  // ... but ｶ stands in ｶﾞ
    EXPECT_EQ(find("ﾌﾟﾚｾ", "ﾌﾟﾚｾﾞﾝﾄ", kWidth), QStringLiteral("ﾌﾟﾚｾ"));
    EXPECT_EQ(find("ぷれぜんと", "ﾌﾟﾚｾﾞﾝﾄ", kAll), QStringLiteral("ﾌﾟﾚｾﾞﾝﾄ"));
    EXPECT_EQ(find("ぷれぜんと", "プレゼント", kKana), QStringLiteral("プレゼント"));
    EXPECT_EQ(find("ぷれぜんと", "ﾌﾟﾚｾﾞﾝﾄ", kKana), QStringLiteral("-"));  // width is apart
    EXPECT_EQ(find("クラス", "暮らす", kAll), QStringLiteral("-"));
    EXPECT_EQ(find("パン", "ﾊﾟﾝ", kWidth), QStringLiteral("ﾊﾟﾝ"));
    EXPECT_EQ(find("1 2", "１　２", kWidth), QStringLiteral("１　２"));
    EXPECT_EQ(find("", "abc", kBoth), QStringLiteral(""));
    // Folding never lets a hit start inside a character: 月火 holds 脂's bytes in between.
    EXPECT_EQ(find("脂", "月火", kBoth), QStringLiteral("-"));
}

TEST(TextMatcher, WithTheSwitchesOffItAgreesWithTheSearchStep) {
    // Bytes from a small alphabet of leads, trails and ASCII make crossings likely.
    const char alphabet[] = {'\x8C', '\x8E', '\x89', '\xCE', 'a',    'A',
                             '\\',   '\x95', '\x5C', '\xB1', '\x81', ' '};
    std::mt19937 random(7);
    auto make = [&](std::size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& c : s) {
            c = alphabet[random() % sizeof alphabet];
        }
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string text = make(12);
        const std::string pattern = make(3);
        const auto span = TextMatcher(pattern, {}).Find(text);
        ASSERT_EQ(span.has_value(), ContainsText(text, pattern)) << text << " / " << pattern;
        if (span) {
            EXPECT_EQ(text.substr(span->start, span->length), pattern);
        }
    }
}

}  // namespace

namespace {

// Every run of whole characters of `text`.
std::vector<std::string> Substrings(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += Cp932CharLength(text, i)) {
        starts.push_back(i);
    }
    starts.push_back(text.size());
    std::vector<std::string> out;
    for (std::size_t a = 0; a < starts.size(); ++a) {
        for (std::size_t b = a + 1; b < starts.size(); ++b) {
            out.push_back(text.substr(starts[a], starts[b] - starts[a]));
        }
    }
    return out;
}

TEST(TextMatcher, EverySwitchOnlyAddsHitsAndTheFileScanKeepsThemAll) {
    // Characters whose forms fold into each other, in every width and kana.
    const char* pieces[] = {"ｶ", "ﾞ", "ﾟ", "ﾊ", "カ", "ガ", "か", "が", "ハ", "パ", "ぱ", "゛",
                            "a", "A", "ａ", "Ｚ", "z", "ﾌ", "プ", "ー", "ｰ", "　", " ", "ヴ",
                            "ｳ", "ゞ", "ヾ", "\x8C"};
    std::vector<std::string> alphabet;
    for (const char* piece : pieces) {
        alphabet.push_back(piece[0] == '\x8C' ? std::string(piece) : Sjis(piece));
    }
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (std::size_t n = random() % 9; n > 0; --n) {
            text += alphabet[random() % alphabet.size()];
        }
        for (unsigned bits = 1; bits < 8; ++bits) {
            const MatchOptions options{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
            const auto needles = FoldNeedles(text, options);
            for (const std::string& pattern : Substrings(text)) {
                ASSERT_TRUE(TextMatcher(pattern, options).Find(text)) << text << " / " << pattern;
            }
            // Other texts holding it folded: the raw bytes hold one of the needles.
            for (int other = 0; other < 20; ++other) {
                std::string haystack;
                for (std::size_t n = random() % 9; n > 0; --n) {
                    haystack += alphabet[random() % alphabet.size()];
                }
                if (!needles || !TextMatcher(text, options).Find(haystack)) {
                    continue;
                }
                bool held = false;
                for (const std::string& needle : *needles) {
                    held = held || haystack.find(needle) != std::string::npos;
                }
                EXPECT_TRUE(held) << text << " in " << haystack << " options " << bits;
            }
        }
    }
}

TEST(NeedleFinder, FindsTheFirstNeedleAsAPlainSearchDoes) {
    std::mt19937 random(5);
    const char alphabet[] = {'a', 'b', '\x82', '\x83', '\x9A', 'z'};
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> needles(1 + random() % 5);
        for (std::string& needle : needles) {
            needle.resize(1 + random() % 4);
            for (char& c : needle) {
                c = alphabet[random() % sizeof alphabet];
            }
        }
        std::string hay(random() % 200, ' ');
        for (char& c : hay) {
            c = alphabet[random() % sizeof alphabet];
        }
        std::size_t expected = std::string::npos;
        for (const std::string& needle : needles) {
            expected = std::min(expected, hay.find(needle));
        }
        const auto* begin = reinterpret_cast<const std::uint8_t*>(hay.data());
        std::size_t length = 0;
        const std::uint8_t* hit = NeedleFinder(needles).Find(begin, begin + hay.size(), length);
        ASSERT_EQ(hit ? static_cast<std::size_t>(hit - begin) : std::string::npos, expected);
    }
}

}  // namespace
