#pragma once

#include <string>

// What the stock sqlite3 shell prints for `sql` on the database `file`: one line per row,
// columns split by TAB. A failing shell fails the calling test and gives "".
std::string SqliteShell(const std::string& file, const std::string& sql);
