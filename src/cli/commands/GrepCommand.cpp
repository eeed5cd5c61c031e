#include "cli/commands/GrepCommand.h"

#include <cstdio>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/ListFormat.h"
#include "cli/commands/PeriodOptions.h"
#include "database/EventCells.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "search/HitSearch.h"
#include "text/ShiftJis.h"

namespace {

// Events examined between two looks at the output buffer.
constexpr std::size_t kSlice = 4096;

void AppendJsonString(std::string_view shiftJis, std::string& out) {
    std::string utf8;
    AppendUtf8FromShiftJis(shiftJis, utf8);
    out += '"';
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

// Spaces as wide as the first `characters` characters of UTF-8 `text` (two columns for
// a character outside ASCII), for a caret under the next one.
std::string CaretUnder(std::string_view text, std::size_t characters) {
    std::string spaces;
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size() && seen < characters; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80) {
            continue;
        }
        spaces += c < 0x80 ? " " : "  ";
        ++seen;
    }
    return spaces;
}

struct GrepLine {
    MemberEvent owner;
    std::int32_t row;
    const EventRecord& record;
    const EventCells& cells;
};

void AppendText(const GrepLine& line, std::string& out) {
    out += std::to_string(line.owner.key);
    out += '\t';
    out += std::to_string(line.row);
    out += '\t';
    AppendUtf8FromShiftJis(line.cells.date, out);
    out += '\t';
    out += line.cells.time;
    out += '\t';
    AppendEscapedCell(line.cells.name, out);
    out += '\t';
    AppendEscapedCell(line.cells.text, out);
    out += '\n';
}

void AppendJson(const GrepLine& line, std::string& out) {
    out += "{\"key\":" + std::to_string(line.owner.key);
    out += ",\"row\":" + std::to_string(line.row);
    out += ",\"type\":";
    AppendJsonString(line.cells.type, out);
    out += ",\"date\":";
    AppendJsonString(line.cells.date, out);
    out += ",\"time\":";
    AppendJsonString(line.cells.time, out);
    out += ",\"direction\":";
    AppendJsonString(DirectionName(line.record.direction), out);
    out += ",\"name\":";
    AppendJsonString(line.cells.name, out);
    out += ",\"text\":";
    AppendJsonString(line.cells.text, out);
    out += "}\n";
}

// The query from the command's arguments; false after a usage error was printed.
bool ReadQuery(CliContext& context, const CliArgs& args, HitQuery& query, bool& json) {
    const auto& positionals = args.positionals();
    if (positionals.empty() || positionals.size() > 2) {
        UsageError(context, "grep takes the TEXT to find and at most one member KEY");
        return false;
    }
    auto text = ShiftJisFromUtf8(positionals[0]);
    if (!text) {
        UsageError(context, "the search text has characters that Shift-JIS cannot hold");
        return false;
    }
    query.text = std::move(*text);
    query.match.ignoreCase = args.Has("--ignore-case");
    query.match.ignoreWidth = args.Has("--ignore-width");
    query.match.ignoreKana = args.Has("--ignore-kana");
    if (args.Has("--regex")) {
        if (query.match.ignoreWidth || query.match.ignoreKana || args.Has("--all-words")) {
            UsageError(context, "--regex folds case only (--ignore-case); it takes neither "
                                "--ignore-width, --ignore-kana nor --all-words");
            return false;
        }
        if (const std::optional<RegexError> error = CheckRegex(query.text, query.match.ignoreCase)) {
            // Where it stopped, under the pattern as typed.
            context.err << "talvora-cli: bad regular expression at character "
                        << error->character + 1 << ": " << error->message << "\n  "
                        << positionals[0] << "\n  " << CaretUnder(positionals[0], error->character)
                        << "^\n";
            return false;
        }
        query.mode = TextMode::Regex;
    } else if (args.Has("--all-words")) {
        query.mode = TextMode::AllWords;
    }
    if (positionals.size() == 2) {
        const auto key = ParseInt32(positionals[1]);
        if (!key) {
            UsageError(context, "not a member key: " + positionals[1]);
            return false;
        }
        query.key = *key;
    }
    ExportPeriod period;
    if (!ReadPeriodOptions(context, args, period)) {
        return false;
    }
    query.useDateRange = period.limited;
    query.rangeStart = period.start;
    query.rangeEnd = period.end;
    // Neither direction named means both.
    const bool received = args.Has("--received");
    const bool sent = args.Has("--sent");
    query.includeReceived = received || !sent;
    query.includeSent = sent || !received;
    const std::string format = args.Value("--format").value_or("text");
    if (format != "text" && format != "jsonl") {
        UsageError(context, "the format is text or jsonl, not " + format);
        return false;
    }
    json = format == "jsonl";
    return true;
}

constexpr CliOption kGrepOptions[] = {
    kPeriodOptions[0],
    kPeriodOptions[1],
    {"--received", nullptr, nullptr, "received events (neither: both)"},
    {"--sent", nullptr, nullptr, "sent events"},
    {"--ignore-case", "-i", nullptr, "A-Z equal a-z"},
    {"--ignore-width", "-w", nullptr, "full-width and half-width forms equal (Ａ/A, ｱ/ア)"},
    {"--ignore-kana", "-k", nullptr, "hiragana and katakana equal (ぷ/プ)"},
    {"--all-words", nullptr, nullptr,
     "TEXT is words split at spaces, all to be held (\"a phrase\", -not this)"},
    {"--regex", "-E", nullptr, "TEXT is a regular expression (Perl syntax, UTF-8)"},
    {"--format", nullptr, "text|jsonl", "TAB-separated lines (the default) or JSON lines"},
};

int RunGrep(CliContext& context, const CliArgs& args) {
    HitQuery query;
    bool json = false;
    if (!ReadQuery(context, args, query, json)) {
        return kExitUsage;
    }
    if (!RequireMember(context, query.key)) {
        return kExitFailure;
    }
    MessageDatabase& db = *context.db;
    HitSearch search(db, query);
    std::vector<Hit> hits, appended;
    EventRecord record;
    EventCells cells;
    std::string out;
    while (!search.Finished()) {
        hits.clear();
        search.Step(kSlice, hits, appended);
        for (const Hit& hit : hits) {
            const bool decoded = db.ReadEvent(query.key, hit.index, record);
            FillEventCells(db, record, decoded, cells);
            const MemberEvent owner = OwnerOfEvent(db, query.key, hit.index);
            cells.name = db.MemberName(owner.key);
            const GrepLine line{owner, IndexToRow(db.EventCount(owner.key), owner.index), record,
                                cells};
            json ? AppendJson(line, out) : AppendText(line, out);
            if (!FlushOutput(context, out, false)) {
                return kExitFailure;
            }
        }
    }
    return FlushOutput(context, out, true) ? kExitOk : kExitFailure;
}

}  // namespace

const CliCommand& GrepCommand() {
    static const CliCommand command{
        "grep",  "TEXT [KEY]", "every hit: key, row, date, time, name, text (KEY -2 when left out)",
        RunGrep, true,         kGrepOptions};
    return command;
}
