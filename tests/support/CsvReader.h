#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An RFC 4180 reader: records end in CR LF (the last one may lack it), fields are split by
// commas, a quoted field may hold commas, CR, LF and doubled quotes. std::nullopt for text
// that breaks the rules (a quote inside an unquoted field, text after a closing quote, an
// unclosed quote, a bare CR or LF between records).
std::optional<std::vector<std::vector<std::string>>> ReadCsv(std::string_view text);
