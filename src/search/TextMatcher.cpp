#include "search/TextMatcher.h"

#include "text/Cp932Chars.h"

std::size_t FindWholeChars(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) {
        return 0;
    }
    // As the search step does it: candidates from a plain byte search, the characters
    // walked only up to a candidate and only forward.
    std::size_t boundary = 0;
    for (std::size_t at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + 1)) {
        while (boundary < at) {
            boundary += Cp932CharLength(text, boundary);
        }
        if (boundary != at) {
            continue;
        }
        std::size_t end = at;
        const std::size_t wanted = at + pattern.size();
        while (end < wanted) {
            end += Cp932CharLength(text, end);
        }
        if (end == wanted) {
            return at;
        }
    }
    return std::string_view::npos;
}

TextMatcher::TextMatcher(std::string_view pattern, MatchOptions options) : options_(options) {
    if (options_.Folds()) {
        FoldText(pattern, options_, pattern_, nullptr);
    } else {
        pattern_.assign(pattern);
    }
    // A character held under two codes matches under either, as in the search step: both
    // sides then go to one code. Lengths and boundaries stay, so positions stay too.
    twins_ = HasTwinCodes(pattern_);
    if (twins_) {
        ToPreferredCodes(pattern_);
    }
}

std::optional<TextSpan> TextMatcher::Find(std::string_view text) {
    if (options_.Folds()) {
        return FindFolded(text);
    }
    if (twins_) {
        folded_.assign(text);
        ToPreferredCodes(folded_);
        text = folded_;
    }
    const std::size_t at = FindWholeChars(text, pattern_);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return TextSpan{at, pattern_.size()};
}

std::optional<TextSpan> TextMatcher::FindFolded(std::string_view text) {
    folded_.clear();
    origins_.clear();
    FoldText(text, options_, folded_, &origins_);
    if (twins_) {
        ToPreferredCodes(folded_);
    }
    const std::string_view folded(folded_);
    // The folded text records its own character starts, so no second walk is needed.
    for (std::size_t at = folded.find(pattern_); at != std::string_view::npos;
         at = folded.find(pattern_, at + 1)) {
        const std::uint32_t start = origins_[at];
        const std::uint32_t end = origins_[at + pattern_.size()];
        if (start != kNotCharStart && end != kNotCharStart) {
            return TextSpan{start, end - start};
        }
    }
    return std::nullopt;
}
