#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <QString>

#include <iconv.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QString FromUcs4(char32_t code) {
    return QString::fromUcs4(&code, 1);
}

// Hiragana, katakana, kanji (表 and ソ have 0x5C, the backslash, as trail byte),
// full-width forms, half-width katakana, ASCII with backslash and tilde.
const QString kMixedText = QStringLiteral("ひらがな カタカナ 漢字表示ソ Ａ１ ｶﾀｶﾅ abc\\x~");
constexpr std::string_view kMixedBytes =
    "\x82\xD0\x82\xE7\x82\xAA\x82\xC8\x20\x83\x4A\x83\x5E\x83\x4A\x83\x69\x20\x8A\xBF\x8E\x9A"
    "\x95\x5C\x8E\xA6\x83\x5C\x20\x82\x60\x82\x50\x20\xB6\xC0\xB6\xC5\x20\x61\x62\x63\x5C\x78"
    "\x7E"sv;

TEST(ShiftJisTest, JapaneseTextRoundTripsThroughEveryConversion) {
    EXPECT_EQ(ToShiftJis(kMixedText), std::string(kMixedBytes));
    EXPECT_EQ(FromShiftJis(kMixedBytes), kMixedText);
    EXPECT_EQ(Utf8FromShiftJis(kMixedBytes), Utf8(kMixedText));
    EXPECT_EQ(ShiftJisFromUtf8(Utf8(kMixedText)), std::string(kMixedBytes));
    EXPECT_TRUE(CanEncodeShiftJis(kMixedText));
    EXPECT_EQ(ShiftJisLength(kMixedText), kMixedBytes.size());

    // NUL is a character like any other, not an end.
    EXPECT_EQ(FromShiftJis("a\0\x82\xA0"sv), QStringLiteral("a") + QChar(0) + QStringLiteral("あ"));
    EXPECT_EQ(ToShiftJis(QString(QChar(0))), std::string(1, '\0'));
    EXPECT_EQ(FromShiftJis({}), QString());
    EXPECT_EQ(Utf8FromShiftJis({}), std::string());
}

TEST(ShiftJisTest, LengthCountsBytesOfEachCharacter) {
    EXPECT_EQ(ShiftJisLength(QStringLiteral("日本語のテキストです")), 20u);
    EXPECT_EQ(ShiftJisLength(QStringLiteral("ｶﾀｶﾅ")), 4u);
    // Characters without a form count one byte, an emoji (two UTF-16 units) included.
    EXPECT_EQ(ShiftJisLength(QStringLiteral("é") + FromUcs4(0x1F600) + QStringLiteral("あ")), 4u);
}

