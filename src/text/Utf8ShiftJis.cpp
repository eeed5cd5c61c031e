#include "text/Utf8ShiftJis.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "text/Cp932Codec.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using cp932::DecodeAt;
using cp932::Decoded;
using cp932::EncodeUnit;
using cp932::PutEncoded;

// Longest UTF-8 form of anything the decoder produces (all of it is in the BMP).
constexpr std::size_t kMaxUtf8PerByte = 3;
// Room the converter's main loop wants: it stores a packed form as four bytes at once.
constexpr std::size_t kStoreWidth = 4;

inline std::size_t Utf8Length(char16_t unit) {
    return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
}

// Writes the UTF-8 form of a BMP unit that is not a surrogate; returns the byte count.
inline std::size_t PutUtf8(char16_t unit, char* dst) {
    if (unit < 0x80) {
        dst[0] = static_cast<char>(unit);
        return 1;
    }
    if (unit < 0x800) {
        dst[0] = static_cast<char>(0xC0 | (unit >> 6));
        dst[1] = static_cast<char>(0x80 | (unit & 0x3F));
        return 2;
    }
    dst[0] = static_cast<char>(0xE0 | (unit >> 12));
    dst[1] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    dst[2] = static_cast<char>(0x80 | (unit & 0x3F));
    return 3;
}

// UTF-8 forms of every single byte and of every defined pair: up to three bytes of UTF-8
// packed little-endian, with the length in the top byte. Built once from the UTF-16
// tables; a pair is found with one look-up.
static_assert(std::endian::native == std::endian::little,
              "packed UTF-8 forms are stored LSB first");

struct Utf8Forms {
    std::uint32_t single[256];
    // By lead << 8 | trail; 0 where the two bytes are not a defined pair.
    std::uint32_t pair[256 * 256];
};

std::uint32_t PackUtf8(char16_t unit) {
    char bytes[kMaxUtf8PerByte] = {};
    const std::size_t length = PutUtf8(unit, bytes);
    std::uint32_t packed = static_cast<std::uint32_t>(length) << 24;
    for (std::size_t i = 0; i < length; ++i) {
        packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return packed;
}

std::unique_ptr<const Utf8Forms> BuildUtf8Forms() {
    auto forms = std::make_unique<Utf8Forms>();
    for (std::size_t first = 0; first < 256; ++first) {
        forms->single[first] = PackUtf8(cp932::kSingleByte[first]);
        for (std::size_t second = 0; second < 256; ++second) {
            const unsigned char bytes[2] = {static_cast<unsigned char>(first),
                                            static_cast<unsigned char>(second)};
            const Decoded decoded = bytes[0] < 0x80 ? Decoded{bytes[0], 1} : DecodeAt(bytes, 2);
            forms->pair[first << 8 | second] = decoded.length == 2 ? PackUtf8(decoded.unit) : 0;
        }
    }
    return forms;
}

const Utf8Forms& Forms() {
    static const std::unique_ptr<const Utf8Forms> forms = BuildUtf8Forms();
    return *forms;
}

}  // namespace

std::optional<char32_t> NextUtf8(std::string_view utf8, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char first = byte(pos);
    std::size_t length;
    char32_t code;
    char32_t minimum;
    if (first < 0x80) {
        ++pos;
        return first;
    } else if (first >= 0xC2 && first <= 0xDF) {
        length = 2, code = first & 0x1Fu, minimum = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3, code = first & 0x0Fu, minimum = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4, code = first & 0x07u, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (utf8.size() - pos < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return code;
}

std::string Utf8FromShiftJis(std::string_view bytes) {
    std::string out;
    // Typical text (ASCII and double-byte characters) grows by at most half; half-width
    // katakana grows threefold and is handled by the append growing once.
    out.reserve(bytes.size() + bytes.size() / 2);
    AppendUtf8FromShiftJis(bytes, out);
    return out;
}

std::optional<std::string> ShiftJisFromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());  // never longer than the UTF-8 form
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> code = NextUtf8(utf8, pos);
        if (!code) {
            return std::nullopt;
        }
        if (*code < 0x80) {
            out.push_back(static_cast<char>(*code));
            continue;
        }
        const std::uint16_t encoded = EncodeUnit(*code);
        if (encoded == 0) {
            return std::nullopt;
        }
        PutEncoded(encoded, out);
    }
    return out;
}

void AppendUtf8FromShiftJis(std::string_view bytes, std::string& out) {
    const Utf8Forms& forms = Forms();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    // Work in the room `out` already has (resizing within the capacity does not
    // allocate); grow once, to the worst case of what is left, only if that runs out.
    std::size_t used = out.size();
    out.resize(std::min(out.capacity(), used + kMaxUtf8PerByte * bytes.size() + 1));
    char* dst = out.data() + used;
    char* limit = out.data() + out.size();
    while (p != end) {
        const auto left = static_cast<std::size_t>(end - p);
        const auto room = static_cast<std::size_t>(limit - dst);
        // A step takes one or two bytes (p[1] is input while p < stop) and writes at most
        // three bytes for each byte it takes, storing four at once (the fourth is scratch):
        // `steps` bytes of input need 3 * steps + 1 bytes of room.
        const std::size_t steps = std::min(left - 1, room >= kStoreWidth ? (room - 1) / 3 : 0);
        if (steps != 0) {
            const unsigned char* const stop = p + steps;
            // One character that starts with a byte >= 0x80: a defined pair or a single byte.
            const auto putOther = [&] {
                const std::uint32_t form = forms.pair[std::size_t{p[0]} << 8 | p[1]];
                if (form != 0) [[likely]] {
                    std::memcpy(dst, &form, sizeof form);
                    dst += form >> 24;
                    p += 2;
                    return;
                }
                const std::uint32_t single = forms.single[*p++];
                std::memcpy(dst, &single, sizeof single);
                dst += single >> 24;
            };
#if defined(__SSE2__)
            // Sixteen bytes at a time: the ASCII bytes before the first other byte are
            // stored as they are, then the run of other characters that follows (texts
            // alternate short runs of each). The store may write past the ASCII bytes: with
            // 16 or more steps left, the room holds at least 49 bytes.
            while (stop - p >= 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
                const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
                const auto ascii = static_cast<unsigned>(__builtin_ctz(high | 0x10000u));
                p += ascii;
                dst += ascii;
                while (p < stop && *p >= 0x80) {
                    putOther();
                }
            }
#endif
            while (p < stop) {
                if (*p < 0x80) {
                    // Eight ASCII bytes at once where they are.
                    std::uint64_t word = 0;
                    if (stop - p >= 8) {
                        std::memcpy(&word, p, sizeof word);
                    }
                    if (stop - p >= 8 && (word & 0x8080808080808080ULL) == 0) {
                        std::memcpy(dst, &word, sizeof word);
                        p += 8;
                        dst += 8;
                    } else {
                        *dst++ = static_cast<char>(*p++);
                    }
                    continue;
                }
                putOther();
            }
            continue;
        }
        // The last byte, or close to the end of the room: write the next character
        // exactly, or grow.
        const Decoded next = *p < 0x80 ? Decoded{*p, 1} : DecodeAt(p, left);
        if (static_cast<std::ptrdiff_t>(Utf8Length(next.unit)) <= limit - dst) {
            p += next.length;
            dst += PutUtf8(next.unit, dst);
            continue;
        }
        used = static_cast<std::size_t>(dst - out.data());
        out.resize(used + kMaxUtf8PerByte * left + 1);
        dst = out.data() + used;
        limit = out.data() + out.size();
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}
