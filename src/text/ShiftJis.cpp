#include "text/ShiftJis.h"

#include <cstddef>
#include <cstdint>

#include "text/Cp932Codec.h"

namespace {

using cp932::DecodeAt;
using cp932::Decoded;
using cp932::EncodeUnit;
using cp932::PutEncoded;

// One character of `text` at `i` as a code point, advancing `i`. An unpaired surrogate
// comes back as itself; no table entry exists for it.
char32_t NextCodePoint(const QString& text, qsizetype& i) {
    const char16_t unit = text[i].unicode();
    ++i;
    if (QChar::isHighSurrogate(unit) && i < text.size() && text[i].isLowSurrogate()) {
        return QChar::surrogateToUcs4(unit, text[i++].unicode());
    }
    return unit;
}

// Shift-JIS of `text` onto `out`; a character without a form is handed to noForm(out),
// and the encoding stops (false) when that returns false.
template <typename NoForm>
bool EncodeEach(const QString& text, std::string& out, NoForm noForm) {
    out.reserve(out.size() + static_cast<std::size_t>(text.size()) * 2);
    for (qsizetype i = 0; i < text.size();) {
        const char32_t code = NextCodePoint(text, i);
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (const std::uint16_t encoded = EncodeUnit(code); encoded != 0) {
            PutEncoded(encoded, out);
        } else if (!noForm(out)) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString FromShiftJis(std::string_view bytes) {
    // Every byte gives at most one UTF-16 unit.
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = text.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p != end) {
        if (*p < 0x80) {
            *dst++ = QChar(static_cast<char16_t>(*p++));
            continue;
        }
        const Decoded decoded = DecodeAt(p, static_cast<std::size_t>(end - p));
        *dst++ = QChar(decoded.unit);
        p += decoded.length;
    }
    text.truncate(dst - text.data());
    return text;
}

std::optional<std::string> ToShiftJis(const QString& text) {
    std::string out;
    if (!EncodeEach(text, out, [](std::string&) { return false; })) {
        return std::nullopt;
    }
    return out;
}

std::string ToShiftJisWith(const QString& text, char standIn) {
    std::string out;
    EncodeEach(text, out, [standIn](std::string& to) {
        to.push_back(standIn);
        return true;
    });
    return out;
}

bool CanEncodeShiftJis(const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const char32_t code = NextCodePoint(text, i);
        if (code >= 0x80 && EncodeUnit(code) == 0) {
            return false;
        }
    }
    return true;
}

std::size_t ShiftJisLength(const QString& text) {
    std::size_t length = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t code = NextCodePoint(text, i);
        length += code >= 0x80 && EncodeUnit(code) > 0xFF ? 2u : 1u;
    }
    return length;
}
