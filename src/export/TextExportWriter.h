#pragma once

#include <string>

#include "export/ExportBlock.h"
#include "export/ExportWriter.h"

// The six-line blocks of the window's text export, optionally converted per block.
class TextExportWriter final : public ExportWriter {
public:
    TextExportWriter(MessageDatabase& db, ExportTransform transform)
        : block_(db), transform_(std::move(transform)) {}

    void Event(const ExportEvent& event, std::string& out) override;

private:
    ExportBlock block_;
    ExportTransform transform_;
    std::string blockBytes_;
};
