#include "cli/commands/ExportCommand.h"

#include <cerrno>
#include <charconv>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/commands/PeriodOptions.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "export/PeriodExport.h"
#include "settings/Settings.h"
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
    {"--output", "-o", "FILE",
     "the file to write (replaced whole, or left as it was); - for "
     "standard output"},
    {"--format", nullptr, "NAME", "text (the default), csv, json, jsonl, html or sqlite"},
    {"--rows", nullptr, "LIST", "only these rows of the list, e.g. 0,2-4"},
    {"--encoding", nullptr, "NAME", "of the text format: shift-jis (the default) or utf-8"},
    kPeriodOptions[0],
    kPeriodOptions[1],
    {"--split", nullptr, "year|month|day",
     "one file per period, named FILE with the period before its extension"},
    {"--rebuild", nullptr, nullptr,
     "sqlite: write the archive anew, replacing the one at FILE (after a rewrite of the "
     "history)"},
};

// `-o -`: the bytes go to the command's output stream as they are made.
class StreamOutput final : public ExportOutput {
public:
    explicit StreamOutput(std::ostream& out) : out_(out) {}
    bool Write(std::string_view bytes, std::string& error) override {
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out_) {
            error = "cannot write standard output";
            return false;
        }
        return true;
    }

private:
    std::ostream& out_;
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

// The options of the chosen format; false after a usage error.
bool ParseFormatOptions(CliContext& context, const CliArgs& args, ExportOptions& options) {
    const std::string formatName = args.Value("--format").value_or("text");
    const auto format = ParseExportFormat(formatName);
    if (!format) {
        UsageError(context,
                   "unknown format " + formatName + " (text, csv, json, jsonl, html or sqlite)");
        return false;
    }
    const auto encoding = args.Value("--encoding");
    if (encoding && *encoding != "shift-jis" && *encoding != "utf-8") {
        UsageError(context, "unknown encoding " + *encoding + " (shift-jis or utf-8)");
        return false;
    }
    if (encoding && *format != ExportFormat::Text) {
        UsageError(context, "--encoding is for the text format; the others are UTF-8");
        return false;
    }
    options.format = *format;
    options.owner = OwnerFromDataFile(context.db->dataPath());
    if (context.colors != nullptr) {
        const ListColors& colors = *context.colors;
        options.colors = {colors.sendBackground, colors.sendText, colors.receiveBackground,
                          colors.receiveText};
    }
    if (encoding == "utf-8") {
        options.transform = [](std::string_view bytes, std::string& out) {
            AppendUtf8FromShiftJis(bytes, out);
        };
    }
    return true;
}

// --from, --to and --split; false after a usage error.
bool ParsePeriodOptions(CliContext& context, const CliArgs& args, const std::string& path,
                        ExportOptions& options, ExportSplit& split) {
    if (!ReadPeriodOptions(context, args, options.period)) {
        return false;
    }
    split = ExportSplit::None;
    if (const auto name = args.Value("--split")) {
        const auto chosen = ParseExportSplit(*name);
        if (!chosen) {
            UsageError(context, "unknown split " + *name + " (year, month or day)");
            return false;
        }
        split = *chosen;
    }
    if (split != ExportSplit::None && path == "-") {
        UsageError(context, "--split writes files: it needs -o FILE, not standard output");
        return false;
    }
    return true;
}

// The SQLite archive: the whole list, added to the archive at `path` (or written anew).
int RunArchiveExport(CliContext& context, const CliArgs& args, std::int32_t key,
                     const std::string& path, ExportOptions& options) {
    for (const char* option : {"--rows", "--from", "--to", "--split"}) {
        if (args.Value(option)) {
            return UsageError(context, std::string(option) +
                                           " is not for the sqlite format: an archive holds "
                                           "the whole list");
        }
    }
    if (path == "-") {
        return UsageError(context, "the sqlite format writes a file: it needs -o FILE");
    }
    options.rebuild = args.Has("--rebuild");
    const ExportResult result =
        ExportToFile(*context.db, key, RowSelection::All(), options, path, {context.settingsPath});
    if (!result.ok) {
        context.err << "talvora-cli: " << result.error << '\n';
        return kExitFailure;
    }
    context.out << result.added << (result.added == 1 ? " event" : " events") << " added to "
                << path << '\n';
    return kExitOk;
}

int RunExport(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "export", key)) {
        return kExitUsage;
    }
    if (!RequireMember(context, key)) {
        return kExitFailure;
    }
    const auto path = args.Value("--output");
    if (!path || path->empty()) {
        return UsageError(context, "export needs the output file: -o FILE (- for standard output)");
    }
    ExportOptions options;
    ExportSplit split = ExportSplit::None;
    if (!ParseFormatOptions(context, args, options)) {
        return kExitUsage;
    }
    if (options.format == ExportFormat::Sqlite) {
        return RunArchiveExport(context, args, key, *path, options);
    }
    if (args.Has("--rebuild")) {
        return UsageError(context, "--rebuild is for the sqlite format");
    }
    if (!ParsePeriodOptions(context, args, *path, options, split)) {
        return kExitUsage;
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
    ExportResult result;
    if (*path == "-") {
        StreamOutput output(context.out);
        result = ExportRows(db, key, rows, options, output);
        context.out.flush();
        if (!context.out) {
            return kExitFailure;  // the program reports what standard output said
        }
    } else {
        // Each file's name as soon as it is in place, so that a failure part of the way
        // still tells what was written.
        const WrittenFile written = [&](const std::string& name) {
            if (split != ExportSplit::None) {
                context.out << name << '\n';
                context.out.flush();
            }
        };
        result = ExportPeriodFiles(db, key, rows, options, split, *path, {context.settingsPath},
                                   written);
    }
    if (!result.ok && result.failure.code == EPIPE) {
        return kExitOk;  // a reader on /dev/stdout that went away, as with -o -
    }
    if (!result.ok) {
        context.err << "talvora-cli: " << result.error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

const CliCommand& ExportCommand() {
    static const CliCommand command{
        "export",
        "KEY -o FILE",
        "member KEY's rows as text, CSV, JSON, JSON Lines or HTML, or into an SQLite archive",
        RunExport,
        true,
        kExportOptions};
    return command;
}
