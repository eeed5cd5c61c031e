#pragma once

#include <cstddef>
#include <string_view>

// True when `text` holds `pattern` as a run of bytes that starts and ends on character
// boundaries of the Shift-JIS text, so that the trail byte of one double-byte character
// and the lead byte of the next never make up a match. Bytes are compared as they are:
// case matters, and full-width and half-width forms differ. An empty pattern is in every
// text.
bool ContainsText(std::string_view text, std::string_view pattern);

// Length of the Shift-JIS character at text[i] (i < text.size()): 2 for a lead byte
// followed by a trail byte, else 1.
std::size_t ShiftJisCharLength(std::string_view text, std::size_t i);
