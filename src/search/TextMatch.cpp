#include "search/TextMatch.h"

#include "search/TextMatcher.h"
#include "text/Cp932Chars.h"

#include <string>

bool ContainsText(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) {
        return true;
    }
    if (!HasTwinCodes(pattern)) {
        return FindWholeChars(text, pattern) != std::string_view::npos;
    }
    // Both sides in one code per character; the copies cost only searches for such
    // characters.
    std::string preferredText(text);
    std::string preferredPattern(pattern);
    ToPreferredCodes(preferredText);
    ToPreferredCodes(preferredPattern);
    return FindWholeChars(preferredText, preferredPattern) != std::string_view::npos;
}
