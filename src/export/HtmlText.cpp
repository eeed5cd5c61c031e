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

// Bytes that AppendHtmlEscaped writes as they are, by value.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x100; ++c) {
        plain[static_cast<std::size_t>(c)] =
            c != 0x7F && c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
    }
    plain['\t'] = true;
    plain['\n'] = true;
    return plain;
}();

bool IsPlain(char c) {
    return kPlain[static_cast<unsigned char>(c)];
}

bool MayNeedEscape(std::uint64_t word) {
    using plainrun::HasByte;
    return plainrun::HasBelow(word, 0x20) || HasByte(word, 0x7F) || HasByte(word, '&') ||
           HasByte(word, '<') || HasByte(word, '>') || HasByte(word, '"') || HasByte(word, '\'');
}

}  // namespace

void AppendHtmlEscaped(std::string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t run = i;
        i = static_cast<std::size_t>(
            plainrun::Skip(text.data() + i, text.data() + text.size(), MayNeedEscape, IsPlain) -
            text.data());
        out.append(text.substr(run, i - run));
        if (i == text.size()) {
            return;
        }
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                continue;  // the LF that follows stands for both
            }
            out += '\n';
        } else if ((u < 0x20 && c != '\t' && c != '\n') || u == 0x7F) {
            out.append("\xEF\xBF\xBD");
        } else {
            AppendEscapedChar(c, out);
        }
    }
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
