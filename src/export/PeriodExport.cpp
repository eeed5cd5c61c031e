#include "export/PeriodExport.h"

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <utility>

#include "database/EventRecord.h"
#include "export/ExportWriter.h"
#include "export/ReplacingFile.h"

namespace {

constexpr std::array<std::pair<std::string_view, ExportSplit>, 4> kSplitNames = {{
    {"none", ExportSplit::None},
    {"year", ExportSplit::Year},
    {"month", ExportSplit::Month},
    {"day", ExportSplit::Day},
}};

// The period of a calendar time as one number, year * 10000 + month * 100 + day, with the
// parts finer than the split left at 0.
int PeriodKey(ExportSplit split, const std::tm& time) {
    const int year = time.tm_year + 1900;
    switch (split) {
        case ExportSplit::Year:
            return year * 10000;
        case ExportSplit::Month:
            return year * 10000 + (time.tm_mon + 1) * 100;
        case ExportSplit::Day:
            return year * 10000 + (time.tm_mon + 1) * 100 + time.tm_mday;
        case ExportSplit::None:
            break;
    }
    return 0;
}

std::tm TimeOfKey(int key) {
    std::tm time{};
    time.tm_year = key / 10000 - 1900;
    time.tm_mon = key / 100 % 100 - 1;
    time.tm_mday = key % 100;
    return time;
}

bool Dated(const ExportEvent& event) {
    return event.decoded && event.record.stampRead;
}

// Writes the split files, one open at a time.
class SplitRun {
public:
    SplitRun(MessageDatabase& db, std::int32_t key, const ExportOptions& options, ExportSplit split,
             const std::string& path, const std::vector<std::string>& protectedFiles,
             const WrittenFile& written)
        : db_(db),
          key_(key),
          options_(options),
          split_(split),
          path_(path),
          protectedFiles_(protectedFiles),
          written_(written) {}

    // The events of the periods in file order; with `only`, those of that period alone.
    bool Pass(const RowSelection& rows, bool oldestFirst, std::optional<int> only,
              std::string& error) {
        const ExportVisitor visit = [&](const ExportEvent& event, std::string& why) {
            if (!Dated(event) || !options_.period.Holds(event.record, event.decoded)) {
                return true;
            }
            const int period = PeriodKey(split_, event.record.time);
            if (only && period != *only) {
                return true;
            }
            if (!document_ || period != current_) {
                if ((document_ && !Close(why)) || !Open(period, why)) {
                    return false;
                }
            }
            return document_->Event(event, why);
        };
        return VisitExportRows(db_, key_, rows, oldestFirst, visit, error) &&
               (!document_ || Close(error));
    }

    OutputFailure failure() const { return file_ ? file_->failure() : OutputFailure{}; }

private:
    bool Open(int period, std::string& error) {
        current_ = period;
        name_ = SplitFileName(path_, split_, TimeOfKey(period));
        file_ = std::make_unique<ReplacingFile>();
        ProtectHistoryFiles(*file_, db_, protectedFiles_);
        if (!file_->Open(name_, error)) {
            return false;
        }
        document_ = std::make_unique<ExportDocument>(db_, key_, options_, *file_);
        return document_->Begin(error);
    }

    bool Close(std::string& error) {
        if (!document_->End(error) || !file_->Commit(error)) {
            return false;
        }
        document_.reset();
        file_.reset();
        if (written_) {
            written_(name_);
        }
        return true;
    }

    MessageDatabase& db_;
    std::int32_t key_;
    const ExportOptions& options_;
    ExportSplit split_;
    const std::string& path_;
    const std::vector<std::string>& protectedFiles_;
    const WrittenFile& written_;
    int current_ = 0;
    std::string name_;
    std::unique_ptr<ReplacingFile> file_;
    std::unique_ptr<ExportDocument> document_;
};

// The periods that have events, in the order their first events come, and whether each
// period's events come together (as they do when the times run in order).
struct PeriodScan {
    std::vector<int> periods;
    bool together = true;
};

PeriodScan ScanPeriods(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                       const ExportOptions& options, ExportSplit split, bool oldestFirst) {
    PeriodScan scan;
    std::set<int> seen;
    const ExportVisitor visit = [&](const ExportEvent& event, std::string&) {
        if (!Dated(event) || !options.period.Holds(event.record, event.decoded)) {
            return true;
        }
        const int period = PeriodKey(split, event.record.time);
        if (!scan.periods.empty() && scan.periods.back() == period) {
            return true;
        }
        if (seen.insert(period).second) {
            scan.periods.push_back(period);
        } else {
            scan.together = false;
        }
        return true;
    };
    std::string unused;
    VisitExportRows(db, key, rows, oldestFirst, visit, unused);
    return scan;
}

}  // namespace

std::optional<ExportSplit> ParseExportSplit(std::string_view name) {
    for (const auto& [text, split] : kSplitNames) {
        if (name == text) {
            return split;
        }
    }
    return std::nullopt;
}

std::string SplitFileName(const std::string& path, ExportSplit split, const std::tm& time) {
    std::array<char, 32> suffix{};
    const int year = time.tm_year + 1900;
    const int month = time.tm_mon + 1;
    switch (split) {
        case ExportSplit::Year:
            std::snprintf(suffix.data(), suffix.size(), "-%04d", year);
            break;
        case ExportSplit::Month:
            std::snprintf(suffix.data(), suffix.size(), "-%04d-%02d", year, month);
            break;
        case ExportSplit::Day:
            std::snprintf(suffix.data(), suffix.size(), "-%04d-%02d-%02d", year, month,
                          time.tm_mday);
            break;
        case ExportSplit::None:
            return path;
    }
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    // A dot that starts the name (".talk") makes no extension.
    if (dot == std::string::npos || dot <= nameStart) {
        return path + suffix.data();
    }
    return path.substr(0, dot) + suffix.data() + path.substr(dot);
}

ExportResult ExportPeriodFiles(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                               const ExportOptions& options, ExportSplit split,
                               const std::string& path,
                               const std::vector<std::string>& protectedFiles,
                               const WrittenFile& written) {
    if (split == ExportSplit::None) {
        ExportResult result = ExportToFile(db, key, rows, options, path, protectedFiles);
        if (result.ok && written) {
            written(path);
        }
        return result;
    }
    const bool oldestFirst = MakeExportWriter(db, key, options)->OldestFirst();
    // A period whose events are spread out (times out of order) is written in a pass of its
    // own, so that no file is put in place before it is complete.
    const PeriodScan scan = ScanPeriods(db, key, rows, options, split, oldestFirst);
    ExportResult result;
    SplitRun run(db, key, options, split, path, protectedFiles, written);
    if (scan.together) {
        result.ok = run.Pass(rows, oldestFirst, std::nullopt, result.error);
    } else {
        result.ok = true;
        for (const int period : scan.periods) {
            if (!run.Pass(rows, oldestFirst, period, result.error)) {
                result.ok = false;
                break;
            }
        }
    }
    if (!result.ok) {
        result.failure = run.failure();
    }
    return result;
}
