// Fuzzes the reader against files that change between reads: appended, cut, rewritten in
// place, replaced under their names, removed and put back, with failing and short reads.
// After every change the reader is driven as the window drives it (reload a replaced
// pair, else take up new entries) and reads events. At the end, with the faults gone, the
// member table taken up piece by piece must equal that of a fresh open, unless the index
// was rewritten in place (which no reader can notice).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FuzzFiles.h"
#include "database/EventCells.h"
#include "database/MessageDatabase.h"

namespace {

const std::string kData = "d";
const std::string kIndex = "i";

template <typename T>
void Append(std::string& out, T value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof value);
}

std::string Record(std::uint16_t type, std::int32_t uin, const std::string& text,
                   std::uint32_t direction, std::uint32_t stamp) {
    std::string r;
    Append<std::uint16_t>(r, 0x00A0);
    Append(r, type);
    Append(r, uin);
    Append(r, static_cast<std::uint16_t>(text.size()));
    r += text;
    Append<std::uint32_t>(r, 0);
    Append(r, direction);
    Append<std::uint16_t>(r, 0);
    Append(r, stamp);
    return r;
}

std::string Entry(std::int32_t key, std::int32_t offset) {
    std::string e;
    Append(e, key);
    Append(e, offset);
    return e;
}

class Driver {
public:
    explicit Driver(FuzzedDataProvider& in) : in_(in), db_(fs_) {
        std::string data = Record(1, 5, "hello", 1, 1000);
        std::string index(10, '\0');
        index += Entry(5, 0);
        offsets_[1] = static_cast<std::int32_t>(data.size());
        data += Record(4, 6, std::string(300, 'u') + "\xFEhttp://x", 0, 2000);
        index += Entry(6, offsets_[1]);
        fs_.Replace(kData, data);
        fs_.Replace(kIndex, index);
        Reopen();
    }

    void Step() {
        switch (in_.ConsumeIntegralInRange(0, 10)) {
            case 0:
                AppendEntry();
                break;
            case 1:
                AppendRecord();
                break;
            case 2:
            case 3:
                if (std::string* bytes = fs_.Contents(in_.ConsumeBool() ? kIndex : kData)) {
                    bytes->resize(in_.ConsumeIntegralInRange<std::size_t>(0, bytes->size()));
                }
                break;
            case 4:
                ReplaceFile(in_.ConsumeBool() ? kIndex : kData);
                break;
            case 5:
                fs_.Remove(in_.ConsumeBool() ? kIndex : kData);
                break;
            case 6:
                RewriteIndexInPlace();
                break;
            case 7:
                fs_.failReads = !fs_.failReads;
                break;
            case 8:
                fs_.maxRead = in_.ConsumeBool() ? SIZE_MAX : in_.ConsumeIntegralInRange(1, 64);
                break;
            default:
                ReadEvents();
                break;
        }
        Follow();
        ReadEvents();
    }

    void Finish() {
        fs_.failReads = false;
        fs_.maxRead = SIZE_MAX;
        for (const std::string* name : {&kData, &kIndex}) {
            if (fs_.Contents(*name) == nullptr) {
                return;  // gone: nothing to compare
            }
        }
        Follow();
        if (!db_.loaded() || rewritten_) {
            return;
        }
        MessageDatabase fresh(fs_);
        if (!fresh.Open(kData, kIndex)) {
            return;
        }
        // Lookups add empty members: only members with events count.
        if (fresh.entryCount() != db_.entryCount() || Events(fresh) != Events(db_)) {
            std::abort();
        }
    }

private:
    using Refs = std::vector<std::pair<std::int32_t, std::int32_t>>;
    // Every member's list, built where it was not yet (so that later appends extend it).
    static std::map<std::int32_t, Refs> Events(MessageDatabase& db) {
        std::vector<std::int32_t> keys;
        for (const auto& [key, member] : db.members()) {
            keys.push_back(key);
        }
        std::map<std::int32_t, Refs> events;
        for (const std::int32_t key : keys) {
            if (static_cast<std::int32_t>(db.Refs(key).size()) != db.EventCount(key)) {
                std::abort();
            }
            for (const EventRef& ref : db.Refs(key)) {
                events[key].emplace_back(ref.dataOffset, ref.entryNumber);
            }
        }
        return events;
    }

