#include "makedb/BulkHistory.h"

#include "makedb/DemoPhrases.h"
#include "makedb/PhraseEncoder.h"
#include "makedb/Random.h"
#include "makedb/TimeSampler.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr std::int64_t kYear = 365 * 86400;
constexpr std::size_t kBatchSize = 16384;

std::vector<std::int32_t> MakeKeys(Random& random, std::int32_t count) {
    static constexpr std::int64_t kLow[] = {100000, 1000000, 10000000, 100000000};
    std::set<std::int32_t> seen;
    std::vector<std::int32_t> keys;
    while (static_cast<std::int32_t>(keys.size()) < count) {
        const std::int64_t low = kLow[random.Below(4)];
        const auto key = static_cast<std::int32_t>(random.Between(low, low * 10 - 1));
        if (seen.insert(key).second) {
            keys.push_back(key);
        }
    }
    return keys;
}

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Cuts `text` to at most `size` bytes without splitting a double-byte character.
void CutShiftJis(std::string& text, std::size_t size) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next =
            IsLeadByte(static_cast<unsigned char>(text[end])) ? end + 2 : end + 1;
        if (next > size) {
            break;
        }
        end = next;
    }
    text.resize(end);
}

class BulkTexts {
public:
    BulkTexts(std::int32_t averageBytes, PhraseEncoder& encoder) : average_(averageBytes) {
        for (std::string_view fragment : Phrases().fragments) {
            fragments_.push_back(encoder.Encode(fragment));
        }
    }

    // Lengths spread evenly over [average / 2, average * 3 / 2].
    std::string Make(Random& random) const {
        const std::int64_t size = random.Between(average_ / 2, average_ + average_ / 2);
        std::string text;
        text.reserve(static_cast<std::size_t>(size) + 16);
        while (static_cast<std::int64_t>(text.size()) < size) {
            text += random.Pick(fragments_);
        }
        CutShiftJis(text, static_cast<std::size_t>(size));
        return text;
    }

private:
    std::int64_t average_;
    std::vector<std::string> fragments_;
};

// Mostly messages; the rest spread over the other decoded types.
std::uint16_t PickType(Random& random) {
    static constexpr std::uint16_t kOthers[] = {2, 3, 6, 8, 9, 10, 12, 13, 14, 15, 19};
    const std::uint64_t roll = random.Below(1000);
    if (roll < 920) {
        return 1;
    }
    if (roll < 960) {
        return 4;
    }
    return kOthers[random.Below(std::size(kOthers))];
}

struct Slot {
    std::int64_t stamp;
    std::int32_t member;
};

std::vector<Slot> MakeSlots(Random& random, const BulkOptions& options) {
    const TimeSampler sampler(ViewerDisplayShift(options.now));
    std::vector<double> weights;
    for (std::int32_t i = 0; i < options.members; ++i) {
        weights.push_back(1.0 / (i + 1));
    }
    const WeightedPicker picker(weights);
    // Not before 1970: a stamp is a 32-bit count of seconds, read as unsigned by some.
    const std::int64_t from = std::max<std::int64_t>(0, options.now - options.years * kYear);
    std::vector<Slot> slots(static_cast<std::size_t>(options.events));
    for (Slot& slot : slots) {
        slot.member = static_cast<std::int32_t>(picker.Pick(random));
        const Rhythm rhythm = slot.member % 7 == 3 ? Rhythm::Work : Rhythm::Private;
        slot.stamp = sampler.Sample(random, rhythm, from, options.now - 60);
    }
    std::sort(slots.begin(), slots.end(),
              [](const Slot& a, const Slot& b) { return a.stamp < b.stamp; });
    return slots;
}

}  // namespace

bool WriteBulkHistory(HistoryWriter& writer, const BulkOptions& options, std::string& error) {
    Random random(options.seed);
    PhraseEncoder encoder;
    const BulkTexts texts(options.textBytes, encoder);
    if (!encoder.Ok()) {
        error = encoder.Failure();
        return false;
    }
    const std::vector<std::int32_t> keys = MakeKeys(random, options.members);
    std::vector<WriterEvent> batch;
    batch.reserve(kBatchSize);
    for (const Slot& slot : MakeSlots(random, options)) {
        WriterEvent event;
        event.key = keys[static_cast<std::size_t>(slot.member)];
        event.record.type = PickType(random);
        event.record.uin = event.key;
        event.record.direction = random.Chance(0.45) ? 1 : 0;
        event.record.stamp = static_cast<std::int32_t>(slot.stamp);
        event.record.text = texts.Make(random);
        if (event.record.type == 4) {
            event.record.text +=
                "\xFEhttps://example.com/page/" + std::to_string(random.Below(100000));
        }
        batch.push_back(std::move(event));
        if (batch.size() == kBatchSize) {
            writer.AppendEvents(batch);
            batch.clear();
        }
    }
    writer.AppendEvents(batch);
    if (!writer.Ok()) {
        error = writer.Error();
        return false;
    }
    return true;
}
