#pragma once

#include <string_view>

// True when `text` holds `pattern` as a run of bytes that starts and ends on character
// boundaries of the Shift-JIS text, so that the trail byte of one double-byte character
// and the lead byte of the next never make up a match. Boundaries follow the decoder: a
// lead byte whose pair is undefined stands on its own. A character the code page holds
// under two codes matches under either. Otherwise bytes are compared as they are: case
// matters, and full-width and half-width forms differ. An empty pattern is in every text.
bool ContainsText(std::string_view text, std::string_view pattern);
