#include "makedb/DemoHistory.h"

#include "makedb/DemoMembers.h"
#include "makedb/DemoPhrases.h"
#include "makedb/PhraseEncoder.h"
#include "makedb/Random.h"
#include "makedb/TimeSampler.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::int64_t kSpan = 730 * 86400;
// Far past the end of any demo data file, also after live appends.
constexpr std::int32_t kPastTheEnd = 0x7FFFFF00;
constexpr std::uint32_t kReceived = 0;
constexpr std::uint32_t kSent = 1;

struct DemoItem {
    enum class Kind { Event, Raw, Dangling };
    std::int64_t stamp = 0;
    Kind kind = Kind::Event;
    std::int32_t key = 0;
    WriterRecord record;
    std::string raw;          // Kind::Raw: the bytes at the entry's offset
    std::int32_t offset = 0;  // Kind::Dangling: where the entry points
};

class DemoBuilder {
public:
    explicit DemoBuilder(const DemoOptions& options)
        : options_(options),
          random_(options.seed),
          sampler_(ViewerDisplayShift(options.now)),
          start_(options.now - kSpan) {}

    std::vector<DemoItem> Build();
    const PhraseEncoder& Encoder() const { return encoder_; }

private:
    void AddEvent(std::int64_t stamp, std::int32_t key, std::uint16_t type, std::string_view utf8,
                  std::uint32_t direction);
    void AddUrl(std::int64_t stamp, std::int32_t key, std::uint32_t direction);
    void AddSession(const DemoMember& member, std::int64_t stamp);
    void AddMemberArrival(const DemoMember& member);
    void AddServiceEvents();
    void AddOddities();
    std::int64_t JoinTime(const DemoMember& member) const {
        return start_ + static_cast<std::int64_t>(member.joined * static_cast<double>(kSpan));
    }
    const std::vector<std::string_view>& Greetings(std::int64_t stamp) const {
        const DemoPhrases& p = Phrases();
        const int hour = sampler_.DisplayHour(stamp);
        return hour < 5    ? p.lateGreetings
               : hour < 11 ? p.morningGreetings
               : hour < 18 ? p.dayGreetings
               : hour < 23 ? p.eveningGreetings
                           : p.lateGreetings;
    }
    std::int64_t AnyTime() { return sampler_.Sample(random_, Rhythm::Private, start_, End()); }
    std::int64_t End() const { return options_.now - 3600; }
    std::int64_t Gap(std::string_view line) {
        const std::int64_t typing = static_cast<std::int64_t>(line.size()) / 3;
        return random_.Chance(0.1) ? random_.Between(300, 1800) : random_.Between(10, 60) + typing;
    }

    DemoOptions options_;
    Random random_;
    TimeSampler sampler_;
    std::int64_t start_;
    PhraseEncoder encoder_;
    std::vector<DemoItem> items_;
};

void DemoBuilder::AddEvent(std::int64_t stamp, std::int32_t key, std::uint16_t type,
                           std::string_view utf8, std::uint32_t direction) {
    if (stamp > options_.now - 30) {
        return;
    }
    DemoItem item;
    item.stamp = stamp;
    item.key = key;
    item.record.type = type;
    item.record.uin = key;
    item.record.text = encoder_.Encode(utf8);
    item.record.direction = direction;
    item.record.stamp = static_cast<std::int32_t>(stamp);
    items_.push_back(std::move(item));
}

void DemoBuilder::AddUrl(std::int64_t stamp, std::int32_t key, std::uint32_t direction) {
    const UrlPhrase& url = random_.Pick(Phrases().urls);
    const std::size_t before = items_.size();
    AddEvent(stamp, key, 4, url.description, direction);
    if (items_.size() > before) {
        // The address is ASCII; 0xFE cannot occur inside a Shift-JIS text.
        items_.back().record.text += '\xFE';
        items_.back().record.text += url.address;
    }
}

void DemoBuilder::AddSession(const DemoMember& member, std::int64_t stamp) {
    const DemoPhrases& p = Phrases();
    const bool english = member.group == MemberGroup::English;
    const bool work = member.group == MemberGroup::Work;
    const auto& greetings = english ? p.englishGreetings
                            : work  ? p.workGreetings
                                    : Greetings(stamp);
    std::uint32_t direction = random_.Chance(0.45) ? kSent : kReceived;
    if (random_.Chance(0.02)) {
        AddEvent(stamp, member.key, 2, random_.Pick(p.chatRequests), direction);
        stamp += random_.Between(20, 90);
    }
    if (random_.Chance(0.015)) {
        AddEvent(stamp, member.key, 10, random_.Pick(p.callRequests), direction);
        stamp += random_.Between(60, 600);
    }
    const std::string_view greeting = random_.Pick(greetings);
    AddEvent(stamp, member.key, 1, greeting, direction);
    stamp += Gap(greeting);
    const auto& talks = english                               ? p.englishTalks
                        : member.group == MemberGroup::Work   ? p.workTalks
                        : member.group == MemberGroup::Family ? p.familyTalks
                                                              : p.friendTalks;
    for (std::string_view line : random_.Pick(talks)) {
        direction = line.front() == '>' ? kSent : kReceived;
        AddEvent(stamp, member.key, 1, line.substr(1), direction);
        stamp += Gap(line);
    }
    if (random_.Chance(0.08)) {
        AddUrl(stamp, member.key, random_.Chance(0.5) ? kSent : kReceived);
        stamp += random_.Between(30, 300);
    }
    if (random_.Chance(0.03)) {
        AddEvent(stamp, member.key, 3, random_.Pick(p.fileRequests), direction);
        stamp += random_.Between(30, 300);
    }
    if (member.group == MemberGroup::Friend && random_.Chance(0.01)) {
        AddEvent(stamp, member.key, 19, random_.Pick(p.contacts), kReceived);
        stamp += random_.Between(30, 300);
    }
    if (random_.Chance(0.6)) {
        const auto& closers = english ? p.englishClosers : work ? p.workClosers : p.closers;
        AddEvent(stamp, member.key, 1, random_.Pick(closers), direction ^ 1u);
    }
}

