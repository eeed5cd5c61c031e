#include "cli/CliArgs.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

const CliOption* FindOption(std::span<const CliOption> options, const std::string& name) {
    for (const CliOption& option : options) {
        if ((option.longName != nullptr && name == option.longName) ||
            (option.shortName != nullptr && name == option.shortName)) {
            return &option;
        }
    }
    return nullptr;
}

bool IsOptionToken(const std::string& token) {
    return token.size() >= 2 && token[0] == '-' && !LooksLikeNumber(token);
}

}  // namespace

bool LooksLikeNumber(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size()) {
        return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int32_t> ParseInt32(const std::string& text) {
    if (!LooksLikeNumber(text)) {
        return std::nullopt;
    }
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<CliArgs> CliArgs::Parse(const std::vector<std::string>& tokens,
                                      std::span<const CliOption> options, std::string& error) {
    CliArgs args;
    std::size_t next = 0;
    if (!args.Read(tokens, next, options, false, error)) {
        return std::nullopt;
    }
    return args;
}

bool CliArgs::Read(const std::vector<std::string>& tokens, std::size_t& next,
                   std::span<const CliOption> options, bool untilPositional, std::string& error) {
    for (; next < tokens.size(); ++next) {
        const std::string& token = tokens[next];
        if (optionsEnded_ || !IsOptionToken(token)) {
            if (untilPositional) {
                return true;
            }
            positionals_.push_back(token);
            continue;
        }
        if (token == "--") {
            optionsEnded_ = true;
            continue;
        }
        std::string name = token;
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = token.find('=');
            token.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = token.substr(0, eq);
            inlineValue = token.substr(eq + 1);
        }
        const CliOption* option = FindOption(options, name);
        if (option == nullptr) {
            error = "unknown option " + name;
            return false;
        }
        if (option->valueName == nullptr) {
            if (inlineValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            options_.emplace_back(CliOptionKey(*option), std::string());
        } else if (inlineValue) {
            options_.emplace_back(CliOptionKey(*option), *inlineValue);
        } else if (next + 1 < tokens.size()) {
            options_.emplace_back(CliOptionKey(*option), tokens[++next]);
        } else {
            error = "option " + name + " needs a value";
            return false;
        }
    }
    return true;
}

bool CliArgs::Has(const std::string& option) const {
    return std::any_of(options_.begin(), options_.end(),
                       [&](const auto& o) { return o.first == option; });
}

std::optional<std::string> CliArgs::Value(const std::string& option) const {
    // The last occurrence wins, as usual on command lines.
    for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
        if (it->first == option) {
            return it->second;
        }
    }
    return std::nullopt;
}
