#include "database/MessageDatabase.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "database/DataFileCache.h"
#include "database/DatabaseTexts.h"
#include "database/EventFacts.h"
#include "database/EventTypes.h"
#include "database/IndexPass.h"
#include "database/LittleEndian.h"
#include "database/LocalTime.h"
#include "database/MemberIndex.h"
#include "database/RecordLayout.h"

namespace {

constexpr std::int64_t kIndexHeaderSize = 10;
constexpr std::int64_t kEntrySize = 8;

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Zero entries after the newest one looked past, from the end of the index, by a peek.
constexpr std::int64_t kPeekEntries = 4096;

// Whether a record lies whole in `file` at `offset`: all its bytes are there and it reads
// as a record (`scratch` holds them).
bool RecordWholeIn(RandomAccessFile& file, std::int64_t offset, std::string& scratch) {
    std::uint8_t head[kRecordHead];
    if (offset < 0 ||
        ReadFully(file, offset, head, sizeof head) != static_cast<std::int64_t>(kRecordHead)) {
        return false;
    }
    const std::size_t length = RecordLength(head);
    scratch.resize(length);
    auto* bytes = reinterpret_cast<std::uint8_t*>(scratch.data());
    return ReadFully(file, offset, bytes, length) == static_cast<std::int64_t>(length) &&
           ParseRecord(bytes, length).state != RecordState::Corrupt;
}

void FillCurrentTime(EventRecord& out) {
    CurrentLocalTime(out.time, out.timeValue);
    out.timeConverted = true;
}

}  // namespace

MessageDatabase::MessageDatabase(FileSystem& fileSystem)
    : fileSystem_(fileSystem),
      memberIndex_(std::make_unique<MemberIndex>()),
      facts_(std::make_unique<EventFacts>()) {
    walk_ = members_.end();
}

MessageDatabase::~MessageDatabase() {
    Close();
}

std::string MessageDatabase::DataFileName(const std::string& folder, std::int32_t uin) {
    return folder + "/" + std::to_string(uin) + "msg.dat";
}

std::string MessageDatabase::IndexFileName(const std::string& folder, std::int32_t uin) {
    return folder + "/" + std::to_string(uin) + "msg.idx";
}

