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

// Histories copied from another system often arrive with the names in capitals; when the
// exact name is missing, take a name of the same folder that differs only in ASCII case.
std::string ResolveName(FileSystem& fs, const std::string& folder, const std::string& path,
                        std::vector<std::string>& listing, bool& listed) {
    if (fs.Stat(path).valid) {
        return path;
    }
    if (!listed) {
        listing = fs.ListFolder(folder);
        listed = true;
    }
    const std::string base = path.substr(folder.size() + 1);
    for (const std::string& name : listing) {
        if (EqualsIgnoringAsciiCase(name, base)) {
            return folder + "/" + name;
        }
    }
    return path;
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

OpenResult MessageDatabase::OpenFolder(const std::string& folder, std::int32_t uin) {
    std::vector<std::string> listing;
    bool listed = false;
    const std::string data =
        ResolveName(fileSystem_, folder, DataFileName(folder, uin), listing, listed);
    const std::string index =
        ResolveName(fileSystem_, folder, IndexFileName(folder, uin), listing, listed);
    return Open(data, index);
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
        indexPosition_ =
            IndexPass(*indexFile_, members_, *memberIndex_).Run(indexPosition_, end, entryCount_);
    }
    for (std::int32_t key : FIXED_MEMBER_KEYS) {
        Lookup(key);
    }
    for (auto& [key, member] : members_) {
        if (member.name.empty()) {
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
    std::uint8_t word[4];
    return ReadFully(*indexFile_, indexPosition_, word, sizeof word) == 4 && I32(word) != 0;
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
        !snapshot_.Stands(*indexFile_, *dataFile_)) {
        return HistoryChange(HistoryState::Replaced);
    }
    if (!HasNewEntries()) {
        return {};
    }
    return TakeNewEntries();
}

HistoryChange MessageDatabase::TakeNewEntries() {
    std::vector<std::int32_t> known;
    known.reserve(members_.size());
    for (const auto& [key, member] : members_) {
        known.push_back(key);
    }
    HistoryChange change;
    change.firstNewEntry = entryCount_;
    ReadIndex();
    if (entryCount_ == change.firstNewEntry) {
        return {};  // only a half-written entry: taken once it is complete
    }
    change.state = HistoryState::Appended;
    for (const auto& [key, member] : members_) {
        if (member.refs.empty() || member.refs.back().entryNumber < change.firstNewEntry) {
            continue;
        }
        if (std::binary_search(known.begin(), known.end(), key)) {
            change.grownMembers.push_back(key);
        } else {
            change.newMembers.push_back(key);
        }
    }
    return change;
}

const EventRef* MessageDatabase::RefAt(std::int32_t key, std::int32_t index) {
    const std::vector<EventRef>& refs = Lookup(key).refs;
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
    RecordFields f = ParseRecord(p, available);
    if (f.lengthRead) {
        const std::size_t length = RecordLength(p);
        p = cache_->Fetch(offset, length, available);
        if (p == nullptr) {
            out.type = f.type;
            out.uin = f.uin;
            return false;
        }
        f = ParseRecord(p, std::min(available, length));
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
    if (p == nullptr || available < kRecordHead || U16(p) != RECORD_MARKER) {
        return false;
    }
    const std::size_t textLength = U16(p + 8);
    const std::size_t needed = kRecordHead + textLength + 8;
    p = cache_->Fetch(ref->dataOffset, needed, available);
    if (p == nullptr || available < needed) {
        return false;
    }
    out = U32(p + kRecordHead + textLength + 4);
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
    return static_cast<std::int32_t>(Lookup(key).refs.size());
}

const std::vector<EventRef>& MessageDatabase::Refs(std::int32_t key) {
    return Lookup(key).refs;
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
