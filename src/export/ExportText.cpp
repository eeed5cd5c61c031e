#include "export/ExportText.h"

#include <algorithm>

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "database/RecordWalker.h"
#include "export/ExportWriter.h"
#include "export/ReplacingFile.h"

namespace {

// Output is written in pieces of about this size, so memory does not grow with the rows.
constexpr std::size_t kWriteChunk = 256 * 1024;

// Feeds the chosen rows to the writer, one decoded event at a time.
class ExportRun {
public:
    ExportRun(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
              ExportOutput& output)
        : db_(db),
          key_(key),
          refs_(db.Refs(key)),
          output_(output),
          writer_(MakeExportWriter(db, key, options)),
          walker_(db) {
        writer_->Begin(buffer_);
    }

    bool Row(std::int32_t rowCount, std::int32_t row, std::string& error) {
        const std::int32_t index = RowToIndex(rowCount, row);
        const bool decoded = db_.ReadEvent(key_, index, record_);
        return Write(record_, decoded, index, error);
    }

    bool OldestFirst() const { return writer_->OldestFirst(); }

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

    bool Finish(std::string& error) {
        writer_->End(buffer_);
        return Flush(error);
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
        writer_->Event(ExportEvent{record, decoded, entry}, buffer_);
        return buffer_.size() < kWriteChunk || Flush(error);
    }

    bool Flush(std::string& error) {
        const bool written = buffer_.empty() || output_.Write(buffer_, error);
        buffer_.clear();
        return written;
    }

    MessageDatabase& db_;
    std::int32_t key_;
    const std::vector<EventRef>& refs_;  // the index is not read again during an export
    ExportOutput& output_;
    std::unique_ptr<ExportWriter> writer_;
    EventRecord record_;  // our own: the list's remembered record stays as it is
    std::string buffer_;
    RecordWalker walker_;
    std::vector<Walked> run_;
    std::uint64_t lastBlock_ = 0;
};

}  // namespace

ExportResult ExportRows(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const ExportOptions& options, ExportOutput& output) {
    ExportResult result;
    ExportRun run(db, key, options, output);
    const std::int32_t rowCount = db.EventCount(key);
    if (rows.IsAll()) {
        if (!run.All(rowCount, result.error)) {
            return result;
        }
    } else {
        const std::vector<std::int32_t>& chosen = rows.rows();
        const bool backward = run.OldestFirst();
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            const std::int32_t row = chosen[backward ? chosen.size() - 1 - i : i];
            if (row >= 0 && row < rowCount && !run.Row(rowCount, row, result.error)) {
                return result;
            }
        }
    }
    result.ok = run.Finish(result.error);
    return result;
}

ExportResult ExportToFile(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                          const ExportOptions& options, const std::string& path,
                          const std::vector<std::string>& protectedFiles) {
    ExportResult result;
    ReplacingFile file;
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
