#include <gtest/gtest.h>

#include <string>

#include "export/PlainRun.h"

// The first byte to escape is found wherever it lies against the sixteen-byte steps and
// the last, overlapping step, after runs of high bytes and of bytes just above the limit.
TEST(PlainRun, FindsTheFirstSpecialByteAtEveryPosition) {
    for (const char filler : {'a', '\x20', '\x80', '\xFF', '#', '!'}) {
        for (const char special : {'\0', '\x1F', '\n', '"'}) {
            for (std::size_t length = 0; length <= 40; ++length) {
                for (std::size_t at = 0; at <= length; ++at) {
                    std::string text(length, filler);
                    if (at < length) {
                        text[at] = special;
                        text += special;
                    }
                    // A view that starts one byte in, as in a buffer that holds more.
                    const std::string framed = '"' + text;
                    const char* begin = framed.data() + 1;
                    const char* found =
                        plainrun::Find<true, '"'>(begin, framed.data() + framed.size());
                    ASSERT_EQ(static_cast<std::size_t>(found - begin), at < length ? at : length)
                        << "filler " << int(filler) << " special " << int(special) << " at " << at;
                }
            }
        }
    }
    // Without the controls only the named bytes count.
    const std::string text = std::string(20, '\t') + "x,";
    const char* comma = plainrun::Find<false, ','>(text.data(), text.data() + text.size());
    EXPECT_EQ(comma, text.data() + 21);
}
