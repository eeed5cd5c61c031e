#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "search/ByteFinder.h"

namespace {

// Against the plain search, over texts of few distinct bytes (so that near misses are
// common), patterns of 1 to 40 bytes and ranges that end anywhere, the 16- and 32-byte
// steps and the tail after them included.
TEST(ByteFinder, FindsWhatAPlainSearchFinds) {
    std::mt19937 engine(5);
    const std::string alphabet("ab\0\xFE", 4);
    auto randomText = [&](std::size_t size) {
        std::string text;
        for (std::size_t i = 0; i < size; ++i) {
            text += alphabet[engine() % alphabet.size()];
        }
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = randomText(engine() % 300);
        const std::string pattern = randomText(1 + engine() % 40);
        const std::size_t from = text.empty() ? 0 : engine() % (text.size() + 1);
        const std::size_t to =
            from + (text.size() > from ? engine() % (text.size() - from + 1) : 0);
        const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
        const std::size_t expected = std::string_view(text).substr(0, to).find(pattern, from);
        const std::uint8_t* found = ByteFinder(pattern).Find(data + from, data + to);
        ASSERT_EQ(
            found == nullptr ? std::string_view::npos : static_cast<std::size_t>(found - data),
            expected)
            << "round " << round;
    }
}

}  // namespace
