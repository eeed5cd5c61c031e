// Fuzzes the export in every format: the input's first byte picks the rows, the member
// names and the format, the rest is a data file that an index points into at every offset
// of its first bytes and at a few wild ones. Each output is checked: the UTF-8 formats are
// valid UTF-8, the CSV reads back as one record per row, JSON Lines has one line per row,
// and the page holds no element that history text could have smuggled in.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "support/CsvReader.h"
#include "text/ShiftJis.h"

namespace {

class MemoryOutput final : public ExportOutput {
public:
    bool Write(std::string_view bytes, std::string&) override {
        bytes_.append(bytes);
        return true;
    }
    std::string bytes_;
};

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

std::size_t CountOf(std::string_view text, std::string_view part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

void CheckOutput(ExportFormat format, const std::string& out, std::int32_t rows) {
    if (format == ExportFormat::Text) {
        return;
    }
    Check(IsUtf8(out));
    if (format == ExportFormat::Csv) {
        const auto records = ReadCsv(std::string_view(out).substr(3));
        Check(records.has_value() && records->size() == static_cast<std::size_t>(rows) + 1);
        for (const auto& record : *records) {
            Check(record.size() == 10);
        }
    } else if (format == ExportFormat::JsonLines) {
        Check(CountOf(out, "\n") == static_cast<std::size_t>(rows));
    } else if (format == ExportFormat::Html) {
        Check(CountOf(out, "<div ") == static_cast<std::size_t>(rows));
        Check(CountOf(out, "<script") == 0 && CountOf(out, "<img") == 0);
        Check(CountOf(out, "href=\"javascript") == 0 && CountOf(out, "href=\"data") == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    MemoryFileSystem fs;
    fs.Put("d", bytes);
    std::string index(10, '\0');
    auto entry = [&index](std::int32_t key, std::int32_t offset) {
        char raw[8];
        std::memcpy(raw, &key, 4);
        std::memcpy(raw + 4, &offset, 4);
        index.append(raw, 8);
    };
    for (std::int32_t offset = 0; offset < 64 && static_cast<std::size_t>(offset) < bytes.size();
         ++offset) {
        entry(offset % 3 == 0 ? 10 : 7, offset);
    }
    if (bytes.size() >= 8) {
        std::int32_t wild;
        std::memcpy(&wild, bytes.data() + bytes.size() - 4, 4);
        entry(9, wild);
    }
    fs.Put("i", index);
    MessageDatabase db(fs);
    if (!db.Open("d", "i")) {
        return 0;
    }
    if ((mode & 1) != 0) {
        // Names are Shift-JIS from the settings; here any bytes at all.
        db.SetMemberName(7, bytes.substr(0, 20));
    }
    const std::int32_t key = (mode & 2) != 0 ? 7 : ALL_MEMBERS;
    const std::int32_t count = db.EventCount(key);
    RowSelection rows = RowSelection::All();
    std::int32_t exported = count;
    if ((mode & 4) != 0) {
        rows = RowSelection::Rows({count - 1, 0, 2, -5, count + 3});
        exported = 0;
        for (const std::int32_t row : rows.rows()) {
            exported += row >= 0 && row < count ? 1 : 0;
        }
    }
    // One format a run: more inputs a second reach every format as often.
    constexpr ExportFormat kFormats[] = {ExportFormat::Text, ExportFormat::Csv, ExportFormat::Json,
                                         ExportFormat::JsonLines, ExportFormat::Html};
    const ExportFormat format = kFormats[(mode >> 4) % std::size(kFormats)];
    ExportOptions options;
    options.format = format;
    MemoryOutput output;
    Check(ExportRows(db, key, rows, options, output).ok);
    CheckOutput(format, output.bytes_, exported);
    if (rows.IsAll()) {
        // All rows are read in blocks (backward, and forward for HTML), chosen rows one by
        // one: the bytes agree.
        std::vector<std::int32_t> each(static_cast<std::size_t>(count));
        for (std::int32_t row = 0; row < count; ++row) {
            each[static_cast<std::size_t>(row)] = row;
        }
        MemoryOutput oneByOne;
        Check(ExportRows(db, key, RowSelection::Rows(each), options, oneByOne).ok);
        Check(oneByOne.bytes_ == output.bytes_);
    }
    return 0;
}
