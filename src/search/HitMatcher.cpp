#include "search/HitMatcher.h"

#include <algorithm>

#include "text/Cp932Chars.h"
#include "text/Utf8ShiftJis.h"

namespace {

constexpr std::string_view kWideSpace = "\x81\x40";   // 　
constexpr std::string_view kOpenQuote = "\x81\x67";   // “
constexpr std::string_view kCloseQuote = "\x81\x68";  // ”

bool IsSpace(std::string_view ch) {
    return ch == " " || ch == kWideSpace;
}

bool IsQuote(std::string_view ch) {
    return ch == "\"" || ch == kOpenQuote || ch == kCloseQuote;
}

}  // namespace

std::vector<SearchWord> SplitWords(std::string_view text) {
    std::vector<SearchWord> words;
    SearchWord word;
    bool quoted = false;
    bool started = false;  // a word has begun (its '-' is no longer a text character)
    auto finish = [&] {
        if (!word.text.empty()) {
            words.push_back(word);
        }
        word = SearchWord();
        started = false;
    };
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Cp932CharLength(text, i);
        const std::string_view ch = text.substr(i, length);
        i += length;
        if (IsQuote(ch)) {
            quoted = !quoted;
            started = true;
            continue;
        }
        if (!quoted && IsSpace(ch)) {
            finish();
            continue;
        }
        if (!started && ch == "-") {
            word.excluded = true;
            started = true;
            continue;
        }
        started = true;
        word.text += ch;
    }
    quoted = false;
    finish();
    return words;
}

HitMatcher::HitMatcher(std::string_view text, TextMode mode, MatchOptions options) : mode_(mode) {
    switch (mode) {
        case TextMode::Whole:
            held_.emplace_back(text, options);
            heldTexts_.emplace_back(text);
            break;
        case TextMode::AllWords:
            for (const SearchWord& word : SplitWords(text)) {
                if (word.excluded) {
                    excluded_.emplace_back(word.text, options);
                } else {
                    held_.emplace_back(word.text, options);
                    heldTexts_.push_back(word.text);
                }
            }
            break;
        case TextMode::Regex: {
            RegexError error;
            regex_ = RegexMatcher::Compile(Utf8FromShiftJis(text), options.ignoreCase, error);
            break;
        }
    }
}

std::optional<TextSpan> HitMatcher::Find(std::string_view text) {
    if (mode_ == TextMode::Regex) {
        return regex_ ? regex_->Find(text) : std::nullopt;
    }
    std::optional<TextSpan> first;
    for (TextMatcher& matcher : held_) {
        const std::optional<TextSpan> span = matcher.Find(text);
        if (!span) {
            return std::nullopt;
        }
        if (!first || span->start < first->start) {
            first = span;
        }
    }
    for (TextMatcher& matcher : excluded_) {
        if (matcher.Find(text)) {
            return std::nullopt;
        }
    }
    return first ? first : TextSpan{0, 0};
}

std::optional<std::string> HitMatcher::ScanText() const {
    if (mode_ == TextMode::Regex || heldTexts_.empty()) {
        return std::nullopt;
    }
    return *std::max_element(heldTexts_.begin(), heldTexts_.end(),
                             [](const std::string& a, const std::string& b) {
                                 return a.size() < b.size();
                             });
}

std::optional<RegexError> CheckRegex(std::string_view shiftJis, bool ignoreCase) {
    RegexError error;
    if (RegexMatcher::Compile(Utf8FromShiftJis(shiftJis), ignoreCase, error)) {
        return std::nullopt;
    }
    return error;
}
