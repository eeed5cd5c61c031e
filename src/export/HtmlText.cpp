#include "export/HtmlText.h"

#include <array>
#include <cstdint>

#include "export/PlainRun.h"

namespace {

constexpr std::array<std::string_view, 4> kSchemes = {"http://", "https://", "ftp://", "mailto:"};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[at + i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Characters an address may hold: printable ASCII without blanks, quotes and angle
// brackets. Anything else (a Japanese letter included) ends it.
bool IsAddressChar(char c) {
    return c > ' ' && c < 0x7F && c != '"' && c != '\'' && c != '<' && c != '>' && c != '`';
}

// Punctuation that usually closes the sentence around an address rather than the address.
bool IsTrailingPunctuation(char c) {
    return c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' || c == ')';
}

void AppendEscapedChar(char c, std::string& out) {
    switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '"':
            out.append("&quot;");
            break;
        case '\'':
            out.append("&#39;");
            break;
        default:
            out += c;
    }
}

// The first byte of [p, end) that AppendHtmlEscaped may not write as it is: a control
// character (TAB and LF among them, which stay), DEL, one that has a reference, or 0xC2,
// the lead byte of the C1 controls (rare in Japanese text, so looked at one by one).
const char* FindSpecial(const char* p, const char* end) {
    return plainrun::Find<true, '\x7F', '&', '<', '>', '"', '\'', '\xC2'>(p, end);
}

// Whether [p, end) starts with the second byte of a C1 control (U+0080 to U+009F), whose
// lead byte 0xC2 came before p.
bool ContinuesC1(const char* p, const char* end) {
    return p != end && static_cast<unsigned char>(*p) >= 0x80 &&
           static_cast<unsigned char>(*p) <= 0x9F;
}

}  // namespace

void AppendHtmlEscaped(std::string_view text, std::string& out) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (true) {
        const char* const run = p;
        p = FindSpecial(p, end);
        out.append(run, p);
        if (p == end) {
            return;
        }
        const char c = *p++;
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t' || c == '\n') {
            out += c;
        } else if (c == '\r') {
            if (p != end && *p == '\n') {
                continue;  // the LF that follows stands for both
            }
            out += '\n';
        } else if (u < 0x20 || u == 0x7F) {
            out.append("\xEF\xBF\xBD");
        } else if (u == 0xC2) {
            // No character reference would do: HTML maps &#128; to &#159; onto other
            // characters.
            if (ContinuesC1(p, end)) {
                out.append("\xEF\xBF\xBD");
                ++p;
            } else {
                out += c;
            }
        } else {
            AppendEscapedChar(c, out);
        }
    }
}

bool IsPlainHtml(std::string_view text) {
    const char* const end = text.data() + text.size();
    return plainrun::Find<true, '\x7F', '&', '<', '>', '"', '\'', '\xC2', ':'>(text.data(), end) ==
           end;
}

bool FindWebAddress(std::string_view text, std::size_t from, std::size_t& begin, std::size_t& end) {
    // Every scheme ends in a colon and no scheme name holds one, so the schemes found from
    // the colons on come in text order: at most one of them ends at each colon.
    for (std::size_t colon = text.find(':', from); colon != std::string_view::npos;
         colon = text.find(':', colon + 1)) {
        for (const std::string_view scheme : kSchemes) {
            const std::size_t name = scheme.find(':');
            if (colon - from < name) {
                continue;
            }
            const std::size_t at = colon - name;
            if (!StartsWithNoCase(text, at, scheme) || (at > 0 && IsAlnum(text[at - 1]))) {
                continue;  // "xhttp://" is no address
            }
            std::size_t stop = at + scheme.size();
            while (stop < text.size() && IsAddressChar(text[stop])) {
                ++stop;
            }
            while (stop > at + scheme.size() && IsTrailingPunctuation(text[stop - 1])) {
                --stop;
            }
            if (stop > at + scheme.size()) {
                begin = at;
                end = stop;
                return true;
            }
        }
    }
    return false;
}

void AppendHtmlWithLinks(std::string_view text, std::string& out) {
    std::size_t done = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    while (FindWebAddress(text, done, begin, end)) {
        AppendHtmlEscaped(text.substr(done, begin - done), out);
        const std::string_view address = text.substr(begin, end - begin);
        std::string_view target = address;
        if (StartsWithNoCase(address, 0, "mailto:")) {
            target = target.substr(0, target.find('?'));
        }
        if (target.size() == std::string_view("mailto:").size()) {
            AppendHtmlEscaped(address, out);  // no address left to write to
            done = end;
            continue;
        }
        out.append("<a href=\"");
        AppendHtmlEscaped(target, out);
        out.append("\" rel=\"noopener noreferrer\">");
        AppendHtmlEscaped(address, out);
        out.append("</a>");
        done = end;
    }
    AppendHtmlEscaped(text.substr(done), out);
}
