#include "cli/ListFormat.h"

#include <array>

#include "cli/ListLineWriter.h"
#include "database/MessageDatabase.h"
#include "export/PlainRun.h"
#include "text/ShiftJis.h"

namespace {

constexpr char kHex[] = "0123456789abcdef";

bool IsC0OrDel(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// U+0080-U+009F, the C1 controls, are C2 80 - C2 9F in UTF-8.
bool IsC1At(const std::string& utf8, std::size_t i) {
    return static_cast<unsigned char>(utf8[i]) == 0xC2 && i + 1 < utf8.size() &&
           static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
}

// Bytes that may need an escape: the C0 controls, backslash, DEL, and C2, which leads
// the C1 controls.
constexpr std::array<bool, 256> kMayEscape = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 0x20; ++c) {
        table[static_cast<std::size_t>(c)] = true;
    }
    table['\\'] = table[0x7F] = table[0xC2] = true;
    return table;
}();

// The first position at or after `from` of a byte that kMayEscape names, or `size`.
std::size_t SkipPlainBytes(const std::string& utf8, std::size_t from) {
    const char* const end = utf8.data() + utf8.size();
    return static_cast<std::size_t>(
        plainrun::Find<true, '\\', '\x7F', '\xC2'>(utf8.data() + from, end) - utf8.data());
}

bool NeedsEscape(const std::string& utf8, std::size_t from) {
    for (std::size_t i = SkipPlainBytes(utf8, from); i < utf8.size();
         i = SkipPlainBytes(utf8, i + 1)) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (kMayEscape[c] && (c != 0xC2 || IsC1At(utf8, i))) {
            return true;
        }
    }
    return false;
}

void AppendHexEscape(const char* prefix, unsigned value, std::string& out) {
    out += prefix;
    out += kHex[(value >> 4) & 0xF];
    out += kHex[value & 0xF];
}

}  // namespace

void AppendEscapedCell(std::string_view bytes, std::string& line) {
    const std::size_t start = line.size();
    AppendUtf8FromShiftJis(bytes, line);
    // Escaping after decoding: no byte below 0x80 occurs inside a UTF-8 sequence.
    if (!NeedsEscape(line, start)) {
        return;
    }
    std::string escaped;
    escaped.reserve(line.size() - start + 8);
    for (std::size_t i = start; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (IsC0OrDel(c)) {
            AppendHexEscape("\\x", c, escaped);
        } else if (IsC1At(line, i)) {
            AppendHexEscape("\\u00", static_cast<unsigned char>(line[++i]), escaped);
        } else {
            escaped += line[i];
        }
    }
    line.resize(start);
    line += escaped;
}

void AppendListRow(MessageDatabase& db, std::int32_t key, std::int32_t row, EventRecord& record,
                   ListLineWriter& writer, std::string& line) {
    const bool ok = db.ReadEvent(key, RowToIndex(db.EventCount(key), row), record);
    writer.Append(db, record, ok, line);
}
