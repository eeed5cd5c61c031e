// Fuzzes the index pass: the input is an index file; every entry is followed by a look at
// its member and a decode against a fixed data file: two short records at offsets 0 and
// 27, then records of 5,000 bytes of text at 54 and of 65,535 bytes (past the read
// window) at 5,078.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "database/MessageDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem fs;
    // marker, type 1, uin 5, L 3, "ab\0", extra, direction 1, two unused bytes, time 16
    static const char kRecord[] =
        "\xA0\x00\x01\x00\x05\x00\x00\x00\x03\x00"
        "ab\x00"
        "\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x10\x00\x00\x00";
    static const std::string file = [] {
        const std::string record(kRecord, sizeof kRecord - 1);
        auto with = [&record](std::size_t length) {
            std::string r = record.substr(0, 8);
            r += static_cast<char>(length & 0xFF);
            r += static_cast<char>(length >> 8);
            r.append(length, '\x82');
            return r + record.substr(13);
        };
        return record + record + with(5000) + with(65535);
    }();
    fs.Put("d", file);
    // The second half of the input is appended later, as the messenger would.
    const std::size_t half = size / 2;
    std::string index(reinterpret_cast<const char*>(data), half);
    fs.Put("i", index);
    MessageDatabase db(fs);
    db.Open("d", "i");
    fs.Put("i", std::string(reinterpret_cast<const char*>(data), size));
    db.Open("d", "i");  // same pair: nothing happens
    if (db.HasNewEntries()) {
        db.ReadIndex();
    }
    EventRecord event;
    std::vector<std::int32_t> keys;
    for (const auto& [key, member] : db.members()) {
        keys.push_back(key);
    }
    for (const std::int32_t key : keys) {
        for (std::int32_t i = 0; i < db.EventCount(key) && i < 64; ++i) {
            db.ReadEvent(key, i, event);
        }
    }
    if (db.FirstMember()) {
        while (db.NextMember()) {
        }
    }
    return 0;
}
