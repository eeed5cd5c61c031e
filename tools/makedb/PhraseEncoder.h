#pragma once

#include <string>
#include <string_view>

// Turns the UTF-8 texts of the generators into the Shift-JIS bytes of the files. A text
// without a Shift-JIS form becomes "?" and is remembered, so the run can fail afterwards.
class PhraseEncoder {
public:
    std::string Encode(std::string_view utf8);
    bool Ok() const { return failure_.empty(); }
    // The first text that could not be encoded, with a note.
    const std::string& Failure() const { return failure_; }

private:
    std::string failure_;
};
