#include "makedb/MakeDb.h"

#include "makedb/BulkHistory.h"
#include "makedb/DemoHistory.h"
#include "makedb/DemoMembers.h"
#include "makedb/LiveAppend.h"
#include "makedb/SettingsFile.h"

#include <ctime>
#include <ostream>

namespace {

constexpr std::int64_t kDemoEvents = 5000;

int Failed(std::ostream& err, const std::string& message) {
    err << "talvora-makedb: " << message << "\n";
    return kMakeDbIoError;
}

int WriteSettings(const MakeDbOptions& options, std::ostream& err) {
    ViewerSettings settings;
    if (!options.folder.empty()) {
        settings.folder = options.folder;
        settings.uin = options.uin.value_or(0);
    } else {
        settings.dataPath = options.dataPath;
        settings.indexPath = options.indexPath;
    }
    for (const DemoMember& member : DemoMembers()) {
        if (member.named) {
            settings.names.emplace_back(member.key, member.name);
        }
    }
    std::string error;
    if (!WriteViewerSettings(options.settingsPath, settings, error)) {
        return Failed(err, error);
    }
    return kMakeDbOk;
}

int Append(const MakeDbOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    auto writer = HistoryWriter::OpenAppend(options.dataPath, options.indexPath, &error);
    if (!writer) {
        return Failed(err, error);
    }
    LiveOptions live;
    live.count = *options.append;
    live.intervalMs = options.intervalMs;
    live.seed = options.seed;
    live.quiet = options.quiet;
    if (!AppendLive(*writer, options.indexPath, live, out, error)) {
        return Failed(err, error);
    }
    return kMakeDbOk;
}

}  // namespace

int RunMakeDb(const MakeDbOptions& options, std::ostream& out, std::ostream& err) {
    if (options.append) {
        return Append(options, out, err);
    }
    std::string error;
    auto writer = HistoryWriter::Create(options.dataPath, options.indexPath, &error);
    if (!writer) {
        return Failed(err, error);
    }
    const std::int64_t now = options.now.value_or(static_cast<std::int64_t>(std::time(nullptr)));
    bool written = false;
    if (options.demo) {
        DemoOptions demo;
        demo.events = options.events.value_or(kDemoEvents);
        demo.seed = options.seed;
        demo.now = now;
        written = WriteDemoHistory(*writer, demo, error);
    } else {
        BulkOptions bulk;
        bulk.events = options.events.value_or(bulk.events);
        bulk.members = options.members;
        bulk.seed = options.seed;
        bulk.textBytes = options.textBytes;
        bulk.years = options.years;
        bulk.now = now;
        written = WriteBulkHistory(*writer, bulk, error);
    }
    if (!written) {
        return Failed(err, error);
    }
    if (!options.settingsPath.empty()) {
        return WriteSettings(options, err);
    }
    return kMakeDbOk;
}

int MakeDbMain(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    const ParsedOptions parsed = ParseMakeDbOptions(args);
    if (!parsed.options) {
        err << "talvora-makedb: " << parsed.error << "\n"
            << "Try 'talvora-makedb --help'.\n";
        return kMakeDbUsageError;
    }
    if (parsed.options->help) {
        out << MakeDbUsage();
        return kMakeDbOk;
    }
    return RunMakeDb(*parsed.options, out, err);
}