std::string MessageDatabase::ResolveNameCase(FileSystem& fileSystem, const std::string& path) {
    if (fileSystem.Stat(path).valid) {
        return path;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    for (const std::string& name : fileSystem.ListFolder(folder.empty() ? "/" : folder)) {
        if (EqualsIgnoringAsciiCase(name, base)) {
            return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
        }
    }
    return path;
}

std::pair<std::string, std::string> MessageDatabase::FolderPair(FileSystem& fileSystem,
                                                                const std::string& folder,
                                                                std::int32_t uin) {
    return {ResolveNameCase(fileSystem, DataFileName(folder, uin)),
            ResolveNameCase(fileSystem, IndexFileName(folder, uin))};
}

OpenResult MessageDatabase::OpenFolder(const std::string& folder, std::int32_t uin) {
    const auto [data, index] = FolderPair(fileSystem_, folder, uin);
    return Open(data, index);
}

MessageDatabase::PairPeek MessageDatabase::PeekPair(FileSystem& fileSystem,
                                                    const std::string& dataFile,
                                                    const std::string& indexFile) {
    PairPeek peek;
    std::unique_ptr<RandomAccessFile> data = fileSystem.OpenRead(dataFile);
    std::unique_ptr<RandomAccessFile> index = fileSystem.OpenRead(indexFile);
    if (!data || !index) {
        return peek;
    }
    peek.present = true;
    const FileIdentity dataNow = data->Identity();
    const FileIdentity indexNow = index->Identity();
    peek.dataSize = dataNow.valid ? dataNow.size : 0;
    peek.indexSize = indexNow.valid ? indexNow.size : 0;
    // The newest entry: the last one with a key, looking past the zero-filled room the
    // messenger keeps at the end.
    const std::int64_t entries =
        std::max<std::int64_t>(0, (peek.indexSize - kIndexHeaderSize) / kEntrySize);
    const std::int64_t first = std::max<std::int64_t>(0, entries - kPeekEntries);
    std::vector<std::uint8_t> tail(static_cast<std::size_t>((entries - first) * kEntrySize));
    const std::int64_t got =
        ReadFully(*index, kIndexHeaderSize + first * kEntrySize, tail.data(), tail.size());
    std::int64_t offset = -1;
    for (std::int64_t i = std::max<std::int64_t>(got, 0) / kEntrySize; i > 0 && offset < 0; --i) {
        const std::uint8_t* entry = tail.data() + (i - 1) * kEntrySize;
        if (I32(entry) != 0) {
            offset = I32(entry + 4);
        }
    }
    if (offset < 0) {
        peek.agrees = true;  // no entry to disagree with the data
        return peek;
    }
    std::string record;
    peek.agrees = RecordWholeIn(*data, offset, record);
    return peek;
}

OpenResult MessageDatabase::Open(const std::string& dataFile, const std::string& indexFile) {
    // Opening the pair that is already open is not a reload. (Two empty paths while
    // nothing is open end here too, without touching the file system.)
    if (dataFile == dataPath_ && indexFile == indexPath_) {
        return {dataFile.empty() ? OpenError::NotFound : OpenError::AlreadyOpen, false};
    }
    Close();
    OpenResult result;
    dataFile_ = fileSystem_.OpenRead(dataFile, &result.error);
    if (!dataFile_) {
        if (result.error == OpenError::None) {
            result.error = OpenError::ReadError;
        }
        return result;
    }
    dataPath_ = dataFile;
    dataIdentity_ = dataFile_->Identity();
    cache_ = std::make_unique<DataFileCache>(*dataFile_);

    indexFile_ = fileSystem_.OpenRead(indexFile, &result.error);
    if (!indexFile_) {
        result.atIndexFile = true;
        if (result.error == OpenError::None) {
            result.error = OpenError::ReadError;
        }
        return result;
    }
    indexPath_ = indexFile;
    indexIdentity_ = indexFile_->Identity();
    indexPosition_ = kIndexHeaderSize;
    ReadIndex();
    return result;
}

FileIdentity MessageDatabase::DataFileIdentity() const {
    return dataFile_ ? dataFile_->Identity() : FileIdentity{};
}

FileIdentity MessageDatabase::IndexFileIdentity() const {
    return indexFile_ ? indexFile_->Identity() : FileIdentity{};
}

void MessageDatabase::Close() {
    loaded_ = false;
    cache_.reset();
    dataFile_.reset();
    indexFile_.reset();
    members_.clear();
    keys_.Clear();
    ++namesVersion_;
    counted_ = false;
    listedMembers_ = 0;
    memberIndex_->Clear();
    facts_->Clear();
    walk_ = members_.end();
    entryCount_ = 0;
    indexPosition_ = 0;
    dataPath_.clear();
    indexPath_.clear();
    dataIdentity_ = {};
    indexIdentity_ = {};
    snapshot_.Clear();
    pending_ = Pending();
    lastRead_ = LastRead();
    cutShortSeen_ = false;
    dataSizeSeen_ = 0;
}

Member& MessageDatabase::Lookup(std::int32_t key) {
    if (MemberIndex::Slot* slot = memberIndex_->Find(key)) {
        return *slot->member;
    }
    Member& member = members_[key];
    memberIndex_->Insert(key, &member);
    return member;
}

void MessageDatabase::ReadIndex() {
    if (!indexFile_) {
        return;
    }
    loaded_ = false;
    const FileIdentity now = indexFile_->Identity();
    const std::int64_t end = now.valid ? now.size : 0;
    if (end - indexPosition_ >= kEntrySize) {
        const std::int32_t before = entryCount_;
        const std::size_t first = keys_.size();
        IndexPass pass(*indexFile_, members_, *memberIndex_, keys_);
        indexPosition_ = pass.Run(indexPosition_, end, entryCount_);
        if (entryCount_ > before) {
            HoldBackUnfinished(pass.lastKey());
        }
        FollowNewEntries(first);
    }
    for (std::int32_t key : FIXED_MEMBER_KEYS) {
        Lookup(key);
    }
    for (auto& [key, member] : members_) {
        if (member.name.empty()) {
            ++namesVersion_;
            member.name = DefaultMemberName(key);
        }
    }
    if (cache_) {
        // Records may have been written since the window was read.
        cache_->Invalidate();
    }
    if (dataFile_) {
        snapshot_.Take(*indexFile_, *dataFile_, indexPosition_, entryCount_);
    }
    loaded_ = true;
}

bool MessageDatabase::HasNewEntries() {
    if (!indexFile_) {
        return false;
    }
    std::array<std::uint8_t, 8> entry{};
    if (ReadFully(*indexFile_, indexPosition_, entry.data(), entry.size()) < 4 ||
        I32(entry.data()) == 0) {
        return false;
    }
    if (pending_.position != indexPosition_) {
        return true;
    }
    // The unfinished newest entry: worth a pass once it, or the data, changed, or its time
    // to wait is up.
    const FileIdentity data = dataFile_ ? dataFile_->Identity() : FileIdentity{};
    return entry != pending_.entry || (data.valid && data.size != pending_.dataSize) ||
           std::chrono::steady_clock::now() - pending_.since >= grace_;
}

void MessageDatabase::HoldBackUnfinished(std::int32_t newestKey) {
    if (!waitForWhole_ || NewestLooksWhole()) {
        pending_.position = -1;
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const std::int64_t at = indexPosition_ - kEntrySize;
    if (pending_.position != at) {
        pending_.position = at;
        pending_.since = now;
    }
    if (now - pending_.since >= grace_) {
        pending_.position = -1;  // taken as it stands
        return;
    }
    UntakeNewest(newestKey);
    ReadFully(*indexFile_, at, pending_.entry.data(), pending_.entry.size());
    const FileIdentity data = dataFile_ ? dataFile_->Identity() : FileIdentity{};
    pending_.dataSize = data.valid ? data.size : 0;
}

void MessageDatabase::WaitForWholeEntries(bool on, std::chrono::milliseconds grace) {
    waitForWhole_ = on;
    grace_ = grace;
}

bool MessageDatabase::RecordWholeAt(std::int64_t offset) {
    return dataFile_ && RecordWholeIn(*dataFile_, offset, scratch_);
}

bool MessageDatabase::NewestLooksWhole() {
    const std::vector<EventRef>& all = Lookup(ALL_MEMBERS).refs;
    if (all.empty()) {
        return true;
    }
    const EventRef newest = all.back();
    // The messenger appends records in order: the newest one begins after the one before.
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->entryNumber == newest.entryNumber) {
            continue;  // an entry under ALL_MEMBERS's own key stands twice
        }
        std::uint8_t head[kRecordHead];
        const std::int64_t end =
            ReadData(it->dataOffset, head, sizeof head) == static_cast<std::int64_t>(kRecordHead)
                ? it->dataOffset + static_cast<std::int64_t>(RecordLength(head))
                : static_cast<std::int64_t>(it->dataOffset) + 1;
        if (newest.dataOffset < end) {
            return false;
        }
        break;
    }
    return RecordWholeAt(newest.dataOffset);
}