TEST(ShiftJisTest, UndecodableBytesBecomeReplacementAndTheRestIsKept) {
    struct Case {
        std::string_view bytes;
        QString text;
    };
    const Case cases[] = {
        {"\x82\xA0\x82"sv, QStringLiteral("あ\uFFFD")},  // lead byte at the end
        {"\x81\x20"
         "A"sv,
         QStringLiteral("\uFFFD A")},  // trail out of range
        {"\x81\x7F"
         "A"sv,
         QStringLiteral("\uFFFD\u007FA")},                    // 0x7F is never a trail
        {"\x85\x40\x82\xA2"sv, QStringLiteral("\uFFFD@い")},  // undefined pair
        {"\x85\x82\xA0"sv, QStringLiteral("\uFFFDあ")},       // the next byte starts over
        {"\xFC\xFC\x82\xA0"sv, QStringLiteral("\uFFFD\uFFFDあ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QByteArray(c.bytes.data(), static_cast<qsizetype>(c.bytes.size()))
                         .toHex()
                         .toStdString());
        EXPECT_EQ(FromShiftJis(c.bytes), c.text);
        EXPECT_EQ(Utf8FromShiftJis(c.bytes), Utf8(c.text));
    }
}

TEST(ShiftJisTest, SingleBytesOutsideJisDecodeOnTheirOwn) {
    // The code page gives 0x80, 0xA0 and 0xFD-0xFF characters of their own; they are
    // not lead bytes, so the byte after them is untouched.
    EXPECT_EQ(FromShiftJis("\x82\xA0\xFE\x82\xA2"sv), QStringLiteral("あ\uF8F2い"));
    EXPECT_EQ(FromShiftJis("\x80\x40\xA0\x40\xFD\x40\xFF\x40"sv),
              QStringLiteral("\u0080@\uF8F0@\uF8F1@\uF8F3@"));
    EXPECT_EQ(ToShiftJis(QStringLiteral("\uF8F2")), "\xFE");

    for (int byte = 0xA1; byte <= 0xDF; ++byte) {
        const std::string bytes(1, static_cast<char>(byte));
        EXPECT_EQ(FromShiftJis(bytes), QChar(static_cast<char16_t>(0xFF61 + byte - 0xA1)));
    }
}

TEST(ShiftJisTest, CharactersWithoutFormAreRefused) {
    const QString refused[] = {
        FromUcs4(0x1F600),         // outside the BMP
        QStringLiteral("é"),       // no Latin-1 letters in the code page
        QStringLiteral("\u00A5"),  // 0x5C is a backslash here, not a yen sign
        QString(QChar(0xD800)),    // unpaired surrogate
        QStringLiteral("\uFFFD"),  // what the decoder makes must not encode back
    };
    for (const QString& character : refused) {
        const QString text = QStringLiteral("あ") + character + QStringLiteral("a");
        SCOPED_TRACE(text.toStdU32String().size());
        EXPECT_FALSE(CanEncodeShiftJis(text));
        EXPECT_EQ(ToShiftJis(text), std::nullopt);
        // A search looks for a NUL byte in its place: one, even for a surrogate pair.
        EXPECT_EQ(ShiftJisForSearch(text), std::string("\x82\xA0") + '\0' + "a");
        if (!character.at(0).isSurrogate() || character.size() == 2) {
            EXPECT_EQ(ShiftJisFromUtf8(Utf8(text)), std::nullopt);
        }
    }
}

TEST(ShiftJisTest, LookalikesFromOtherInputMethodsEncodeToTheFullWidthForms) {
    // Input methods outside Windows type U+301C and U+2212 where the code page has
    // U+FF5E and U+FF0D; a search must still find the stored bytes.
    EXPECT_EQ(ToShiftJis(QStringLiteral("\u301C\u2212")), "\x81\x60\x81\x7C");
    EXPECT_EQ(FromShiftJis("\x81\x60\x81\x7C"sv), QStringLiteral("\uFF5E\uFF0D"));
}

TEST(ShiftJisTest, MalformedUtf8IsRefused) {
    const std::string_view malformed[] = {
        "\x80"sv,              // continuation without a start
        "a\xE3\x81"sv,         // cut short
        "\xE3\x41\x82"sv,      // continuation missing in the middle
        "\xC0\xAF"sv,          // overlong
        "\xE0\x80\xAF"sv,      // overlong
        "\xED\xA0\x80"sv,      // surrogate
        "\xF4\x90\x80\x80"sv,  // past U+10FFFF
        "\xF8\x88\x80\x80\x80"sv,
        "\xFF"sv,
    };
    for (std::string_view bytes : malformed) {
        SCOPED_TRACE(
            QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex().toStdString());
        EXPECT_EQ(ShiftJisFromUtf8(bytes), std::nullopt);
    }
    EXPECT_EQ(ShiftJisFromUtf8("\xC2\x80"sv), "\x80");  // shortest two-byte form
}

TEST(ShiftJisTest, EveryDefinedPairDecodesAndEncodesToAnEquivalentPair) {
    int defined = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const QString text = FromShiftJis(pair);
            ASSERT_FALSE(text.isEmpty());
            EXPECT_EQ(Utf8FromShiftJis(pair), Utf8(text));
            if (text.size() != 1 || text[0] == QChar(0xFFFD)) {
                continue;  // undefined: U+FFFD and the trail on its own
            }
            ++defined;
            SCOPED_TRACE(QByteArray::fromStdString(pair).toHex().toStdString());
            const std::optional<std::string> encoded = ToShiftJis(text);
            ASSERT_TRUE(encoded.has_value());
            ASSERT_EQ(encoded->size(), 2u);
            EXPECT_EQ(FromShiftJis(*encoded), text);
            EXPECT_EQ(ShiftJisFromUtf8(Utf8(text)), encoded);
            EXPECT_EQ(ShiftJisLength(text), 2u);
        }
    }
    EXPECT_EQ(defined, 9604);
}

// glibc's CP932 converter: the code page as Windows writes it.
class Cp932Iconv {
public:
    Cp932Iconv() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Cp932Iconv() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(cd_);
        }
    }
    Cp932Iconv(const Cp932Iconv&) = delete;
    Cp932Iconv& operator=(const Cp932Iconv&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Encode(std::string utf8) {
        char out[8];
        char* in = utf8.data();
        std::size_t inLeft = utf8.size();
        char* dst = out;
        std::size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out, static_cast<std::size_t>(dst - out));
    }

private:
    iconv_t cd_;
};

