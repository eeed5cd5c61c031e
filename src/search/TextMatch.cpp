#include "search/TextMatch.h"

#include <cstdint>

namespace {

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

}  // namespace

std::size_t ShiftJisCharLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(lead) && i + 1 < text.size() &&
        IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
        return 2;
    }
    return 1;
}

bool ContainsText(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) {
        return true;
    }
    // Candidates come from a plain byte search; only a candidate pays for the walk over
    // the characters before it. The walk only moves forward, so a text is walked once.
    std::size_t boundary = 0;
    for (std::size_t at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + 1)) {
        while (boundary < at) {
            boundary += ShiftJisCharLength(text, boundary);
        }
        if (boundary != at) {
            continue;  // starts on a trail byte
        }
        std::size_t end = at;
        const std::size_t wanted = at + pattern.size();
        while (end < wanted) {
            end += ShiftJisCharLength(text, end);
        }
        if (end == wanted) {
            return true;
        }
    }
    return false;
}
