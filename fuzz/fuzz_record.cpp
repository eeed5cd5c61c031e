// Fuzzes the record decoder: the input is a data file; an index points at a few offsets
// taken from the input's first bytes, and at every offset of the first 256 bytes. Bytes 4
// to 6 stretch the file: that many copies (up to 65,535) of byte 7 follow the input, so
// that records far longer than the input (past 4 KiB, past the 64 KiB read window) are
// complete. Every event read is made into list cells.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzFiles.h"
#include "database/EventCells.h"
#include "database/MessageDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem fs;
    std::string file(reinterpret_cast<const char*>(data), size);
    if (size >= 8) {
        const std::size_t stretch = (data[4] | static_cast<std::size_t>(data[5]) << 8) *
                                    static_cast<std::size_t>(data[6] & 1);
        file.append(stretch, static_cast<char>(data[7]));
    }
    fs.Put("d", std::move(file));
    std::string index(10, '\0');
    auto entry = [&index](std::int32_t key, std::int32_t offset) {
        char bytes[8];
        std::memcpy(bytes, &key, 4);
        std::memcpy(bytes + 4, &offset, 4);
        index.append(bytes, 8);
    };
    for (std::int32_t offset = 0; offset < 256 && static_cast<std::size_t>(offset) < size;
         ++offset) {
        entry(7, offset);
    }
    if (size >= 4) {
        std::int32_t wild;
        std::memcpy(&wild, data, 4);
        entry(9, wild);
    }
    fs.Put("i", index);
    MessageDatabase db(fs);
    if (!db.Open("d", "i")) {
        return 0;
    }
    EventRecord event;
    EventCells cells;
    std::uint32_t direction = 0;
    for (std::int32_t key : {7, 9}) {
        const std::int32_t n = db.EventCount(key);
        for (std::int32_t i = 0; i < n; ++i) {
            FillEventCells(db, event, db.ReadEvent(key, i, event), cells);
            db.ReadDirection(key, i, direction);
        }
    }
    return 0;
}
