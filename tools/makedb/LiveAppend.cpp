#include "makedb/LiveAppend.h"

#include "makedb/DemoPhrases.h"
#include "makedb/PhraseEncoder.h"
#include "makedb/Random.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <thread>
#include <vector>

namespace {

// Members of an existing index: keys before the first zero key, without the fixed ones.
std::vector<std::int32_t> KnownKeys(const std::string& indexPath) {
    std::ifstream in(indexPath, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::set<std::int32_t> keys;
    for (std::size_t at = kWriterIndexHeaderSize; at + kWriterIndexEntrySize <= bytes.size();
         at += kWriterIndexEntrySize) {
        std::uint32_t word = 0;
        for (std::size_t i = 4; i-- > 0;) {
            word = (word << 8) | static_cast<unsigned char>(bytes[at + i]);
        }
        const auto key = static_cast<std::int32_t>(word);
        if (key == 0) {
            break;
        }
        if (key > 10) {
            keys.insert(key);
        }
    }
    return {keys.begin(), keys.end()};
}

void Sleep(std::int64_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

bool AppendLive(HistoryWriter& writer, const std::string& indexPath, const LiveOptions& options,
                std::ostream& out, std::string& error) {
    if (writer.EntryPending()) {
        error = indexPath + ": the last index entry has no offset";
        return false;
    }
    Random random(options.seed);
    PhraseEncoder encoder;
    std::vector<std::int32_t> keys = KnownKeys(indexPath);
    if (keys.empty()) {
        keys = {3456123, 345612};
    }
    const auto& talks = Phrases().friendTalks;
    // Long enough for a reader to meet the half-written entry now and then.
    const std::int64_t keyPause = std::clamp<std::int64_t>(options.intervalMs / 4, 1, 50);
    for (std::int64_t i = 0; i < options.count; ++i) {
        if (i > 0) {
            Sleep(options.intervalMs);
        }
        const Dialogue& talk = random.Pick(talks);
        const std::string_view line = talk[random.Below(talk.size())];
        WriterRecord record;
        record.uin = random.Pick(keys);
        record.text = encoder.Encode(line.substr(1));
        record.direction = line.front() == '>' ? 1 : 0;
        record.stamp = static_cast<std::int32_t>(std::time(nullptr));
        const std::int32_t offset = writer.AppendRecord(record);
        const std::int64_t entry = writer.NextEntry();
        writer.AppendEntryKey(record.uin);
        Sleep(keyPause);
        writer.CompleteEntryOffset(offset);
        if (!writer.Ok()) {
            error = writer.Error();
            return false;
        }
        if (!options.quiet) {
            out << "entry " << entry << ": key " << record.uin << ", offset " << offset
                << std::endl;
        }
    }
    if (!encoder.Ok()) {
        error = encoder.Failure();
        return false;
    }
    return true;
}