void MessageDatabase::UntakeNewest(std::int32_t key) {
    Member& all = Lookup(ALL_MEMBERS);
    const std::int32_t number = all.refs.back().entryNumber;
    while (!all.refs.empty() && all.refs.back().entryNumber == number) {
        all.refs.pop_back();
        keys_.PopBack();
    }
    if (key != ALL_MEMBERS) {
        // (Counts and built lists take a pass's entries only after this.) Named members were
        // there before this pass; a member it made goes with its entry.
        const Member& member = Lookup(key);
        const bool fixed = std::find(std::begin(FIXED_MEMBER_KEYS), std::end(FIXED_MEMBER_KEYS),
                                     key) != std::end(FIXED_MEMBER_KEYS);
        // Only a member this pass made sweeps the column for its other entries.
        if (!member.listed && member.name.empty() && !fixed && keys_.Count(key) == 0) {
            keys_.Forget(key);
            ++namesVersion_;
            memberIndex_->Erase(key);
            members_.erase(key);
            walk_ = members_.end();
        }
    }
    --entryCount_;
    indexPosition_ -= kEntrySize;
}

bool MessageDatabase::LastReadStands() {
    if (lastRead_.offset < 0 || lastRead_.length == 0) {
        return true;
    }
    std::array<std::uint8_t, 32> now{};
    const std::int64_t got = ReadData(lastRead_.offset, now.data(), lastRead_.length);
    return got == static_cast<std::int64_t>(lastRead_.length) &&
           std::equal(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(lastRead_.length),
                      lastRead_.bytes.begin());
}

