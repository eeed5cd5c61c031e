#include "export/ExportText.h"

#include <algorithm>

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "database/RecordWalker.h"
#include "export/ExportWriter.h"
#include "export/ReplacingFile.h"
#include "export/SqliteArchive.h"

namespace {

// Output is written in pieces of about this size, so memory does not grow with the rows.
constexpr std::size_t kWriteChunk = 256 * 1024;

// Feeds the chosen rows to a visitor, one decoded event at a time.
class ExportRun {
public:
    ExportRun(MessageDatabase& db, std::int32_t key, bool oldestFirst, const ExportVisitor& visit)
        : db_(db),
          key_(key),
          refs_(db.Refs(key)),
          visit_(visit),
          oldestFirst_(oldestFirst),
          walker_(db) {}

    bool Row(std::int32_t rowCount, std::int32_t row, std::string& error) {
        const std::int32_t index = RowToIndex(rowCount, row);
        const bool decoded = db_.ReadEvent(key_, index, record_);
        return Write(record_, decoded, index, error);
    }

    bool OldestFirst() const { return oldestFirst_; }

    // Every row: the records are read in large blocks, a run of them at a time in file
    // order, and written in row order (newest first) or, for a writer that wants it, the
    // other way round. A list whose records lie far apart (one member among many) gains
    // nothing from blocks and is read record by record after its first run.
    bool All(std::int32_t rowCount, std::string& error) {
        run_.resize(static_cast<std::size_t>(std::min(rowCount, kRun)));
        const bool forward = OldestFirst();
        bool walk = true;
        for (std::int32_t done = 0; done < rowCount;) {
            const std::int32_t size = std::min(kRun, rowCount - done);
            const std::int32_t low = forward ? done : rowCount - done - size;
            if (walk) {
                ReadRun(low, size);
            }
            std::int32_t walked = 0;
            for (std::int32_t k = 0; k < size; ++k) {
                const std::int32_t at = forward ? k : size - 1 - k;
                const Walked& slot = run_[static_cast<std::size_t>(at)];
                bool decoded = false;
                if (walk && slot.whole && slot.block == lastBlock_) {
                    decoded = MessageDatabase::DecodeComplete(slot.fields, slot.p, record_);
                    walked += decoded ? 1 : 0;
                }
                if (!decoded) {
                    decoded = db_.ReadEvent(key_, low + at, record_);
                }
                if (!Write(record_, decoded, low + at, error)) {
                    return false;
                }
            }
            walk = walk && walked * 2 >= size;
            done += size;
        }
        return true;
    }

private:
    // A record of the run as the walk read it. Its bytes stay valid while they belong to
    // the walk's last block.
    struct Walked {
        RecordFields fields;
        const std::uint8_t* p = nullptr;
        std::uint64_t block = 0;
        bool whole = false;  // read completely
    };
    static constexpr std::int32_t kRun = 1024;

    // Reads the records of the events [low, low + size).
    void ReadRun(std::int32_t low, std::int32_t size) {
        const auto first = static_cast<std::size_t>(low);
        walker_.Walk(refs_, first, first + static_cast<std::size_t>(size),
                     [&](std::size_t index, const RecordBytes& bytes) {
                         Walked& slot = run_[index - first];
                         slot.fields = bytes.fields;
                         slot.p = bytes.p;
                         slot.block = bytes.block;
                         slot.whole = !bytes.redo && bytes.fields.state == RecordState::Complete;
                         lastBlock_ = bytes.block;
                     });
    }

    bool Write(const EventRecord& record, bool decoded, std::int32_t index, std::string& error) {
        const std::int32_t entry = refs_[static_cast<std::size_t>(index)].entryNumber;
        return visit_(ExportEvent{record, decoded, entry}, error);
    }

    MessageDatabase& db_;
    std::int32_t key_;
    const std::vector<EventRef>& refs_;  // the index is not read again during an export
    const ExportVisitor& visit_;
    bool oldestFirst_;
    EventRecord record_;  // our own: the list's remembered record stays as it is
    RecordWalker walker_;
    std::vector<Walked> run_;
    std::uint64_t lastBlock_ = 0;
};

}  // namespace

bool VisitExportRows(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                     bool oldestFirst, const ExportVisitor& visit, std::string& error) {
    ExportRun run(db, key, oldestFirst, visit);
    const std::int32_t rowCount = db.EventCount(key);
    if (rows.IsAll()) {
        return run.All(rowCount, error);
    }
    const std::vector<std::int32_t>& chosen = rows.rows();
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::int32_t row = chosen[oldestFirst ? chosen.size() - 1 - i : i];
        if (row >= 0 && row < rowCount && !run.Row(rowCount, row, error)) {
            return false;
        }
    }
    return true;
}

bool ExportDocument::Begin(std::string& error) {
    writer_->Begin(buffer_);
    return Flush(error);
}

bool ExportDocument::Event(const ExportEvent& event, std::string& error) {
    writer_->Event(event, buffer_);
    return buffer_.size() < kWriteChunk || Flush(error);
}

bool ExportDocument::End(std::string& error) {
    writer_->End(buffer_);
    return Flush(error);
}

bool ExportDocument::Flush(std::string& error) {
    const bool written = buffer_.empty() || output_.Write(buffer_, error);
    buffer_.clear();
    return written;
}

ExportDocument::ExportDocument(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
                               ExportOutput& output)
    : output_(output), writer_(MakeExportWriter(db, key, options)) {}

ExportDocument::~ExportDocument() = default;

bool ExportDocument::OldestFirst() const {
    return writer_->OldestFirst();
}

ExportResult ExportRows(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const ExportOptions& options, ExportOutput& output) {
    ExportResult result;
    ExportDocument document(db, key, options, output);
    const ExportPeriod& period = options.period;
    const ExportVisitor visit = [&](const ExportEvent& event, std::string& error) {
        return !period.Holds(event.record, event.decoded) || document.Event(event, error);
    };
    result.ok = document.Begin(result.error) &&
                VisitExportRows(db, key, rows, document.OldestFirst(), visit, result.error) &&
                document.End(result.error);
    return result;
}

void ProtectHistoryFiles(ReplacingFile& file, const MessageDatabase& db,
                         const std::vector<std::string>& protectedFiles) {
    for (const FileIdentity& open : {db.DataFileIdentity(), db.IndexFileIdentity()}) {
        if (open.valid) {
            file.Protect(open.device, open.inode, OutputFailure::Kind::HistoryFile);
        }
    }
    if (db.loaded()) {
        file.ProtectPath(db.dataPath(), OutputFailure::Kind::HistoryFile);
        file.ProtectPath(db.indexPath(), OutputFailure::Kind::HistoryFile);
    }
    for (const std::string& other : protectedFiles) {
        file.ProtectPath(other, OutputFailure::Kind::ProtectedFile);
    }
}

ExportResult ExportToFile(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                          const ExportOptions& options, const std::string& path,
                          const std::vector<std::string>& protectedFiles) {
    if (options.format == ExportFormat::Sqlite) {
        return WriteSqliteArchive(db, key, options, path, protectedFiles);
    }
    ExportResult result;
    ReplacingFile file;
    ProtectHistoryFiles(file, db, protectedFiles);
    if (file.Open(path, result.error)) {
        result = ExportRows(db, key, rows, options, file);
        if (result.ok) {
            result.ok = file.Commit(result.error);
        }
    }
    result.failure = file.failure();
    return result;
}

ExportResult ExportText(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const std::string& path, const ExportTransform& transform) {
    ExportOptions options;
    options.transform = transform;
    return ExportToFile(db, key, rows, options, path);
}
