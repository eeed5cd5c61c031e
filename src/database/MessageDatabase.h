#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/EventRecord.h"
#include "database/FileAccess.h"
#include "database/HistoryChange.h"
#include "database/MappedBytes.h"
#include "database/MemberColumn.h"
#include "database/PairSnapshot.h"

// The pseudo-member that holds every event of the database, in index order.
inline constexpr std::int32_t ALL_MEMBERS = -2;
// Members that exist after every index pass, with or without events.
inline constexpr std::int32_t FIXED_MEMBER_KEYS[] = {-1, 0, 1, 10};

// Marker that opens every record of the data file (bytes A0 00).
inline constexpr std::uint16_t RECORD_MARKER = 0x00A0;

// Where an event's record lies, and which index entry named it. entryNumber identifies
// an event across the whole member table.
struct EventRef {
    std::int32_t dataOffset;
    std::int32_t entryNumber;
};

// A member of the table. ALL_MEMBERS's list is the one the index pass fills; any other
// member's own list is built when first asked for (MessageDatabase::Refs), and its count
// when the counts are (MessageDatabase::CountMembers).
struct Member {
    std::string name;            // display name (Shift-JIS); empty until named
    std::vector<EventRef> refs;  // this member's events, in index order, once listed
    std::int32_t count = 0;      // this member's events, once counted
    bool listed = false;         // refs holds its events and is kept up to date
};

// Row r of a list that shows n events is reference n - 1 - r: the newest event is row 0.
// The two directions have a name each, so that what a number is stays readable.
constexpr std::int32_t RowToIndex(std::int32_t rowCount, std::int32_t row) {
    return rowCount - 1 - row;
}
constexpr std::int32_t IndexToRow(std::int32_t rowCount, std::int32_t index) {
    return rowCount - 1 - index;
}

// The outcome of an open: None when the pair was opened and read; otherwise why not, and
// which of the two files it was about.
struct OpenResult {
    OpenError error = OpenError::None;
    bool atIndexFile = false;  // the data file opened, the index file did not
    explicit operator bool() const { return error == OpenError::None; }
};

class DataFileCache;
class EventFacts;
struct RecordFields;
class MemberIndex;

// Reader of a database pair (<uin>msg.idx and <uin>msg.dat) and owner of the member
// table. Read-only: it never writes to either file, and it takes up entries that the
// messenger appends while the pair is open.
class MessageDatabase {
public:
    explicit MessageDatabase(FileSystem& fileSystem = NativeFileSystem());
    ~MessageDatabase();
    MessageDatabase(const MessageDatabase&) = delete;
    MessageDatabase& operator=(const MessageDatabase&) = delete;

    // File names of the pair for a folder and an owner UIN ("%s/%dmsg.dat", "%s/%dmsg.idx").
    static std::string DataFileName(const std::string& folder, std::int32_t uin);
    static std::string IndexFileName(const std::string& folder, std::int32_t uin);
    // `path` itself when something is there, else the name of its folder that differs from
    // it only in ASCII letter case (histories copied from another system often arrive in
    // capitals), else `path`.
    static std::string ResolveNameCase(FileSystem& fileSystem, const std::string& path);
    // The pair OpenFolder opens: {data file, index file}.
    static std::pair<std::string, std::string> FolderPair(FileSystem& fileSystem,
                                                          const std::string& folder,
                                                          std::int32_t uin);

    // Whether the pair at these paths holds together now: both files are there and the
    // newest entry of the index names a record that is whole in the data file. A copy in
    // progress (index first, or data first) has entries that point past the data written.
    struct PairPeek {
        bool present = false;
        bool agrees = false;
        std::int64_t indexSize = 0;
        std::int64_t dataSize = 0;
    };
    static PairPeek PeekPair(FileSystem& fileSystem, const std::string& dataFile,
                             const std::string& indexFile);