HistoryChange MessageDatabase::CheckForChanges() {
    if (!loaded_ || !indexFile_ || !dataFile_) {
        return {};
    }
    const FileIdentity index = fileSystem_.Stat(indexPath_);
    const FileIdentity data = fileSystem_.Stat(dataPath_);
    if (!index.valid || !data.valid) {
        return HistoryChange(HistoryState::Gone);
    }
    auto sameFile = [](const FileIdentity& a, const FileIdentity& b) {
        return a.device == b.device && a.inode == b.inode;
    };
    if (!sameFile(index, indexIdentity_) || !sameFile(data, dataIdentity_) ||
        !snapshot_.Stands(*indexFile_, *dataFile_) || !LastReadStands()) {
        return HistoryChange(HistoryState::Replaced);
    }
    // Records cut short by the end of the data file may be whole now that it grew.
    const bool completed = cutShortSeen_ && data.size > dataSizeSeen_;
    dataSizeSeen_ = data.size;
    if (completed) {
        cutShortSeen_ = false;
        cache_->Invalidate();
    }
    HistoryChange change = HasNewEntries() ? TakeNewEntries() : HistoryChange();
    change.recordsCompleted = completed;
    return change;
}

HistoryChange MessageDatabase::TakeNewEntries() {
    std::vector<std::int32_t> known;
    known.reserve(members_.size());
    for (const auto& [key, member] : members_) {
        known.push_back(key);
    }
    HistoryChange change;
    change.firstNewEntry = entryCount_;
    const std::size_t first = keys_.size();
    ReadIndex();
    if (entryCount_ == change.firstNewEntry) {
        return {};  // only an entry that is not written whole yet: taken once it is
    }
    change.state = HistoryState::Appended;
    std::vector<std::int32_t> touched;
    for (std::size_t i = first; i < keys_.size(); ++i) {
        touched.push_back(keys_.KeyAt(i));
    }
    touched.push_back(ALL_MEMBERS);
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    for (const std::int32_t key : touched) {
        if (std::binary_search(known.begin(), known.end(), key)) {
            change.grownMembers.push_back(key);
        } else {
            change.newMembers.push_back(key);
        }
    }
    return change;
}

const EventRef* MessageDatabase::RefAt(std::int32_t key, std::int32_t index) {
    const std::vector<EventRef>& refs = Refs(key);
    if (index < 0 || static_cast<std::size_t>(index) >= refs.size()) {
        return nullptr;
    }
    return &refs[static_cast<std::size_t>(index)];
}

void MessageDatabase::ResetRecord(EventRecord& out) {
    out.type = 0;
    out.uin = 0;
    out.extra = 0;
    out.direction = Received;
    out.text.clear();
    out.stamp = 0;
    out.stampRead = false;
    out.timeConverted = false;
}

bool MessageDatabase::DecodeComplete(const RecordFields& fields, const std::uint8_t* p,
                                     EventRecord& out) {
    ResetRecord(out);
    return fields.state == RecordState::Complete && ApplyRecord(fields, p, out, true);
}

bool MessageDatabase::ReadEvent(std::int32_t key, std::int32_t index, EventRecord& out,
                                bool convertTime) {
    ResetRecord(out);
    const EventRef* ref = RefAt(key, index);
    if (ref == nullptr || !cache_ || !DecodeRecord(ref->dataOffset, out, convertTime)) {
        if (ref == nullptr || !cache_) {
            out.text.assign(dbtext::kCorrupt);
        }
        // A record that failed keeps the current time, as the reset left it.
        FillCurrentTime(out);
        return false;
    }
    return true;
}

bool MessageDatabase::DecodeRecord(std::int64_t offset, EventRecord& out, bool convertTime) {
    std::size_t available = 0;
    const std::uint8_t* p = cache_->Fetch(offset, kRecordHead, available);
    std::size_t wanted = kRecordHead;
    RecordFields f = ParseRecord(p, available);
    if (f.lengthRead) {
        wanted = RecordLength(p);
        p = cache_->Fetch(offset, wanted, available);
        if (p == nullptr) {
            out.type = f.type;
            out.uin = f.uin;
            cutShortSeen_ = true;
            return false;
        }
        f = ParseRecord(p, std::min(available, wanted));
    }
    // Noted for the live check: a record cut short may be completed, and the one on show
    // must still be there.
    cutShortSeen_ = cutShortSeen_ || p == nullptr || available < wanted;
    if (p != nullptr) {
        lastRead_.offset = offset;
        lastRead_.length = std::min({available, wanted, lastRead_.bytes.size()});
        std::memcpy(lastRead_.bytes.data(), p, lastRead_.length);
    }
    return ApplyRecord(f, p, out, convertTime);
}

