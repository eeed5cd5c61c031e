#include "export/SqliteArchive.h"

#include <sys/stat.h>

#include <algorithm>

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "export/ArchiveStore.h"
#include "export/CharacterPairs.h"
#include "export/ExportFields.h"
#include "export/ExportWriter.h"
#include "export/ReplacingFile.h"
#include "export/TemporaryFiles.h"

namespace {

// Held events compared with the history before an archive is added to: the last one and
// others spread evenly over the rest, enough to tell another history or a rewritten one.
constexpr std::int64_t kSamples = 16;
// More events than this at the end of a list that cannot be decoded are damage, not a
// write in progress.
constexpr std::int32_t kUnfinished = 4;

// Makes the rows of the events table from decoded events, keeping names between rows.
class RowMaker {
public:
    RowMaker(MessageDatabase& db, std::int32_t key) : db_(db), key_(key), fields_(db) {}

    const ArchiveRow& Make(const ExportEvent& event) {
        const EventRecord& record = event.record;
        row_.entry = event.entryNumber;
        row_.member = key_ == ALL_MEMBERS ? KeyOf(event.entryNumber) : key_;
        row_.decoded = event.decoded;
        row_.timeUtc = record.stamp;
        row_.timeLocal.clear();
        row_.type = record.type;
        row_.typeName = fields_.TypeNameOf(record.type);
        row_.uin = record.uin;
        row_.text.clear();
        row_.failure.clear();
        row_.hasUrl = false;
        if (event.decoded) {
            AppendIsoTimeWithOffset(record.time, record.timeValue, row_.timeLocal);
            row_.direction = record.direction == Received ? "受信" : "送信";
            fields_.Append(record.text, row_.text);
            std::string_view description;
            std::string_view address;
            if (record.type == 4 && SplitUrlText(record.text, description, address)) {
                row_.hasUrl = true;
                row_.description.clear();
                row_.url.clear();
                fields_.Append(description, row_.description);
                fields_.Append(address, row_.url);
            }
        } else {
            // What was read of a record cut short stays as its text.
            const std::string_view failure = FailureTextOf(record.text);
            fields_.Append(failure, row_.failure);
            if (record.text != failure) {
                fields_.Append(record.text, row_.text);
            }
        }
        row_.pairs.clear();
        AppendCharacterPairs(row_.text, row_.pairs);
        return row_;
    }

private:
    // The member of an entry of ALL_MEMBERS's list; the entries come in ascending order.
    std::int32_t KeyOf(std::int32_t entry) {
        const std::vector<EventRef>& all = db_.Refs(ALL_MEMBERS);
        if (at_ >= all.size() || all[at_].entryNumber > entry) {
            at_ = 0;
        }
        while (at_ < all.size() && all[at_].entryNumber < entry) {
            ++at_;
        }
        return db_.KeyAt(static_cast<std::int32_t>(at_));
    }

    MessageDatabase& db_;
    std::int32_t key_;
    ExportFieldMaker fields_;
    ArchiveRow row_;
    std::size_t at_ = 0;
};

// One write of an archive, new or added to.
class ArchiveRun {
public:
    ArchiveRun(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
               ExportResult& result)
        : db_(db), key_(key), options_(options), result_(result), rows_(db, key) {}

    bool Build(const std::string& file) {
        if (!store_.Open(file, true, detail_) ||
            !store_.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                         "PRAGMA locking_mode = EXCLUSIVE; PRAGMA cache_size = -65536; "
                         "PRAGMA temp_store = MEMORY; BEGIN",
                         detail_) ||
            !store_.CreateTables(detail_) || !Add(0) || !store_.CreateIndexes(detail_) ||
            !Finish()) {
            return Failed();
        }
        return Close();
    }

    bool Update(const std::string& file) {
        std::int32_t applicationId = 0;
        std::int32_t version = 0;
        if (!store_.Open(file, false, detail_) ||
            !store_.Identity(applicationId, version, detail_)) {
            return Refuse(OutputFailure::Kind::NotAnArchive, "not an SQLite database");
        }
        if (applicationId != ArchiveStore::kApplicationId) {
            return Refuse(OutputFailure::Kind::NotAnArchive, "not an archive of this program");
        }
        if (version != ArchiveStore::kVersion) {
            return Refuse(OutputFailure::Kind::NotAnArchive,
                          "an archive of version " + std::to_string(version) + ", not " +
                              std::to_string(ArchiveStore::kVersion));
        }
        if (!store_.Exec("PRAGMA cache_size = -65536; BEGIN IMMEDIATE", detail_) ||
            !store_.ReadFacts(facts_, detail_)) {
            return Failed();
        }
        std::size_t held = 0;
        if (!Matches(held)) {
            return false;
        }
        if (!Add(held) || !Finish()) {
            return Failed();
        }
        return Close();
    }

    const std::string& detail() const { return detail_; }

private:
    // Whether the archive holds this history's list: the same owner and member, as many
    // events as the list has up to its last entry, and the samples as the history has them.
    // `held` is then where the list's new events start.
    bool Matches(std::size_t& held) {
        if (facts_.owner != options_.owner) {
            const auto name = [](const std::optional<std::int32_t>& owner) {
                return owner ? std::to_string(*owner) : std::string("unknown");
            };
            return Refuse(OutputFailure::Kind::OtherHistory,
                          "it is the archive of another history (owner " + name(facts_.owner) +
                              ", this one's " + name(options_.owner) + ")");
        }
        if (facts_.member != key_) {
            return Refuse(OutputFailure::Kind::OtherHistory, "it holds the events of member " +
                                                                 std::to_string(facts_.member) +
                                                                 ", not " + std::to_string(key_));
        }
        const std::vector<EventRef>& refs = db_.Refs(key_);
        const auto end = std::upper_bound(
            refs.begin(), refs.end(), facts_.lastEntry,
            [](std::int64_t entry, const EventRef& ref) { return entry < ref.entryNumber; });
        held = static_cast<std::size_t>(end - refs.begin());
        const auto count = static_cast<std::int64_t>(held);
        bool same = count == facts_.events;
        for (std::int64_t k = 0; same && count > 0 && k < std::min(kSamples, count); ++k) {
            const std::int64_t index = k == 0 ? count - 1 : (count - 1) * (k - 1) / (kSamples - 1);
            if (!SameEvent(refs, static_cast<std::int32_t>(index), same)) {
                return Failed();
            }
        }
        return same || Refuse(OutputFailure::Kind::OtherHistory,
                              "its events differ from this history's (another history, or "
                              "this one rewritten)");
    }