    // Opens the pair named after `uin` in `folder`. When the exact names do not exist, a
    // file of the folder whose name matches ignoring ASCII letter case is used.
    OpenResult OpenFolder(const std::string& folder, std::int32_t uin);
    // Opens a pair and reads its index. AlreadyOpen when the same pair is open (it is not
    // reloaded); otherwise a failure closes what was open before.
    OpenResult Open(const std::string& dataFile, const std::string& indexFile);
    void Close();
    // One index pass from the resume position.
    void ReadIndex();
    // For a history read while the messenger writes it: the newest entry is taken only
    // once it looks whole (its record lies after the one before it and is complete in the
    // data file), or once it has looked unfinished for `grace` (so that a truly odd entry
    // never holds back the ones after it). Off, every entry is taken as it stands.
    void WaitForWholeEntries(bool on, std::chrono::milliseconds grace = kEntryGrace);
    static constexpr std::chrono::milliseconds kEntryGrace{2000};
    // True when a further index entry has appeared since the last pass (one 4-byte read).
    bool HasNewEntries();
    // The live check. Before it takes new entries it makes sure that what was read still
    // stands: both paths still name the open files, neither is shorter than it was seen,
    // and the bytes read last are still there (see PairSnapshot). Only then are new
    // entries taken. Replaced and Gone leave the table as it is: the caller reopens or
    // closes the pair.
    HistoryChange CheckForChanges();

    // Decodes the event at position `index` of the member's references. False when the
    // record is unreadable, of a type that is not decoded, or cut short by the end of the
    // file; `out` is displayable either way. With convertTime false a decoded record's
    // time is left for CompleteEventTime.
    bool ReadEvent(std::int32_t key, std::int32_t index, EventRecord& out, bool convertTime = true);
    // Decodes a record whose bytes a RecordWalker read, as ReadEvent would; only for a
    // Complete parse (false for any other: ReadEvent then tells what the record holds).
    static bool DecodeComplete(const RecordFields& fields, const std::uint8_t* p, EventRecord& out);
    // Reads only the direction flag of the same record; false, `out` untouched, when the
    // record's marker is wrong or the record is cut short.
    bool ReadDirection(std::int32_t key, std::int32_t index, std::uint32_t& out);

    // Reads data file bytes as they are now; the count read, 0 at the end, -1 on an error
    // or with no data file.
    std::int64_t ReadData(std::int64_t offset, void* buffer, std::size_t length);
    // Maps data file bytes instead of reading them, where the file layer allows it (see
    // MappedBytes); false when it does not, and the caller reads.
    bool MapData(std::int64_t offset, std::size_t length, MappedBytes& out);
    // Type, direction and time of every event taken so far (read once, extended on
    // appends, emptied by Close).
    const EventFacts& Facts();
    // The facts as far as they have been read, reading nothing (fewer than the entries
    // when none were asked for since the last appends).
    const EventFacts& KnownFacts() const;

    // Display name for a key: "-" for 1 and 10, otherwise the key in decimal.
    static std::string DefaultMemberName(std::int32_t key);
    // Sets a member's display name, adding the member if needed; an empty name gives the
    // default name.
    void SetMemberName(std::int32_t key, std::string_view name);
    // The member's display name; a missing member is added with an empty name.
    const std::string& MemberName(std::int32_t key);
    // Changes whenever a display name may have changed (named, defaulted, closed): names
    // read before stand while it stays the same.
    std::uint64_t namesVersion() const { return namesVersion_; }
    // The member's number of events; a missing member is added empty. Before the counts
    // are taken this builds the member's list.
    std::int32_t EventCount(std::int32_t key);
    // Counts every member's events in one sweep (for a caller that asks for them all);
    // the counts are kept up to date from then on.
    void CountMembers();
    // The member's references, its list built on first use; a missing member is added empty.
    const std::vector<EventRef>& Refs(std::int32_t key);
    // The same for a member of the table; nullptr (and nothing added) for any other key.
    const std::vector<EventRef>* KnownRefs(std::int32_t key);
    // Building one list sweeps every entry: a caller about to ask for many members' lists
    // builds those of every member of the table in one sweep instead.
    bool IsListed(std::int32_t key);
    std::size_t ListedMembers() const { return listedMembers_; }
    void ListEveryMember();
    // The member an event of ALL_MEMBERS's list belongs to (0 for a position out of range).
    std::int32_t KeyAt(std::int32_t allIndex) const;
    // The bytes the member table holds: the lists (capacity), the keys, the table itself.
    std::size_t TableBytes() const;

