#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/TextFold.h"

// The raw byte strings of which a Shift-JIS text must hold at least one to hold
// `pattern` folded by `options` (each a run of whole characters that folds to the
// pattern's start, at least three bytes long where the pattern is), so that the bytes of
// a file rule out most texts before any is folded. Nothing when there would be more than
// `most` of them, or the pattern is empty.
std::optional<std::vector<std::string>> FoldNeedles(std::string_view pattern, MatchOptions options,
                                                    std::size_t most = 256);