    bool SameEvent(const std::vector<EventRef>& refs, std::int32_t index, bool& same) {
        const std::int32_t entry = refs[static_cast<std::size_t>(index)].entryNumber;
        bool found = false;
        if (!store_.ReadStored(entry, stored_, found, detail_)) {
            return false;
        }
        const bool decoded = db_.ReadEvent(key_, index, record_);
        const ArchiveRow& now = rows_.Make(ExportEvent{record_, decoded, entry});
        same = found && stored_.decoded == now.decoded && stored_.type == now.type &&
               stored_.text == now.text &&
               (!now.decoded || (stored_.timeUtc == now.timeUtc && stored_.uin == now.uin));
        return true;
    }

    // The list's events from index `first` on, oldest first, then the names and the facts.
    // The newest few that cannot be decoded may be still being written: they wait for the
    // next run, which would otherwise find them changed and take the history for another.
    bool Add(std::size_t first) {
        const std::int32_t count = db_.EventCount(key_);
        const auto from =
            static_cast<std::int32_t>(std::min(first, static_cast<std::size_t>(count)));
        std::int32_t end = count;
        while (end > from && count - end < kUnfinished && !db_.ReadEvent(key_, end - 1, record_)) {
            --end;
        }
        if (count - end == kUnfinished) {
            end = count;  // so many are damage, not a write in progress
        }
        RowSelection rows = RowSelection::All();
        if (from > 0 || end < count) {
            std::vector<std::int32_t> chosen;
            chosen.reserve(static_cast<std::size_t>(end - from));
            for (std::int32_t row = count - end; row < count - from; ++row) {
                chosen.push_back(row);
            }
            rows = RowSelection::Rows(std::move(chosen));
        }
        const ExportVisitor visit = [this](const ExportEvent& event, std::string& error) {
            if (WritesInterrupted()) {
                interrupted_ = true;
                return false;
            }
            ++result_.added;
            return store_.Insert(rows_.Make(event), error);
        };
        if (!VisitExportRows(db_, key_, rows, true, visit, detail_)) {
            return false;
        }
        std::int64_t renamed = 0;
        for (const auto& [member, unused] : db_.members()) {
            if (member != ALL_MEMBERS &&
                !store_.Name(member, ExportMemberName(db_, member), renamed, detail_)) {
                return false;
            }
        }
        facts_.owner = options_.owner;
        facts_.member = key_;
        facts_.events += result_.added;
        return store_.WriteFacts(facts_, detail_);
    }

    bool Finish() {
        if (WritesInterrupted()) {
            interrupted_ = true;
            return false;
        }
        return store_.Exec("COMMIT", detail_);
    }

    bool Close() { return store_.Close(detail_) || Failed(); }

    bool Refuse(OutputFailure::Kind kind, std::string why) {
        detail_ = std::move(why);
        result_.failure.kind = kind;
        return false;
    }

    bool Failed() {
        result_.failure.kind =
            interrupted_ ? OutputFailure::Kind::Interrupted : OutputFailure::Kind::Archive;
        return false;
    }

    MessageDatabase& db_;
    std::int32_t key_;
    const ExportOptions& options_;
    ExportResult& result_;
    ArchiveStore store_;
    ArchiveFacts facts_;
    RowMaker rows_;
    ArchiveRow stored_;
    EventRecord record_;
    std::string detail_;
    bool interrupted_ = false;
};

ExportResult Finished(ExportResult result, const std::string& path, const std::string& detail) {
    result.ok = !result.failure;
    if (!result.ok) {
        result.failure.path = path;
        result.failure.detail = detail;
        result.added = 0;
        result.error = OutputFailureText(result.failure);
    }
    return result;
}

}  // namespace

ExportResult WriteSqliteArchive(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
                                const std::string& path,
                                const std::vector<std::string>& protectedFiles) {
    ExportResult result;
    ReplacingFile file;
    ProtectHistoryFiles(file, db, protectedFiles);
    if (!file.Admit(path, result.error)) {
        result.failure = file.failure();
        return result;
    }
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        result.failure.kind = OutputFailure::Kind::NotAnArchive;
        return Finished(result, path, "an archive is a regular file");
    }
    ArchiveRun run(db, key, options, result);
    if (exists && st.st_size > 0 && !options.rebuild) {
        run.Update(path);
        return Finished(result, path, run.detail());
    }
    if (!file.Open(path, result.error)) {
        result.failure = file.failure();
        return result;
    }
    if (file.temporaryPath().empty()) {
        result.failure.kind = OutputFailure::Kind::NotAnArchive;
        return Finished(result, path, "an archive is a regular file of its own");
    }
    if (run.Build(file.temporaryPath()) && !file.Commit(result.error)) {
        result.failure = file.failure();
        result.added = 0;
        return result;
    }
    return Finished(result, path, run.detail());
}
