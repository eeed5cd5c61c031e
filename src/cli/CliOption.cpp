#include "cli/CliOption.h"

#include <algorithm>
#include <vector>

void AppendHelpColumns(std::span<const std::pair<std::string, std::string>> rows,
                       std::string& out) {
    std::size_t width = 0;
    for (const auto& row : rows) {
        width = std::max(width, row.first.size());
    }
    for (const auto& [left, help] : rows) {
        out += "  " + left;
        out.append(width - left.size() + 2, ' ');
        out += help + '\n';
    }
}

void AppendOptionHelp(std::span<const CliOption> options, std::string& out) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CliOption& option : options) {
        if (option.help == nullptr) {
            continue;
        }
        std::string left;
        if (option.shortName != nullptr) {
            left = option.shortName;
            if (option.longName != nullptr) {
                left += ", ";
            }
        }
        if (option.longName != nullptr) {
            left += option.longName;
        }
        if (option.valueName != nullptr) {
            left += ' ';
            left += option.valueName;
        }
        rows.emplace_back(std::move(left), option.help);
    }
    AppendHelpColumns(rows, out);
}
