#include "export/CharacterPairs.h"

#include <cstdint>

#include "text/Utf8ShiftJis.h"

namespace {

// Whether a character belongs to a word: not ASCII, not a space or punctuation mark of the
// Japanese and general punctuation blocks (々 〆 〇 are letters), not a full-width ASCII sign.
bool InWord(char32_t c) {
    if (c < 0x80 || c == 0xA0 || (c >= 0x2000 && c <= 0x206F)) {
        return false;
    }
    if (c >= 0x3000 && c <= 0x303F) {
        return c >= 0x3005 && c <= 0x3007;
    }
    if (c >= 0xFF01 && c <= 0xFF65) {
        const bool signs = c <= 0xFF0F || (c >= 0xFF1A && c <= 0xFF20) ||
                           (c >= 0xFF3B && c <= 0xFF40) || c >= 0xFF5B;
        return !signs;
    }
    return c != 0;
}

}  // namespace

void AppendCharacterPairs(std::string_view utf8, std::string& out) {
    const std::size_t start = out.size();
    const auto separate = [&] {
        if (out.size() > start) {
            out += ' ';
        }
    };
    std::size_t previous = 0;  // where the run's last character starts, with `inRun`
    std::size_t previousLength = 0;
    bool inRun = false;
    bool paired = false;
    const auto endRun = [&] {
        if (inRun && !paired) {
            separate();
            out.append(utf8.substr(previous, previousLength));
        }
        inRun = false;
        paired = false;
    };
    for (std::size_t at = 0; at < utf8.size();) {
        // A byte that starts no well-formed character is one that pairs with nothing.
        std::size_t next = at;
        const char32_t c = NextUtf8(utf8, next).value_or(0);
        const std::size_t length = next > at ? next - at : 1;
        if (!InWord(c)) {
            endRun();
        } else {
            if (inRun) {
                separate();
                out.append(utf8.substr(previous, previousLength + length));
                paired = true;
            }
            inRun = true;
            previous = at;
            previousLength = length;
        }
        at += length;
    }
    endRun();
}
