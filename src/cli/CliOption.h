#pragma once

#include <span>
#include <string>

// One option a program or command accepts. Options are found by their long name
// ("--from"), which is also the name CliArgs keeps them under; the short name ("-o") is an
// alias. Single-dash long names ("-platform") fit in the short name.
struct CliOption {
    const char* longName;   // "--output", or nullptr when there is only the short name
    const char* shortName;  // "-o", or nullptr
    const char* valueName;  // "FILE" when the option takes a value, nullptr for a flag
    const char* help;       // one line for --help; nullptr keeps the option out of it
};

// The name CliArgs stores the option under: the long name, else the short one.
inline const char* CliOptionKey(const CliOption& option) {
    return option.longName != nullptr ? option.longName : option.shortName;
}

// Appends the --help lines of the listed options, their help texts in one column.
void AppendOptionHelp(std::span<const CliOption> options, std::string& out);

// Appends "  <left>  <help>" lines with the help texts in one column.
void AppendHelpColumns(std::span<const std::pair<std::string, std::string>> rows, std::string& out);
