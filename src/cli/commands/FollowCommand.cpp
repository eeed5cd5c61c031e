#include "cli/commands/FollowCommand.h"

#include <algorithm>
#include <csignal>
#include <ctime>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/ListFormat.h"
#include "cli/ListLineWriter.h"
#include "database/MessageDatabase.h"
#include "export/ExportWriter.h"
#include "text/ShiftJis.h"

namespace {

// Often enough that a new event shows within half a second, rarely enough to cost nothing.
constexpr long kPollNanoseconds = 150'000'000;

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
    stopRequested = 1;
}

// Catches SIGINT and SIGTERM while it lives, so that the loop can end normally; without
// SA_RESTART the signal also cuts the sleep short.
class StopSignals {
public:
    StopSignals() {
        stopRequested = 0;
        struct sigaction action {};
        action.sa_handler = RequestStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Stopped() const { return stopRequested != 0; }

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// Turns member `key`'s new events into output: list lines, or JSON Lines as the export
// writes them.
class FollowPrinter {
public:
    FollowPrinter(MessageDatabase& db, std::int32_t key, bool jsonLines) : db_(db), key_(key) {
        if (jsonLines) {
            ExportOptions options;
            options.format = ExportFormat::JsonLines;
            options.toUtf8 = AppendUtf8FromShiftJis;
            json_ = MakeExportWriter(db, key, options);
        }
    }

    // Appends the events that the last pass took: the member's refs from entry `firstNew`
    // on, which are at the end of its list, oldest first.
    void AppendNewEvents(std::int32_t firstNew, std::string& out) {
        const std::vector<EventRef>& refs = db_.Refs(key_);
        std::size_t first = refs.size();
        while (first > 0 && refs[first - 1].entryNumber >= firstNew) {
            --first;
        }
        const auto count = static_cast<std::int32_t>(refs.size());
        for (std::size_t i = first; i < refs.size(); ++i) {
            const auto index = static_cast<std::int32_t>(i);
            if (json_) {
                const bool decoded = db_.ReadEvent(key_, index, record_);
                json_->Event(ExportEvent{record_, decoded, refs[i].entryNumber}, out);
            } else {
                AppendListRow(db_, key_, RowToIndex(count, index), record_, lines_, out);
                out += '\n';
            }
        }
    }

private:
    MessageDatabase& db_;
    std::int32_t key_;
    std::unique_ptr<ExportWriter> json_;
    EventRecord record_;
    ListLineWriter lines_;
};

constexpr CliOption kFollowOptions[] = {
    {"--format", nullptr, "NAME", "list (the default) or jsonl, the export's JSON Lines"},
};

// The data offset of every entry taken, in index order.
std::vector<std::int32_t> EntryOffsets(MessageDatabase& db) {
    std::vector<std::int32_t> offsets;
    for (const EventRef& ref : db.Refs(ALL_MEMBERS)) {
        offsets.push_back(ref.dataOffset);
    }
    return offsets;
}

// The first entry of a reopened history that was not printed before: a history that goes
// on from the one read before (a newer copy of it) is printed from where that one stood;
// any other history counts as read, and only what is appended to it later is printed.
std::int32_t FirstUnseenEntry(MessageDatabase& db, const std::vector<std::int32_t>& before) {
    const std::vector<std::int32_t> now = EntryOffsets(db);
    const bool goesOn =
        now.size() >= before.size() && std::equal(before.begin(), before.end(), now.begin());
    return static_cast<std::int32_t>(goesOn ? before.size() : now.size());
}

// Follows one history through appends, replacements and absences.
class Follower {
public:
    Follower(CliContext& context, std::int32_t key, bool jsonLines)
        : context_(context),
          key_(key),
          jsonLines_(jsonLines),
          printer_(std::make_unique<FollowPrinter>(*context.db, key, jsonLines)) {}

    void Poll() {
        MessageDatabase& db = *context_.db;
        if (waiting_) {
            Reopen();
            return;
        }
        const HistoryChange change = db.CheckForChanges();
        switch (change.state) {
            case HistoryState::Unchanged:
                break;
            case HistoryState::Appended:
                Print(change.firstNewEntry);
                break;
            case HistoryState::Replaced:
            case HistoryState::Gone:
                before_ = EntryOffsets(db);
                Reopen();
                if (waiting_) {
                    context_.err << "talvora-cli: the history is gone; waiting for it to "
                                    "come back\n"
                                 << std::flush;
                }
                break;
        }
    }

private:
    void Reopen() {
        waiting_ = !context_.reopen || !context_.reopen();
        if (waiting_) {
            return;
        }
        context_.err << "talvora-cli: the history changed underneath; it was reloaded\n"
                     << std::flush;
        printer_ = std::make_unique<FollowPrinter>(*context_.db, key_, jsonLines_);
        Print(FirstUnseenEntry(*context_.db, before_));
    }

    void Print(std::int32_t firstNew) {
        printer_->AppendNewEvents(firstNew, out_);
        if (!out_.empty()) {
            FlushOutput(context_, out_, true);
        }
    }

    CliContext& context_;
    std::int32_t key_;
    bool jsonLines_;
    std::unique_ptr<FollowPrinter> printer_;
    bool waiting_ = false;
    std::vector<std::int32_t> before_;
    std::string out_;
};

int RunFollow(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "follow", key)) {
        return kExitUsage;
    }
    const std::string format = args.Value("--format").value_or("list");
    if (format != "list" && format != "jsonl") {
        return UsageError(context, "unknown follow format " + format + " (list or jsonl)");
    }
    StopSignals stopSignals;
    Follower follower(context, key, format == "jsonl");
    // A failed write ends the command (the program reports it).
    while (!stopSignals.Stopped() && context.out) {
        // A half-written entry is taken once it is complete, so it is printed then, and
        // once; a history replaced or gone is opened again.
        follower.Poll();
        struct timespec pause {
            0, kPollNanoseconds
        };
        nanosleep(&pause, nullptr);
    }
    return context.out ? kExitOk : kExitFailure;
}

}  // namespace

const CliCommand& FollowCommand() {
    static const CliCommand command{
        "follow",  "KEY", "member KEY's new events as they arrive, until interrupted",
        RunFollow, true,  kFollowOptions};
    return command;
}
