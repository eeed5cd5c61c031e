#pragma once

#include <string>
#include <string_view>

// Where an export's bytes go: a file replaced on success, standard output, a buffer.
class ExportOutput {
public:
    virtual ~ExportOutput() = default;
    // False with the reason in `error` when the bytes could not be written.
    virtual bool Write(std::string_view bytes, std::string& error) = 0;
};
