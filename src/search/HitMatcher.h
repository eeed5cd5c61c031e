#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/RegexMatcher.h"
#include "search/TextMatcher.h"

// How the hit list and grep read the search text.
enum class TextMode {
    Whole,     // one text, spaces and all
    AllWords,  // words separated by spaces, each to be held ("-word": not to be held)
    Regex,     // a regular expression
};

// One word of a search for all words: a "quoted phrase" keeps its spaces.
struct SearchWord {
    std::string text;  // Shift-JIS
    bool excluded = false;
};

// The words of Shift-JIS `text`, split at ASCII and full-width spaces; quotes (ASCII or
// full-width) keep a phrase together, and a leading '-' excludes a word or phrase.
std::vector<SearchWord> SplitWords(std::string_view text);

// Finds the search text in display texts by its mode and switches.
class HitMatcher {
public:
    // `text` is Shift-JIS; a regular expression that does not compile matches nothing
    // (check it with CheckRegex first).
    HitMatcher(std::string_view text, TextMode mode, MatchOptions options);

    // The place of the hit: the text's, the earliest of the words', or the expression's.
    std::optional<TextSpan> Find(std::string_view text);

    // A text that every hit holds, for ruling events out from their bytes: the text, or
    // the longest word to be held; nothing for an expression or only excluded words.
    std::optional<std::string> ScanText() const;

private:
    TextMode mode_;
    std::vector<TextMatcher> held_;
    std::vector<std::string> heldTexts_;
    std::vector<TextMatcher> excluded_;
    std::unique_ptr<RegexMatcher> regex_;
};

// The error of a search text taken as a regular expression (Shift-JIS, read as UTF-8), if
// it does not compile.
std::optional<RegexError> CheckRegex(std::string_view shiftJis, bool ignoreCase);
