#include "search/RegexMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "text/Cp932Chars.h"
#include "text/Utf8ShiftJis.h"

namespace {

// Characters in the first `bytes` bytes of UTF-8 text.
std::size_t CharactersIn(std::string_view utf8, std::size_t bytes) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes && i < utf8.size(); ++i) {
        count += (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 ? 1U : 0U;
    }
    return count;
}

}  // namespace

struct RegexMatcher::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_data* match = nullptr;
    bool jit = false;

    ~Compiled() {
        pcre2_match_data_free(match);
        pcre2_code_free(code);
    }
};

RegexMatcher::RegexMatcher(std::unique_ptr<Compiled> compiled) : compiled_(std::move(compiled)) {}

RegexMatcher::~RegexMatcher() = default;

std::unique_ptr<RegexMatcher> RegexMatcher::Compile(std::string_view pattern, bool ignoreCase,
                                                    RegexError& error) {
    int code = 0;
    PCRE2_SIZE offset = 0;
    const std::uint32_t options = PCRE2_UTF | PCRE2_UCP | (ignoreCase ? PCRE2_CASELESS : 0U);
    auto compiled = std::make_unique<Compiled>();
    compiled->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                   options, &code, &offset, nullptr);
    if (compiled->code == nullptr) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(code, message, sizeof message);
        error.message = reinterpret_cast<const char*>(message);
        error.character = CharactersIn(pattern, offset);
        return nullptr;
    }
    compiled->jit = pcre2_jit_compile(compiled->code, PCRE2_JIT_COMPLETE) == 0;
    compiled->match = pcre2_match_data_create_from_pattern(compiled->code, nullptr);
    return std::unique_ptr<RegexMatcher>(new RegexMatcher(std::move(compiled)));
}

std::optional<TextSpan> RegexMatcher::Find(std::string_view shiftJis) {
    utf8_.clear();
    AppendUtf8FromShiftJis(shiftJis, utf8_);
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(utf8_.data());
    // The converter writes valid UTF-8, so the library need not check it again.
    const int found =
        compiled_->jit
            ? pcre2_jit_match(compiled_->code, subject, utf8_.size(), 0, PCRE2_NO_UTF_CHECK,
                              compiled_->match, nullptr)
            : pcre2_match(compiled_->code, subject, utf8_.size(), 0, PCRE2_NO_UTF_CHECK,
                          compiled_->match, nullptr);
    if (found < 0) {
        return std::nullopt;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(compiled_->match);
    const std::size_t start = ovector[0];
    const std::size_t end = ovector[1] >= ovector[0] ? ovector[1] : ovector[0];
    // Back to the Shift-JIS text: character by character, each converted as the whole was.
    TextSpan span{shiftJis.size(), 0};
    std::size_t utf8At = 0;
    std::string one;
    std::size_t i = 0;
    for (; i < shiftJis.size() && utf8At < end; i += Cp932CharLength(shiftJis, i)) {
        if (utf8At >= start && span.start == shiftJis.size()) {
            span.start = i;
        }
        one.clear();
        AppendUtf8FromShiftJis(shiftJis.substr(i, Cp932CharLength(shiftJis, i)), one);
        utf8At += one.size();
    }
    if (span.start == shiftJis.size()) {
        span.start = i;
    }
    span.length = i - span.start;
    return span;
}
