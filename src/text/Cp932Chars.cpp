#include "text/Cp932Chars.h"

#include "text/Cp932Table.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::size_t kPairCount = cp932::kLeadCount * cp932::kTrailCount;

// Table slot of the defined pair at text[i], or kPairCount when there is none.
std::size_t PairSlot(std::string_view text, std::size_t i) {
    const std::uint8_t row = cp932::kLeadRow[static_cast<unsigned char>(text[i])];
    if (row == cp932::kNone || i + 1 >= text.size()) {
        return kPairCount;
    }
    const std::uint8_t column = cp932::kTrailColumn[static_cast<unsigned char>(text[i + 1])];
    if (column == cp932::kNone) {
        return kPairCount;
    }
    const std::size_t slot = row * cp932::kTrailCount + column;
    return cp932::kDoubleByte[slot] != 0 ? slot : kPairCount;
}

std::uint16_t EncodedForm(char16_t unit) {
    const std::size_t page = cp932::kEncodePage[unit >> 8];
    return cp932::kEncode[page * 256 + (unit & 0xFF)];
}

// For every pair whose character has a twin: the preferred code (lead << 8 | trail);
// 0 for every other pair.
struct TwinTable {
    std::array<std::uint16_t, kPairCount> preferred{};
};

TwinTable BuildTwinTable() {
    std::array<std::uint8_t, 0x10000> codes{};
    for (const char16_t unit : cp932::kDoubleByte) {
        if (unit != 0 && codes[unit] < 2) {
            ++codes[unit];
        }
    }
    TwinTable table;
    for (std::size_t slot = 0; slot < kPairCount; ++slot) {
        const char16_t unit = cp932::kDoubleByte[slot];
        if (unit != 0 && codes[unit] > 1) {
            table.preferred[slot] = EncodedForm(unit);
        }
    }
    return table;
}

const TwinTable& Twins() {
    static const TwinTable table = BuildTwinTable();
    return table;
}

}  // namespace

std::size_t Cp932CharLength(std::string_view text, std::size_t i) {
    return PairSlot(text, i) != kPairCount ? 2 : 1;
}

bool HasTwinCodes(std::string_view text) {
    const TwinTable& twins = Twins();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t slot = PairSlot(text, i);
        if (slot == kPairCount) {
            ++i;
            continue;
        }
        if (twins.preferred[slot] != 0) {
            return true;
        }
        i += 2;
    }
    return false;
}

void ToPreferredCodes(std::string& text) {
    const TwinTable& twins = Twins();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t slot = PairSlot(text, i);
        if (slot == kPairCount) {
            ++i;
            continue;
        }
        const std::uint16_t preferred = twins.preferred[slot];
        if (preferred > 0xFF) {
            text[i] = static_cast<char>(preferred >> 8);
            text[i + 1] = static_cast<char>(preferred & 0xFF);
        }
        i += 2;
    }
}