    // The member walk: every member in ascending key order, leaving out the first entry
    // of the table (ALL_MEMBERS in a table with events). Walks do not nest.
    bool FirstMember();
    std::int32_t CurrentKey() const;
    const std::string& CurrentName() const;
    bool NextMember();

    bool loaded() const { return loaded_; }
    const std::string& dataPath() const { return dataPath_; }
    // Device and inode of the open files (valid false while nothing is open).
    FileIdentity DataFileIdentity() const;
    FileIdentity IndexFileIdentity() const;
    const std::string& indexPath() const { return indexPath_; }
    std::int32_t entryCount() const { return entryCount_; }
    // Read-only view of the member table (ascending key order). A member's refs are there
    // only once listed: read events through Refs and EventCount.
    const std::map<std::int32_t, Member>& members() const { return members_; }

private:
    Member& Lookup(std::int32_t key);
    const EventRef* RefAt(std::int32_t key, std::int32_t index);
    bool DecodeRecord(std::int64_t offset, EventRecord& out, bool convertTime);
    static void ResetRecord(EventRecord& out);
    static bool ApplyRecord(const RecordFields& fields, const std::uint8_t* p, EventRecord& out,
                            bool convertTime);
    HistoryChange TakeNewEntries();
    // Counts, and adds to the members' lists where they are built, the entries of
    // ALL_MEMBERS's list from `first` on.
    void FollowNewEntries(std::size_t first);
    // The newest entry taken looks written whole (see WaitForWholeEntries).
    bool NewestLooksWhole();
    // Takes back the newest entry of a pass while it does not look whole, for a while.
    void HoldBackUnfinished(std::int32_t newestKey);
    bool RecordWholeAt(std::int64_t offset);
    // Gives back the newest entry the last pass took (its member goes when it made it).
    void UntakeNewest(std::int32_t key);
    // The record decoded last still begins as it did.
    bool LastReadStands();

    FileSystem& fileSystem_;
    std::unique_ptr<RandomAccessFile> dataFile_;
    std::unique_ptr<RandomAccessFile> indexFile_;
    FileIdentity dataIdentity_;
    FileIdentity indexIdentity_;
    std::string dataPath_;
    std::string indexPath_;
    std::int64_t indexPosition_ = 0;  // resume position of the next index pass
    std::int32_t entryCount_ = 0;
    bool loaded_ = false;

    // The newest entry while it does not look whole yet.
    struct Pending {
        std::int64_t position = -1;  // of its index entry; -1: none
        std::array<std::uint8_t, 8> entry{};
        std::int64_t dataSize = 0;
        std::chrono::steady_clock::time_point since;
    };
    bool waitForWhole_ = false;
    std::chrono::milliseconds grace_ = kEntryGrace;
    Pending pending_;
    // The first bytes of the record decoded last, to confirm it at the next check.
    struct LastRead {
        std::int64_t offset = -1;
        std::array<std::uint8_t, 32> bytes{};
        std::size_t length = 0;
    };
    LastRead lastRead_;
    // A record was found cut short by the end of the data file: when the file grows, the
    // rows decoded from it are decoded again.
    bool cutShortSeen_ = false;
    std::int64_t dataSizeSeen_ = 0;

    std::map<std::int32_t, Member> members_;
    // The member key of each reference of ALL_MEMBERS's list, side by side with it: what a
    // member's own list is built from.
    MemberColumn keys_;
    std::uint64_t namesVersion_ = 0;
    bool counted_ = false;           // every member's count is kept
    std::size_t listedMembers_ = 0;  // members whose own list is built
    std::unique_ptr<MemberIndex> memberIndex_;
    std::unique_ptr<DataFileCache> cache_;
    PairSnapshot snapshot_;
    std::unique_ptr<EventFacts> facts_;
    std::map<std::int32_t, Member>::iterator walk_;
    std::string scratch_;
};
