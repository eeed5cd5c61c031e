#include "cli/CliArgs.h"

#include <algorithm>
#include <charconv>

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
                                      const std::vector<std::string>& valued,
                                      const std::vector<std::string>& flags, std::string& error) {
    CliArgs args;
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        if (token.size() < 2 || token[0] != '-' || LooksLikeNumber(token)) {
            args.positionals_.push_back(token);
            continue;
        }
        std::string name = token;
        std::optional<std::string> inlineValue;
        if (std::size_t eq = token.find('=');
            token.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = token.substr(0, eq);
            inlineValue = token.substr(eq + 1);
        }
        if (known(valued, name)) {
            if (inlineValue) {
                args.options_.emplace_back(name, *inlineValue);
            } else if (i + 1 < tokens.size()) {
                args.options_.emplace_back(name, tokens[++i]);
            } else {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
        } else if (known(flags, name) && !inlineValue) {
            args.options_.emplace_back(name, std::string());
        } else {
            error = "unknown option " + token;
            return std::nullopt;
        }
    }
    return args;
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
