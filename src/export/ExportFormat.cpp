#include "export/ExportFormat.h"

#include <array>
#include <charconv>
#include <utility>

#include "database/EventRecord.h"

namespace {

constexpr std::array<std::pair<std::string_view, ExportFormat>, 6> kNames = {{
    {"text", ExportFormat::Text},
    {"csv", ExportFormat::Csv},
    {"json", ExportFormat::Json},
    {"jsonl", ExportFormat::JsonLines},
    {"html", ExportFormat::Html},
    {"sqlite", ExportFormat::Sqlite},
}};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) {
        return false;
    }
    text.remove_prefix(text.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (Lower(text[i]) != end[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<ExportFormat> ParseExportFormat(std::string_view name) {
    for (const auto& [text, format] : kNames) {
        if (name == text) {
            return format;
        }
    }
    return std::nullopt;
}

std::string_view ExportFormatName(ExportFormat format) {
    for (const auto& [text, candidate] : kNames) {
        if (candidate == format) {
            return text;
        }
    }
    return "text";
}

std::optional<ExportFormat> ExportFormatForFileName(std::string_view path) {
    constexpr std::array<std::pair<std::string_view, ExportFormat>, 7> kExtensions = {{
        {".txt", ExportFormat::Text},
        {".csv", ExportFormat::Csv},
        {".json", ExportFormat::Json},
        {".jsonl", ExportFormat::JsonLines},
        {".html", ExportFormat::Html},
        {".htm", ExportFormat::Html},
        {".sqlite", ExportFormat::Sqlite},
    }};
    for (const auto& [extension, format] : kExtensions) {
        if (EndsWithNoCase(path, extension)) {
            return format;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> OwnerFromDataFile(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::string_view kTail = "msg.dat";
    if (!EndsWithNoCase(name, kTail) || name.size() == kTail.size()) {
        return std::nullopt;
    }
    name.remove_suffix(kTail.size());
    std::int32_t uin = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), uin);
    if (ec != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return uin;
}

bool ExportPeriod::Holds(const EventRecord& record, bool decoded) const {
    return !limited ||
           (decoded && record.stampRead && start <= record.timeValue && record.timeValue < end);
}
