#include "export/ExportText.h"

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "export/ExportBlock.h"
#include "export/ReplacingFile.h"

namespace {

// Output is written in pieces of about this size, so memory does not grow with the rows.
constexpr std::size_t kWriteChunk = 256 * 1024;

// Feeds the blocks of the chosen rows to the file, one decoded event at a time.
class ExportRun {
public:
    ExportRun(MessageDatabase& db, std::int32_t key, const ExportTransform& transform,
              ReplacingFile& file)
        : db_(db), key_(key), transform_(transform), file_(file), block_(db) {
        buffer_.reserve(kWriteChunk + 4096);
    }

    bool Row(std::int32_t rowCount, std::int32_t row, std::string& error) {
        const bool decoded = db_.ReadEvent(key_, RowToIndex(rowCount, row), record_);
        if (transform_) {
            blockBytes_.clear();
            block_.Append(record_, decoded, blockBytes_);
            transform_(blockBytes_, buffer_);
        } else {
            block_.Append(record_, decoded, buffer_);
        }
        return buffer_.size() < kWriteChunk || Flush(error);
    }

    bool Flush(std::string& error) {
        const bool written = file_.Write(buffer_, error);
        buffer_.clear();
        return written;
    }

private:
    MessageDatabase& db_;
    std::int32_t key_;
    const ExportTransform& transform_;
    ReplacingFile& file_;
    ExportBlock block_;
    EventRecord record_;  // our own: the list's remembered record stays as it is
    std::string blockBytes_;
    std::string buffer_;
};

}  // namespace

ExportResult ExportText(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const std::string& path, const ExportTransform& transform) {
    ExportResult result;
    ReplacingFile file;
    if (!file.Open(path, result.error)) {
        return result;
    }
    ExportRun run(db, key, transform, file);
    const std::int32_t rowCount = db.EventCount(key);
    if (rows.IsAll()) {
        for (std::int32_t row = 0; row < rowCount; ++row) {
            if (!run.Row(rowCount, row, result.error)) {
                return result;
            }
        }
    } else {
        for (std::int32_t row : rows.rows()) {
            if (row >= 0 && row < rowCount && !run.Row(rowCount, row, result.error)) {
                return result;
            }
        }
    }
    result.ok = run.Flush(result.error) && file.Commit(result.error);
    return result;
}
