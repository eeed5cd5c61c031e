#include "historywriter/HistoryFormat.h"

namespace {

// Little-endian fields go through small arrays, so a record costs a few appends.
void StoreU16(char* at, std::uint16_t value) {
    at[0] = static_cast<char>(value & 0xFFu);
    at[1] = static_cast<char>(value >> 8);
}

void StoreU32(char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
}

void StoreI32(char* at, std::int32_t value) {
    StoreU32(at, static_cast<std::uint32_t>(value));
}

}  // namespace

void AppendEncodedEntry(std::string& out, std::int32_t key, std::int32_t dataOffset) {
    char entry[8];
    StoreI32(entry, key);
    StoreI32(entry + 4, dataOffset);
    out.append(entry, sizeof entry);
}

void AppendEncodedRecord(std::string& out, const WriterRecord& record) {
    const std::size_t field = record.text.size() + (record.terminate ? 1 : 0);
    char head[10];
    StoreU16(head, record.marker);
    StoreU16(head + 2, record.type);
    StoreI32(head + 4, record.uin);
    StoreU16(head + 8, record.length.value_or(static_cast<std::uint16_t>(field)));
    char tail[15] = {};
    StoreU32(tail + 1, record.extra);
    StoreU32(tail + 5, record.direction);
    StoreU16(tail + 9, record.unused);
    StoreI32(tail + 11, record.stamp);
    out.append(head, sizeof head);
    out.append(record.text);
    // tail[0] is the NUL that ends the text.
    out.append(record.terminate ? tail : tail + 1, record.terminate ? 15 : 14);
}

std::string EncodeRecord(const WriterRecord& record) {
    std::string out;
    out.reserve(kWriterRecordOverhead + record.text.size() + 1);
    AppendEncodedRecord(out, record);
    return out;
}

std::string EncodeIndexEntry(std::int32_t key, std::int32_t dataOffset) {
    std::string out;
    AppendEncodedEntry(out, key, dataOffset);
    return out;
}

HistoryPaths HistoryPathsFor(const std::string& folder, std::int32_t uin) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/') {
        base.push_back('/');
    }
    base += std::to_string(uin);
    return {base + "msg.dat", base + "msg.idx"};
}