bool MessageDatabase::ApplyRecord(const RecordFields& f, const std::uint8_t* p, EventRecord& out,
                                  bool convertTime) {
    out.type = f.type;
    out.uin = f.uin;
    switch (f.state) {
        case RecordState::Corrupt:
            out.text.assign(dbtext::kCorrupt);
            return false;
        case RecordState::Unsupported:
            // Beyond the type code the layout of such a record is unknown.
            out.text.assign(dbtext::kUnsupported);
            return false;
        case RecordState::Short:
        case RecordState::Complete:
            break;
    }
    if (f.lengthRead) {
        BuildDisplayText(
            out.type,
            std::string_view(reinterpret_cast<const char*>(p + kRecordHead), RawTextLength(p, f)),
            out.text);
    }
    if (f.state != RecordState::Complete) {
        return false;  // cut short by the end of the file: the fields read so far stand
    }
    out.extra = f.extra;
    out.direction = f.direction;
    out.stamp = f.stamp;
    out.stampRead = true;
    if (convertTime) {
        ConvertEventTime(out.stamp, out.time, out.timeValue);
        out.timeConverted = true;
    }
    return true;
}

std::int64_t MessageDatabase::ReadData(std::int64_t offset, void* buffer, std::size_t length) {
    if (!dataFile_ || offset < 0) {
        return -1;
    }
    return ReadFully(*dataFile_, offset, buffer, length);
}

bool MessageDatabase::MapData(std::int64_t offset, std::size_t length, MappedBytes& out) {
    return dataFile_ && out.Map(dataFile_->Descriptor(), offset, length);
}

const EventFacts& MessageDatabase::Facts() {
    facts_->Extend(*this);
    return *facts_;
}

const EventFacts& MessageDatabase::KnownFacts() const {
    return *facts_;
}

bool MessageDatabase::ReadDirection(std::int32_t key, std::int32_t index, std::uint32_t& out) {
    const EventRef* ref = RefAt(key, index);
    if (ref == nullptr || !cache_) {
        return false;
    }
    std::size_t available = 0;
    const std::uint8_t* p = cache_->Fetch(ref->dataOffset, kRecordHead, available);
    if (p == nullptr || available < kRecordHead || U16(p + record::kMarker) != RECORD_MARKER) {
        return false;
    }
    // Only as far as the direction: the rest of the tail may be cut short.
    const std::size_t textLength = RecordTextLength(p);
    const std::size_t needed = kRecordHead + textLength + record::kDirection + 4;
    p = cache_->Fetch(ref->dataOffset, needed, available);
    if (p == nullptr || available < needed) {
        return false;
    }
    out = U32(RecordTail(p, textLength) + record::kDirection);
    return true;
}

std::string MessageDatabase::DefaultMemberName(std::int32_t key) {
    if (key == 1 || key == 10) {
        return "-";
    }
    return std::to_string(key);
}

void MessageDatabase::SetMemberName(std::int32_t key, std::string_view name) {
    Member& member = Lookup(key);
    ++namesVersion_;
    if (name.empty()) {
        member.name = DefaultMemberName(key);
    } else {
        member.name.assign(name);
    }
}

const std::string& MessageDatabase::MemberName(std::int32_t key) {
    return Lookup(key).name;
}

std::int32_t MessageDatabase::EventCount(std::int32_t key) {
    const Member& member = Lookup(key);
    if (key == ALL_MEMBERS || member.listed) {
        return static_cast<std::int32_t>(member.refs.size());
    }
    return counted_ ? member.count : static_cast<std::int32_t>(Refs(key).size());
}

void MessageDatabase::CountMembers() {
    if (counted_) {
        return;
    }
    for (auto& [key, member] : members_) {
        member.count = 0;
    }
    keys_.CountAll([this](std::int32_t key, std::int32_t count) {
        if (key != ALL_MEMBERS) {
            if (MemberIndex::Slot* slot = memberIndex_->Find(key)) {
                slot->member->count += count;
            }
        }
    });
    counted_ = true;
}

