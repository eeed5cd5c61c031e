#pragma once

// Character boundaries and twin codes of code page 932 text, without Qt: the search works
// on the bytes as the database holds them.

#include <cstddef>
#include <string>
#include <string_view>

// Length of the character at text[i] (i < text.size()): 2 for a lead byte followed by a
// trail byte when the pair is defined, else 1. The decoder reads text by the same rule, so
// what the list shows character by character is what the search walks over.
std::size_t Cp932CharLength(std::string_view text, std::size_t i);

// True when `text` holds a character that the code page holds under more than one code
// (such as the NEC-selected and IBM rows of the same kanji).
bool HasTwinCodes(std::string_view text);

// Rewrites every such character to the one code the encoder writes for it. Every code
// involved is two bytes long, so lengths and character boundaries stay as they were.
void ToPreferredCodes(std::string& text);
