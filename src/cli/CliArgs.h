#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A command's arguments, split into options and positionals. Options are "--name" or
// "-x" tokens; a token that is a number ("-2") is always a positional, so member keys may
// be negative. Options may stand before or after the positionals.
class CliArgs {
public:
    // `valued` lists the options that take a value (the next token).
    static std::optional<CliArgs> Parse(const std::vector<std::string>& tokens,
                                        const std::vector<std::string>& valued,
                                        const std::vector<std::string>& flags, std::string& error);

    bool Has(const std::string& option) const;
    std::optional<std::string> Value(const std::string& option) const;
    const std::vector<std::string>& positionals() const { return positionals_; }

private:
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> positionals_;
};

// Whole-string signed decimal numbers of the 32-bit range.
std::optional<std::int32_t> ParseInt32(const std::string& text);
bool LooksLikeNumber(const std::string& text);