void MessageDatabase::FollowNewEntries(std::size_t first) {
    if (!counted_ && listedMembers_ == 0) {
        return;
    }
    const std::vector<EventRef>& all = Lookup(ALL_MEMBERS).refs;
    for (std::size_t i = first; i < keys_.size(); ++i) {
        const std::int32_t key = keys_.KeyAt(i);
        if (key == ALL_MEMBERS) {
            continue;
        }
        Member& member = Lookup(key);
        member.count += counted_ ? 1 : 0;
        if (member.listed) {
            member.refs.push_back(all[i]);
        }
    }
}

const std::vector<EventRef>& MessageDatabase::Refs(std::int32_t key) {
    Member& member = Lookup(key);
    if (key == ALL_MEMBERS || member.listed) {
        return member.refs;
    }
    // Built from ALL_MEMBERS's list and the keys beside it, to its exact size.
    member.listed = true;
    ++listedMembers_;
    const std::size_t count = keys_.Count(key);
    if (count == 0) {
        return member.refs;
    }
    const std::vector<EventRef>& all = Lookup(ALL_MEMBERS).refs;
    member.refs.reserve(count);
    keys_.ForEachOf(key, [&](std::size_t i) { member.refs.push_back(all[i]); });
    return member.refs;
}

bool MessageDatabase::IsListed(std::int32_t key) {
    const MemberIndex::Slot* slot = memberIndex_->Find(key);
    return key == ALL_MEMBERS || (slot != nullptr && slot->member->listed);
}

void MessageDatabase::ListEveryMember() {
    std::vector<Member*> byNumber(keys_.Numbers(), nullptr);
    auto unlisted = [this](std::int32_t key) -> Member* {
        MemberIndex::Slot* slot = key != ALL_MEMBERS ? memberIndex_->Find(key) : nullptr;
        return slot != nullptr && !slot->member->listed ? slot->member : nullptr;
    };
    for (std::size_t n = 0; n < byNumber.size(); ++n) {
        byNumber[n] = unlisted(keys_.KeyOfNumber(static_cast<std::uint16_t>(n)));
    }
    keys_.CountAll([&](std::int32_t key, std::int32_t count) {
        if (Member* member = unlisted(key)) {
            member->refs.reserve(static_cast<std::size_t>(count));
        }
    });
    const std::vector<EventRef>& all = Lookup(ALL_MEMBERS).refs;
    keys_.ForEachEntry([&](std::size_t i, std::uint16_t number, std::int32_t key) {
        Member* member = number != MemberColumn::kBeside ? byNumber[number] : unlisted(key);
        if (member != nullptr) {
            member->refs.push_back(all[i]);
        }
    });
    for (auto& [key, member] : members_) {
        if (key != ALL_MEMBERS && !member.listed) {
            member.listed = true;
            ++listedMembers_;
        }
    }
}

const std::vector<EventRef>* MessageDatabase::KnownRefs(std::int32_t key) {
    return memberIndex_->Find(key) != nullptr ? &Refs(key) : nullptr;
}

std::int32_t MessageDatabase::KeyAt(std::int32_t allIndex) const {
    return allIndex >= 0 && static_cast<std::size_t>(allIndex) < keys_.size()
               ? keys_.KeyAt(static_cast<std::size_t>(allIndex))
               : 0;
}

std::size_t MessageDatabase::TableBytes() const {
    // A map node: the pair, three pointers and a colour, rounded up by the allocator.
    constexpr std::size_t kNode = sizeof(std::pair<const std::int32_t, Member>) + 32;
    std::size_t bytes = keys_.CapacityBytes();
    for (const auto& [key, member] : members_) {
        bytes += kNode + member.refs.capacity() * sizeof(EventRef);
        bytes += member.name.capacity() > 15 ? member.name.capacity() : 0;
    }
    return bytes;
}

bool MessageDatabase::FirstMember() {
    walk_ = members_.begin();
    if (walk_ != members_.end()) {
        ++walk_;  // the first entry (ALL_MEMBERS in a table with events) is left out
    }
    return walk_ != members_.end();
}

std::int32_t MessageDatabase::CurrentKey() const {
    return walk_ != members_.end() ? walk_->first : 0;
}

const std::string& MessageDatabase::CurrentName() const {
    static const std::string empty;
    return walk_ != members_.end() ? walk_->second.name : empty;
}

bool MessageDatabase::NextMember() {
    if (walk_ != members_.end()) {
        ++walk_;
    }
    return walk_ != members_.end();
}