    void Reopen() {
        db_.Close();
        db_.Open(kData, kIndex);
        rewritten_ = false;
    }

    // As the window's live check: a replaced or vanished pair is opened again; otherwise
    // new entries are taken up.
    void Follow() {
        if (!db_.loaded()) {
            Reopen();
            return;
        }
        const HistoryState state = db_.CheckForChanges().state;
        if (state == HistoryState::Replaced || state == HistoryState::Gone) {
            Reopen();
        }
    }

    void AppendEntry() {
        std::string* index = fs_.Contents(kIndex);
        if (index == nullptr) {
            return;
        }
        if (in_.ConsumeBool()) {
            *index += in_.ConsumeBytesAsString(in_.ConsumeIntegralInRange(1, 16));
            return;
        }
        static const std::int32_t kKeys[] = {5, 6, 7, -1, 0, 1, 10, -2};
        const std::int32_t key = kKeys[in_.ConsumeIntegralInRange(0, 7)];
        const std::int32_t offset = in_.ConsumeBool() ? offsets_[in_.ConsumeIntegralInRange(0, 3)]
                                                      : in_.ConsumeIntegral<std::int32_t>();
        *index += Entry(key, offset);
    }

    // A record at the end of the data file, long ones (past 4 KiB, past the 64 KiB read
    // window) included, and often an entry for it.
    void AppendRecord() {
        std::string* data = fs_.Contents(kData);
        if (data == nullptr) {
            return;
        }
        std::size_t length = in_.ConsumeIntegralInRange<std::size_t>(0, 40);
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0:
                length = in_.ConsumeIntegralInRange<std::size_t>(4090, 4200);
                break;
            case 1:
                length = in_.ConsumeIntegralInRange<std::size_t>(65500, 65535);
                break;
            default:
                break;
        }
        std::string text = in_.ConsumeBytesAsString(length);
        text.resize(length, '\x82');
        const auto offset = static_cast<std::int32_t>(data->size());
        offsets_[in_.ConsumeIntegralInRange(2, 3)] = offset;
        *data +=
            Record(in_.ConsumeIntegral<std::uint16_t>() % 24, 7, text,
                   in_.ConsumeIntegral<std::uint32_t>() % 3, in_.ConsumeIntegral<std::uint32_t>());
        if (in_.ConsumeBool()) {
            *data += in_.ConsumeBytesAsString(in_.ConsumeIntegralInRange(1, 8));  // torn tail
        }
        if (std::string* index = fs_.Contents(kIndex); index != nullptr && in_.ConsumeBool()) {
            *index += Entry(7, offset);
        }
    }

    void ReplaceFile(const std::string& name) {
        std::string bytes;
        if (const std::string* old = fs_.Contents(name)) {
            bytes = old->substr(0, in_.ConsumeIntegralInRange<std::size_t>(0, old->size()));
        }
        bytes += in_.ConsumeBytesAsString(in_.ConsumeIntegralInRange(0, 64));
        fs_.Replace(name, std::move(bytes));
    }

    void RewriteIndexInPlace() {
        std::string* index = fs_.Contents(kIndex);
        if (index == nullptr || index->empty()) {
            return;
        }
        const std::size_t at = in_.ConsumeIntegralInRange<std::size_t>(0, index->size() - 1);
        const std::string bytes = in_.ConsumeBytesAsString(8);
        index->replace(at, std::min(bytes.size(), index->size() - at), bytes);
        rewritten_ = true;
    }

    void ReadEvents() {
        if (!db_.loaded()) {
            return;
        }
        EventRecord event;
        EventCells cells;
        std::uint32_t direction = 0;
        for (const std::int32_t key : {-2, 5, 6, 7}) {
            const std::int32_t n = db_.EventCount(key);
            for (std::int32_t i = std::max(0, n - 3); i < n; ++i) {
                FillEventCells(db_, event, db_.ReadEvent(key, i, event), cells);
                db_.ReadDirection(key, i, direction);
            }
        }
    }

    FuzzedDataProvider& in_;
    ChangingFileSystem fs_;
    MessageDatabase db_;
    std::int32_t offsets_[4] = {0, 0, 0, 0};
    bool rewritten_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Driver driver(in);
    for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
        driver.Step();
    }
    driver.Finish();
    return 0;
}
