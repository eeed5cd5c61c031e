#pragma once

#include <string>
#include <string_view>

// The words of a Japanese text for a full-text index that splits on spaces: each run of
// characters outside ASCII (punctuation and spaces end a run) as its overlapping pairs,
// "映画館で" as "映画 画館 館で", and a run of one character as that character. A word of
// two characters is then one token, and a longer one the phrase of its pairs. ASCII text is
// left out: the index's other column holds it as words.
void AppendCharacterPairs(std::string_view utf8, std::string& out);
