#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/TextFold.h"

// Where a hit lies in the text searched, in bytes.
struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

// Finds a search text in Shift-JIS display texts the way the search step does (a run of
// whole characters; an empty search text is in every text), optionally folding case and
// width first. The position is that of the text as given, for marking the hit.
class TextMatcher {
public:
    TextMatcher(std::string_view pattern, MatchOptions options);

    // The first hit in `text`.
    std::optional<TextSpan> Find(std::string_view text);

private:
    std::optional<TextSpan> FindFolded(std::string_view text);

    MatchOptions options_;
    std::string pattern_;  // folded when the options fold
    bool twins_ = false;   // the pattern holds a character the code page has twice
    std::string folded_;
    std::vector<std::uint32_t> origins_;
};

// The first position at which `pattern` stands in `text` as a run of whole Shift-JIS
// characters; npos when nowhere.
std::size_t FindWholeChars(std::string_view text, std::string_view pattern);
