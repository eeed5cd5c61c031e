#include "search/TextFold.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "text/Cp932Chars.h"

namespace {

struct WideForm {
    std::uint16_t code;  // Shift-JIS lead << 8 | trail
    std::uint8_t ascii;
};

// Every double-byte code of the code page that stands for a full-width ASCII form
// (U+FF01-U+FF5E) or the ideographic space, in code order. The quote and apostrophe are in
// the extension rows twice.
constexpr WideForm kWideForms[] = {
    {0x8140, 0x20}, {0x8143, 0x2C}, {0x8144, 0x2E}, {0x8146, 0x3A}, {0x8147, 0x3B}, {0x8148, 0x3F},
    {0x8149, 0x21}, {0x814D, 0x60}, {0x814F, 0x5E}, {0x8151, 0x5F}, {0x815E, 0x2F}, {0x815F, 0x5C},
    {0x8160, 0x7E}, {0x8162, 0x7C}, {0x8169, 0x28}, {0x816A, 0x29}, {0x816D, 0x5B}, {0x816E, 0x5D},
    {0x816F, 0x7B}, {0x8170, 0x7D}, {0x817B, 0x2B}, {0x817C, 0x2D}, {0x8181, 0x3D}, {0x8183, 0x3C},
    {0x8184, 0x3E}, {0x8190, 0x24}, {0x8193, 0x25}, {0x8194, 0x23}, {0x8195, 0x26}, {0x8196, 0x2A},
    {0x8197, 0x40}, {0x824F, 0x30}, {0x8250, 0x31}, {0x8251, 0x32}, {0x8252, 0x33}, {0x8253, 0x34},
    {0x8254, 0x35}, {0x8255, 0x36}, {0x8256, 0x37}, {0x8257, 0x38}, {0x8258, 0x39}, {0x8260, 0x41},
    {0x8261, 0x42}, {0x8262, 0x43}, {0x8263, 0x44}, {0x8264, 0x45}, {0x8265, 0x46}, {0x8266, 0x47},
    {0x8267, 0x48}, {0x8268, 0x49}, {0x8269, 0x4A}, {0x826A, 0x4B}, {0x826B, 0x4C}, {0x826C, 0x4D},
    {0x826D, 0x4E}, {0x826E, 0x4F}, {0x826F, 0x50}, {0x8270, 0x51}, {0x8271, 0x52}, {0x8272, 0x53},
    {0x8273, 0x54}, {0x8274, 0x55}, {0x8275, 0x56}, {0x8276, 0x57}, {0x8277, 0x58}, {0x8278, 0x59},
    {0x8279, 0x5A}, {0x8281, 0x61}, {0x8282, 0x62}, {0x8283, 0x63}, {0x8284, 0x64}, {0x8285, 0x65},
    {0x8286, 0x66}, {0x8287, 0x67}, {0x8288, 0x68}, {0x8289, 0x69}, {0x828A, 0x6A}, {0x828B, 0x6B},
    {0x828C, 0x6C}, {0x828D, 0x6D}, {0x828E, 0x6E}, {0x828F, 0x6F}, {0x8290, 0x70}, {0x8291, 0x71},
    {0x8292, 0x72}, {0x8293, 0x73}, {0x8294, 0x74}, {0x8295, 0x75}, {0x8296, 0x76}, {0x8297, 0x77},
    {0x8298, 0x78}, {0x8299, 0x79}, {0x829A, 0x7A}, {0xEEFB, 0x27}, {0xEEFC, 0x22}, {0xFA56, 0x27},
    {0xFA57, 0x22},
};

// The full-width form of each half-width byte 0xA1-0xDF (punctuation, katakana, and the
// two marks as ゛ and ゜).
constexpr std::uint16_t kHalfWidthForms[] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
    0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
    0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
    0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
};

constexpr unsigned char kFirstHalfWidth = 0xA1;
constexpr unsigned char kLastHalfWidth = 0xDF;

struct VoicedForm {
    unsigned char base;  // half-width katakana
    unsigned char mark;  // half-width voiced or semi-voiced mark
    std::uint16_t code;  // the full-width katakana with the mark
};

// Full-width katakana with a mark, by the half-width katakana and mark they are made of.
constexpr VoicedForm kVoicedForms[] = {
    {0xB3, 0xDE, 0x8394}, {0xB6, 0xDE, 0x834B}, {0xB7, 0xDE, 0x834D}, {0xB8, 0xDE, 0x834F},
    {0xB9, 0xDE, 0x8351}, {0xBA, 0xDE, 0x8353}, {0xBB, 0xDE, 0x8355}, {0xBC, 0xDE, 0x8357},
    {0xBD, 0xDE, 0x8359}, {0xBE, 0xDE, 0x835B}, {0xBF, 0xDE, 0x835D}, {0xC0, 0xDE, 0x835F},
    {0xC1, 0xDE, 0x8361}, {0xC2, 0xDE, 0x8364}, {0xC3, 0xDE, 0x8366}, {0xC4, 0xDE, 0x8368},
    {0xCA, 0xDE, 0x836F}, {0xCA, 0xDF, 0x8370}, {0xCB, 0xDE, 0x8372}, {0xCB, 0xDF, 0x8373},
    {0xCC, 0xDE, 0x8375}, {0xCC, 0xDF, 0x8376}, {0xCD, 0xDE, 0x8378}, {0xCD, 0xDF, 0x8379},
    {0xCE, 0xDE, 0x837B}, {0xCE, 0xDF, 0x837C},
};

