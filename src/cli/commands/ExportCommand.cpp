#include "cli/commands/ExportCommand.h"

#include <charconv>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "text/ShiftJis.h"

namespace {

// A row number: decimal digits only, within the 32-bit range.
bool ParseRow(const std::string& text, std::int32_t& row) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), row);
    return ec == std::errc() && end == text.data() + text.size();
}

// One item of a row list: "N" or "A-B".
bool ParseRowItem(const std::string& item, std::int32_t rowCount, std::vector<std::int32_t>& rows,
                  std::string& error) {
    const std::size_t dash = item.find('-');
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (!ParseRow(item.substr(0, dash), first) ||
        !ParseRow(dash == std::string::npos ? item : item.substr(dash + 1), last) || first > last) {
        error = "not a row or row range: " + item;
        return false;
    }
    if (last >= rowCount) {
        error = "row " + std::to_string(last) + " is past the last row (the list has " +
                std::to_string(rowCount) + " rows)";
        return false;
    }
    for (std::int32_t row = first; row <= last; ++row) {
        rows.push_back(row);
    }
    return true;
}

constexpr CliOption kExportOptions[] = {
    {"--output", "-o", "FILE", "the file to write (replaced whole, or left as it was)"},
    {"--rows", nullptr, "LIST", "only these rows of the list, e.g. 0,2-4"},
    {"--encoding", nullptr, "NAME", "shift-jis (the default) or utf-8"},
};

}  // namespace

std::optional<std::vector<std::int32_t>> ParseRowList(const std::string& list,
                                                      std::int32_t rowCount, std::string& error) {
    std::vector<std::int32_t> rows;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string item =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!ParseRowItem(item, rowCount, rows, error)) {
            return std::nullopt;
        }
        if (comma == std::string::npos) {
            return rows;
        }
        start = comma + 1;
    }
}

namespace {

int RunExport(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "export", key)) {
        return kExitUsage;
    }
    const auto path = args.Value("--output");
    if (!path || path->empty()) {
        return UsageError(context, "export needs the output file: -o FILE");
    }
    const std::string encoding = args.Value("--encoding").value_or("shift-jis");
    if (encoding != "shift-jis" && encoding != "utf-8") {
        return UsageError(context, "unknown encoding " + encoding + " (shift-jis or utf-8)");
    }

    MessageDatabase& db = *context.db;
    RowSelection rows = RowSelection::All();
    if (auto rowList = args.Value("--rows")) {
        std::string error;
        auto chosen = ParseRowList(*rowList, db.EventCount(key), error);
        if (!chosen) {
            return UsageError(context, error);
        }
        rows = RowSelection::Rows(std::move(*chosen));
    }
    ExportTransform transform;
    if (encoding == "utf-8") {
        transform = [](std::string_view bytes, std::string& out) {
            AppendUtf8FromShiftJis(bytes, out);
        };
    }
    const ExportResult result = ExportText(db, key, rows, *path, transform);
    if (!result.ok) {
        context.err << "talvora-cli: " << result.error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

const CliCommand& ExportCommand() {
    static const CliCommand command{"export",  "KEY -o FILE", "member KEY's rows as text",
                                    RunExport, true,          kExportOptions};
    return command;
}
