#include "export/ExportWriter.h"

#include "export/CsvExportWriter.h"
#include "export/HtmlExportWriter.h"
#include "export/JsonExportWriter.h"
#include "export/TextExportWriter.h"

void ExportWriter::Begin(std::string&) {}

void ExportWriter::End(std::string&) {}

std::unique_ptr<ExportWriter> MakeExportWriter(MessageDatabase& db, std::int32_t key,
                                               const ExportOptions& options) {
    switch (options.format) {
        case ExportFormat::Csv:
            return std::make_unique<CsvExportWriter>(db);
        case ExportFormat::Json:
            return std::make_unique<JsonExportWriter>(db, key, options, false);
        case ExportFormat::JsonLines:
            return std::make_unique<JsonExportWriter>(db, key, options, true);
        case ExportFormat::Html:
            return std::make_unique<HtmlExportWriter>(db, key, options);
        case ExportFormat::Text:
        case ExportFormat::Sqlite:  // not a stream of bytes: see SqliteArchive.h
            break;
    }
    return std::make_unique<TextExportWriter>(db, options.transform);
}