// A member added during the history arrives with an authorization request.
void DemoBuilder::AddMemberArrival(const DemoMember& member) {
    if (member.joined <= 0) {
        return;
    }
    const DemoPhrases& p = Phrases();
    std::int64_t stamp = sampler_.Sample(random_, Rhythm::Private, JoinTime(member),
                                         std::min(JoinTime(member) + 3 * 86400, End()));
    const bool theyAsk = member.group == MemberGroup::Stranger || random_.Chance(0.6);
    AddEvent(stamp, member.key, 6, random_.Pick(p.authRequests), theyAsk ? kReceived : kSent);
    if (member.group == MemberGroup::Stranger) {
        return;
    }
    stamp += random_.Between(120, 6 * 3600);
    AddEvent(stamp, member.key, 8, random_.Pick(p.authorizations), theyAsk ? kSent : kReceived);
    if (!theyAsk) {
        AddEvent(stamp + random_.Between(5, 60), member.key, 12, random_.Pick(p.listNotices),
                 kReceived);
    }
}

// Notices from the service (key 1) and mail and web-page messages (key 10).
void DemoBuilder::AddServiceEvents() {
    const DemoPhrases& p = Phrases();
    for (int i = 0; i < 6; ++i) {
        AddEvent(AnyTime(), 1, 9, random_.Pick(p.systemNotices), kReceived);
    }
    for (int i = 0; i < 3; ++i) {
        AddEvent(AnyTime(), 10, 13, random_.Pick(p.webPages), kReceived);
    }
    for (int i = 0; i < 4; ++i) {
        AddEvent(AnyTime(), 10, 14, random_.Pick(p.emailExpress), kReceived);
        AddEvent(AnyTime(), 10, 15, random_.Pick(p.emails), kReceived);
    }
}

// Types the viewer does not decode, and entries it cannot read at all.
void DemoBuilder::AddOddities() {
    const std::vector<DemoMember>& members = DemoMembers();
    auto someone = [&] { return members[random_.Below(8)].key; };
    for (std::uint16_t type : {5, 7, 11, 20}) {
        for (int i = 0; i < 2; ++i) {
            AddEvent(AnyTime(), someone(), type, random_.Pick(Phrases().unsupported), kReceived);
        }
    }
    for (std::uint16_t marker : {0x0000, 0xA000}) {
        AddEvent(AnyTime(), someone(), 1, "壊れたレコード", kReceived);
        items_.back().record.marker = marker;
    }
    DemoItem garbage;
    garbage.stamp = AnyTime();
    garbage.kind = DemoItem::Kind::Raw;
    garbage.key = someone();
    garbage.raw = "\xFF\xFF";
    for (int i = 0; i < 30; ++i) {
        garbage.raw += static_cast<char>(random_.Below(256));
    }
    items_.push_back(garbage);
    for (std::int32_t offset : {kPastTheEnd, kPastTheEnd, -16}) {
        DemoItem dangling;
        dangling.stamp = AnyTime();
        dangling.kind = DemoItem::Kind::Dangling;
        dangling.key = someone();
        dangling.offset = offset;
        items_.push_back(dangling);
    }
}

std::vector<DemoItem> DemoBuilder::Build() {
    const std::vector<DemoMember>& members = DemoMembers();
    std::vector<double> weights;
    for (const DemoMember& member : members) {
        weights.push_back(member.activity);
        AddMemberArrival(member);
    }
    AddServiceEvents();
    AddOddities();
    const WeightedPicker picker(weights);
    while (static_cast<std::int64_t>(items_.size()) < options_.events) {
        const DemoMember& member = members[picker.Pick(random_)];
        const Rhythm rhythm = member.group == MemberGroup::Work ? Rhythm::Work : Rhythm::Private;
        const std::int64_t from = std::max(start_, JoinTime(member) + 86400);
        AddSession(member, sampler_.Sample(random_, rhythm, from, End()));
    }
    // A conversation still going on a few minutes ago.
    AddSession(members.front(), options_.now - 15 * 60);
    std::stable_sort(items_.begin(), items_.end(),
                     [](const DemoItem& a, const DemoItem& b) { return a.stamp < b.stamp; });
    return std::move(items_);
}

bool FlushBatch(HistoryWriter& writer, std::vector<WriterEvent>& batch) {
    if (!batch.empty()) {
        writer.AppendEvents(batch);
        batch.clear();
    }
    return writer.Ok();
}

bool WriteItems(HistoryWriter& writer, const std::vector<DemoItem>& items) {
    std::vector<WriterEvent> batch;
    for (const DemoItem& item : items) {
        if (item.kind == DemoItem::Kind::Event) {
            batch.push_back({item.key, item.record});
            continue;
        }
        if (!FlushBatch(writer, batch)) {
            return false;
        }
        const std::int32_t offset =
            item.kind == DemoItem::Kind::Raw ? writer.AppendRaw(item.raw) : item.offset;
        writer.AppendEntry(item.key, offset);
    }
    return FlushBatch(writer, batch);
}

}  // namespace

bool WriteDemoHistory(HistoryWriter& writer, const DemoOptions& options, std::string& error) {
    DemoBuilder builder(options);
    const std::vector<DemoItem> items = builder.Build();
    if (!builder.Encoder().Ok()) {
        error = builder.Encoder().Failure();
        return false;
    }
    if (!WriteItems(writer, items)) {
        error = writer.Error();
        return false;
    }
    return true;
}
