#include "makedb/PhraseEncoder.h"

#include "text/ShiftJis.h"

std::string PhraseEncoder::Encode(std::string_view utf8) {
    if (auto encoded = ShiftJisFromUtf8(utf8)) {
        return std::move(*encoded);
    }
    if (failure_.empty()) {
        failure_ = "text has no Shift-JIS form: " + std::string(utf8);
    }
    return "?";
}