TEST(ShiftJisTest, EveryCharacterEncodesAsWindowsWritesIt) {
    Cp932Iconv reference;
    ASSERT_TRUE(reference.ok());
    // Mappings only one side has: glibc's one-way forms of the yen sign, overline and
    // em dash, and the single bytes 0x80, 0xA0 and 0xFD-0xFF, which the decoder gives as
    // U+0080 and U+F8F0-U+F8F3.
    const std::u16string glibcOnly = u"\u00A5\u203E\u2014";
    const std::u16string oursOnly = u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3";
    int compared = 0;
    for (char32_t code = 0x80; code <= 0xFFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;
        }
        const QString text = FromUcs4(code);
        const std::optional<std::string> ours = ToShiftJis(text);
        const std::optional<std::string> theirs = reference.Encode(Utf8(text));
        const auto unit = static_cast<char16_t>(code);
        if (glibcOnly.find(unit) != std::u16string::npos) {
            EXPECT_FALSE(ours.has_value());
        } else if (oursOnly.find(unit) != std::u16string::npos) {
            EXPECT_FALSE(theirs.has_value());
        } else {
            ASSERT_EQ(ours, theirs) << std::hex << static_cast<std::uint32_t>(code);
        }
        compared += ours.has_value() ? 1 : 0;
    }
    EXPECT_EQ(compared, 9281);
    // 髙, 﨑 and ⅲ are written in the IBM rows and read back from either row.
    EXPECT_EQ(ToShiftJis(QStringLiteral("髙﨑ⅲ")), "\xFB\xFC\xFA\xB1\xFA\x42");
    EXPECT_EQ(FromShiftJis("\xEE\xE0\xED\x95\xEE\xF1"sv), QStringLiteral("髙﨑ⅲ"));
}

TEST(ShiftJisTest, Utf8PathAgreesWithQStringPathOnArbitraryBytes) {
    // Biased towards high bytes so that leads, trails and cut pairs meet ASCII runs
    // of every length, including runs that straddle the eight- and sixteen-byte steps.
    std::mt19937 random(932);
    std::uniform_int_distribution<int> length(0, 72);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(static_cast<std::size_t>(length(random)), '\0');
        for (char& b : bytes) {
            const int value = byte(random);
            b = static_cast<char>(value < 96 ? 0x20 + value % 0x60 : value);
        }
        const std::string expected = Utf8(FromShiftJis(bytes));
        ASSERT_EQ(Utf8FromShiftJis(bytes), expected);

        // Appending after existing text, into every amount of spare room.
        std::string out = "prefix:";
        out.reserve(out.size() + static_cast<std::size_t>(round % 64));
        AppendUtf8FromShiftJis(bytes, out);
        ASSERT_EQ(out, "prefix:" + expected);
    }
}

TEST(ShiftJisTest, Utf8PathAgreesAroundAsciiRunsOfEveryLength) {
    // ASCII runs of 0 to 40 bytes before and after each awkward piece: a pair, a lead at
    // the very end, a lead with an invalid trail, half-width katakana, the odd single bytes.
    const std::string_view pieces[] = {"\x82\xA0"sv, "\x82"sv,     "\x82\x7F"sv,    "\x82\x20"sv,
                                       "\xB6\xC0"sv, "\x80\xA0"sv, "\xFD\xFE\xFF"sv};
    for (const std::string_view piece : pieces) {
        for (std::size_t before = 0; before <= 40; ++before) {
            for (const std::size_t after : {0, 1, 7, 8, 9, 15, 16, 17, 31, 32, 33}) {
                const std::string bytes =
                    std::string(before, 'a') + std::string(piece) + std::string(after, 'b');
                ASSERT_EQ(Utf8FromShiftJis(bytes), Utf8(FromShiftJis(bytes)))
                    << before << " " << after;
            }
        }
    }
}

TEST(ShiftJisTest, AppendReusesRoomTheStringAlreadyHas) {
    std::string out;
    out.reserve(256);
    out = "x";
    const char* storage = out.data();
    AppendUtf8FromShiftJis("\xB6\xC0\xB6\xC5\x82\xA0 abc"sv, out);
    EXPECT_EQ(out, "xｶﾀｶﾅあ abc");
    EXPECT_EQ(out.data(), storage);

    // Room for the result but not for the worst case: still no new storage.
    std::string tight;
    tight.reserve(40);
    storage = tight.data();
    AppendUtf8FromShiftJis(std::string(35, 'a'), tight);
    EXPECT_EQ(tight, std::string(35, 'a'));
    EXPECT_EQ(tight.data(), storage);
}

}  // namespace
