#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "search/TextMatcher.h"

// Why a pattern did not compile: the library's message and the character (counted from 0)
// at which it stopped.
struct RegexError {
    std::string message;
    std::size_t character = 0;
};

// A regular expression (Perl syntax, UTF-8, Unicode character classes) matched against
// Shift-JIS display texts converted to UTF-8; the hit's place is given in the Shift-JIS
// text, as TextMatcher gives it.
class RegexMatcher {
public:
    // Nothing, with `error` filled in, when `pattern` (UTF-8) does not compile.
    static std::unique_ptr<RegexMatcher> Compile(std::string_view pattern, bool ignoreCase,
                                                 RegexError& error);
    ~RegexMatcher();
    RegexMatcher(const RegexMatcher&) = delete;
    RegexMatcher& operator=(const RegexMatcher&) = delete;

    std::optional<TextSpan> Find(std::string_view shiftJis);

private:
    struct Compiled;
    explicit RegexMatcher(std::unique_ptr<Compiled> compiled);

    std::unique_ptr<Compiled> compiled_;
    std::string utf8_;
};
