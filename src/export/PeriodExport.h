#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportFormat.h"
#include "export/ExportText.h"
#include "export/RowSelection.h"

class MessageDatabase;

// How an export is cut into files: not at all, or one file per year, month or day.
enum class ExportSplit { None, Year, Month, Day };

// "year", "month", "day" (and "none").
std::optional<ExportSplit> ParseExportSplit(std::string_view name);

// The name of the file for the period of `split` that holds the local calendar time `time`:
// `path` with "-2026", "-2026-03" or "-2026-03-08" put before the extension of its last
// part (talk.csv -> talk-2026-03.csv), or at its end when that part has none.
std::string SplitFileName(const std::string& path, ExportSplit split, const std::tm& time);

// Hears of each file once it is in place.
using WrittenFile = std::function<void(const std::string& path)>;

// Writes member `key`'s chosen rows that lie in `options.period` as ExportToFile does:
// without a split into `path`, otherwise into one file per period that has events (see
// SplitFileName). The period of an event is its date as the list shows it; an event that
// failed to decode has no date and goes into no split file. Each file is a complete
// document of its format, with the events in the order of an export without a split, and
// is put in place only when it has been written whole. Stops at the first file that cannot
// be written; the files already in place stay.
ExportResult ExportPeriodFiles(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                               const ExportOptions& options, ExportSplit split,
                               const std::string& path,
                               const std::vector<std::string>& protectedFiles,
                               const WrittenFile& written);