// Katakana and hiragana in the code page: ァ-ミ, ム-ン (0x837F is unused), ぁ-ん.
constexpr std::uint16_t kFirstKatakana = 0x8340;
constexpr std::uint16_t kLastKatakana = 0x8396;
constexpr std::uint16_t kFirstHiragana = 0x829F;
constexpr std::uint16_t kLastHiragana = 0x82F1;
constexpr std::uint16_t kKatakanaGap = 0x837F;

// The katakana of a hiragana code (the two blocks are in the same order), the iteration
// marks included; 0 for any other code.
std::uint16_t KatakanaOf(std::uint16_t code) {
    if (code >= kFirstHiragana && code <= kLastHiragana) {
        const auto k = static_cast<std::uint16_t>(code - kFirstHiragana);
        const auto katakana = static_cast<std::uint16_t>(kFirstKatakana + k);
        return katakana < kKatakanaGap ? katakana : static_cast<std::uint16_t>(katakana + 1);
    }
    if (code == 0x8154 || code == 0x8155) {  // ゝ ゞ
        return static_cast<std::uint16_t>(code - 2);  // ヽ ヾ
    }
    return 0;
}

int AsciiOfWide(std::uint16_t code) {
    const auto* it =
        std::lower_bound(std::begin(kWideForms), std::end(kWideForms), code,
                         [](const WideForm& f, std::uint16_t c) { return f.code < c; });
    return (it != std::end(kWideForms) && it->code == code) ? it->ascii : -1;
}

// Base and mark of each full-width katakana with a mark, by code - kFirstKatakana (0 when
// it has none).
struct Decomposed {
    std::uint16_t base = 0;
    std::uint16_t mark = 0;
};

const std::array<Decomposed, kLastKatakana - kFirstKatakana + 1>& DecomposedForms() {
    static const auto table = [] {
        std::array<Decomposed, kLastKatakana - kFirstKatakana + 1> forms{};
        for (const VoicedForm& form : kVoicedForms) {
            forms[form.code - kFirstKatakana] = {kHalfWidthForms[form.base - kFirstHalfWidth],
                                                 kHalfWidthForms[form.mark - kFirstHalfWidth]};
        }
        return forms;
    }();
    return table;
}

class Folder {
public:
    Folder(MatchOptions options, std::string& out, std::vector<std::uint32_t>* origins)
        : options_(options), out_(out), origins_(origins) {}

    void Single(unsigned char c, std::size_t origin) {
        if (options_.ignoreCase && c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + ('a' - 'A'));
        }
        out_.push_back(static_cast<char>(c));
        if (origins_ != nullptr) {
            origins_->push_back(static_cast<std::uint32_t>(origin));
        }
    }

    void Double(std::uint16_t code, std::size_t origin) {
        out_.push_back(static_cast<char>(code >> 8));
        out_.push_back(static_cast<char>(code & 0xFF));
        if (origins_ != nullptr) {
            origins_->push_back(static_cast<std::uint32_t>(origin));
            origins_->push_back(kNotCharStart);
        }
    }

private:
    MatchOptions options_;
    std::string& out_;
    std::vector<std::uint32_t>* origins_;
};

unsigned char Byte(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

}  // namespace

void FoldText(std::string_view text, MatchOptions options, std::string& out,
              std::vector<std::uint32_t>* origins) {
    Folder folder(options, out, origins);
    const auto& decomposed = DecomposedForms();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Cp932CharLength(text, i);
        const unsigned char c = Byte(text, i);
        if (length == 2) {
            auto code = static_cast<std::uint16_t>(c << 8 | Byte(text, i + 1));
            // Only the leads 0x81-0x83 and the two rows that repeat ＇ and ＂ hold forms
            // that fold.
            const bool folds = c <= 0x83 || c == 0xEE || c == 0xFA;
            const int ascii = folds && options.ignoreWidth ? AsciiOfWide(code) : -1;
            if (ascii >= 0) {
                folder.Single(static_cast<unsigned char>(ascii), i);
                i += length;
                continue;
            }
            if (folds && options.ignoreKana) {
                if (const std::uint16_t katakana = KatakanaOf(code)) {
                    code = katakana;
                }
            }
            if (folds && options.ignoreWidth && code >= kFirstKatakana && code <= kLastKatakana &&
                decomposed[code - kFirstKatakana].base != 0) {
                const Decomposed& parts = decomposed[code - kFirstKatakana];
                folder.Double(parts.base, i);
                folder.Double(parts.mark, kNotCharStart);
            } else {
                folder.Double(code, i);
            }
        } else if (options.ignoreWidth && c >= kFirstHalfWidth && c <= kLastHalfWidth) {
            folder.Double(kHalfWidthForms[c - kFirstHalfWidth], i);
        } else {
            folder.Single(c, i);
        }
        i += length;
    }
    if (origins != nullptr) {
        origins->push_back(static_cast<std::uint32_t>(text.size()));
    }
}
