#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliApp.h"

// export KEY -o FILE|- [--format text|csv|json|jsonl|html] [--rows ROWS]
//        [--encoding shift-jis|utf-8] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//        [--split year|month|day]
// export KEY -o FILE --format sqlite [--rebuild]
const CliCommand& ExportCommand();

// Row numbers of a list such as "0,2-4,9", each below `rowCount`; std::nullopt with the
// reason in `error` otherwise.
std::optional<std::vector<std::int32_t>> ParseRowList(const std::string& list,
                                                      std::int32_t rowCount, std::string& error);
