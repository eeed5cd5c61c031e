#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/CliOption.h"

// A command line split into options and positionals, read against option tables.
// "--name=value" and "--name value" are the same; a token that is a number ("-2") is a
// positional, so member keys may be negative; after "--" every token is a positional.
// Options may stand before or after the positionals.
class CliArgs {
public:
    // Reads every token against `options`; on a bad token says why in `error`.
    static std::optional<CliArgs> Parse(const std::vector<std::string>& tokens,
                                        std::span<const CliOption> options, std::string& error);

    // Reads tokens from `next` on into this. With `untilPositional` the first positional ends
    // the reading and `next` is left on it (a command word after the global options).
    bool Read(const std::vector<std::string>& tokens, std::size_t& next,
              std::span<const CliOption> options, bool untilPositional, std::string& error);

    // Options are asked for by their key (CliOptionKey): the long name when there is one.
    bool Has(const std::string& option) const;
    std::optional<std::string> Value(const std::string& option) const;
    const std::vector<std::string>& positionals() const { return positionals_; }

private:
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> positionals_;
    bool optionsEnded_ = false;
};

// Whole-string signed decimal numbers of the 32-bit range.
std::optional<std::int32_t> ParseInt32(const std::string& text);
bool LooksLikeNumber(const std::string& text);
