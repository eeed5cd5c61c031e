#include "export/CharacterPairs.h"

#include <cstdint>

namespace {

// The code point at `p` and its length in bytes; a byte that starts no valid sequence is
// one character that pairs with nothing.
char32_t Decode(const unsigned char* p, const unsigned char* end, std::size_t& length) {
    const unsigned lead = *p;
    std::size_t size = 1;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        c = lead & 0x07u;
    } else {
        length = 1;
        return lead < 0x80 ? lead : 0;
    }
    if (static_cast<std::size_t>(end - p) < size) {
        length = 1;
        return 0;
    }
    for (std::size_t i = 1; i < size; ++i) {
        if ((p[i] & 0xC0u) != 0x80u) {
            length = 1;
            return 0;
        }
        c = (c << 6) | (p[i] & 0x3Fu);
    }
    length = size;
    return c;
}

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
    const auto* const begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = begin + utf8.size();
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
    for (const unsigned char* p = begin; p < end;) {
        std::size_t length = 0;
        const char32_t c = Decode(p, end, length);
        const auto at = static_cast<std::size_t>(p - begin);
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
        p += length;
    }
    endRun();
}
