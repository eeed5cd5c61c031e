#include "search/TextMatch.h"

#include "text/Cp932Chars.h"

#include <string>

namespace {

bool ContainsOnBoundaries(std::string_view text, std::string_view pattern) {
    // Candidates come from a plain byte search; only a candidate pays for the walk over
    // the characters before it. The walk only moves forward, so a text is walked once.
    std::size_t boundary = 0;
    for (std::size_t at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + 1)) {
        while (boundary < at) {
            boundary += Cp932CharLength(text, boundary);
        }
        if (boundary != at) {
            continue;  // starts on a trail byte
        }
        std::size_t end = at;
        const std::size_t wanted = at + pattern.size();
        while (end < wanted) {
            end += Cp932CharLength(text, end);
        }
        if (end == wanted) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ContainsText(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) {
        return true;
    }
    if (!HasTwinCodes(pattern)) {
        return ContainsOnBoundaries(text, pattern);
    }
    // Both sides in one code per character; the copies cost only searches for such
    // characters.
    std::string preferredText(text);
    std::string preferredPattern(pattern);
    ToPreferredCodes(preferredText);
    ToPreferredCodes(preferredPattern);
    return ContainsOnBoundaries(preferredText, preferredPattern);
}
