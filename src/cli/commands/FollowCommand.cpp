#include "cli/commands/FollowCommand.h"

#include <csignal>
#include <ctime>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/ListFormat.h"
#include "database/MessageDatabase.h"

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

// Appends the list lines of member `key`'s events that the last pass took: its refs from
// entry `firstNew` on, which are at the end of its list, oldest first.
void AppendNewEvents(MessageDatabase& db, std::int32_t key, std::int32_t firstNew,
                     std::string& out) {
    const std::vector<EventRef>& refs = db.Refs(key);
    std::size_t first = refs.size();
    while (first > 0 && refs[first - 1].entryNumber >= firstNew) {
        --first;
    }
    const auto count = static_cast<std::int32_t>(refs.size());
    EventRecord record;
    EventCells cells;
    for (std::size_t i = first; i < refs.size(); ++i) {
        const std::int32_t row = RowToIndex(count, static_cast<std::int32_t>(i));
        AppendListRow(db, key, row, record, cells, out);
        out += '\n';
    }
}

int RunFollow(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "follow", key)) {
        return kExitUsage;
    }
    MessageDatabase& db = *context.db;
    StopSignals signals;
    std::string out;
    while (!signals.Stopped()) {
        // An entry whose offset word is not written yet makes HasNewEntries true, but the
        // pass takes it only once it is complete, so it is printed then, and once.
        if (db.HasNewEntries()) {
            const std::int32_t firstNew = db.entryCount();
            db.ReadIndex();
            AppendNewEvents(db, key, firstNew, out);
            if (!out.empty()) {
                FlushOutput(context, out, true);
            }
        }
        struct timespec pause {
            0, kPollNanoseconds
        };
        nanosleep(&pause, nullptr);
    }
    return kExitOk;
}

}  // namespace

const CliCommand& FollowCommand() {
    static const CliCommand command{
        "follow",  "KEY", "member KEY's new events as they arrive, until interrupted",
        RunFollow, true,  {}};
    return command;
}
