#include <gtest/gtest.h>

#include <string>

#include "export/PlainRun.h"

namespace {

bool Plain(char c) {
    return static_cast<unsigned char>(c) >= 0x20 && c != '"';
}

bool MayHold(std::uint64_t word) {
    return plainrun::HasBelow(word, 0x20) || plainrun::HasByte(word, '"');
}

}  // namespace

// The first byte to escape is found wherever it lies against the eight-byte steps, after
// runs of high bytes and of bytes just above the limit.
TEST(PlainRun, FindsTheFirstSpecialByteAtEveryPosition) {
    for (const char filler : {'a', '\x20', '\x80', '\xFF', '#', '!'}) {
        for (const char special : {'\0', '\x1F', '\n', '"'}) {
            for (std::size_t length = 0; length <= 25; ++length) {
                for (std::size_t at = 0; at <= length; ++at) {
                    std::string text(length, filler);
                    if (at < length) {
                        text[at] = special;
                        text += special;
                    }
                    const char* end = text.data() + text.size();
                    const char* found = plainrun::Skip(text.data(), end, MayHold, Plain);
                    ASSERT_EQ(static_cast<std::size_t>(found - text.data()),
                              at < length ? at : length)
                        << "filler " << int(filler) << " special " << int(special) << " at " << at;
                }
            }
        }
    }
}
