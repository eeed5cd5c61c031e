#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/ExportText.h"

class MessageDatabase;

// Member `key`'s list as an SQLite archive at `path` (README: "The SQLite archive"):
// - no file there (or an empty one), or `options.rebuild`: a new archive is written under
//   a temporary name beside it and renamed into place once complete, as ReplacingFile
//   does for the other formats;
// - an archive of this history: the events it lacks (by entry number) are added and the
//   members' names brought up to date, in one transaction, after a look at a spread of the
//   events it holds shows them still in the history. `added` says how many there were.
// An archive of another list or history, or a file that is no archive, is refused and left
// as it is (kinds NotAnArchive, OtherHistory); an interruption leaves the previous
// archive as it was. The history's own files and `protectedFiles` are never written.
ExportResult WriteSqliteArchive(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
                                const std::string& path,
                                const std::vector<std::string>& protectedFiles);
