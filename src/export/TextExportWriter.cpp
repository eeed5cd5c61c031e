#include "export/TextExportWriter.h"

void TextExportWriter::Event(const ExportEvent& event, std::string& out) {
    if (!transform_) {
        block_.Append(event.record, event.decoded, out);
        return;
    }
    blockBytes_.clear();
    block_.Append(event.record, event.decoded, blockBytes_);
    transform_(blockBytes_, out);
}
