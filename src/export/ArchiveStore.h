#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One row of the archive's events table, in UTF-8.
struct ArchiveRow {
    std::int32_t entry = 0;
    std::int32_t member = 0;
    bool decoded = false;
    std::int64_t timeUtc = 0;  // the record's raw stamp; with `decoded` only
    std::string timeLocal;
    std::string_view direction;
    std::int32_t type = 0;
    std::string_view typeName;
    std::int32_t uin = 0;  // with `decoded` only
    std::string text;
    bool hasUrl = false;
    std::string description;
    std::string url;
    std::string failure;  // without `decoded` only
    std::string pairs;
};

// What an archive says of itself (its one row of the archive table).
struct ArchiveFacts {
    std::optional<std::int32_t> owner;
    std::int32_t member = 0;
    std::int64_t events = 0;
    std::int64_t lastEntry = -1;  // the highest entry number held; -1 when none
};

// An SQLite connection on an archive file and the statements that write it. Each call
// returns false with SQLite's reason in `error`.
class ArchiveStore {
public:
    // The archive file's application_id and user_version.
    static constexpr std::int32_t kApplicationId = 0x54564C41;
    static constexpr std::int32_t kVersion = 1;

    ArchiveStore();
    ~ArchiveStore();
    ArchiveStore(const ArchiveStore&) = delete;
    ArchiveStore& operator=(const ArchiveStore&) = delete;

    bool Open(const std::string& path, bool create, std::string& error);
    bool Exec(const char* sql, std::string& error);
    // The tables and views of a new archive, in the open transaction; `Finish` adds the
    // indexes afterwards, which is quicker than keeping them up to date row by row.
    bool CreateTables(std::string& error);
    bool CreateIndexes(std::string& error);
    // application_id and user_version; false when the file is no SQLite database at all.
    bool Identity(std::int32_t& applicationId, std::int32_t& version, std::string& error);
    bool ReadFacts(ArchiveFacts& facts, std::string& error);
    bool WriteFacts(const ArchiveFacts& facts, std::string& error);
    // The stored values that tell an event apart, to compare with the history's; false in
    // `found` when the archive lacks `entry`.
    bool ReadStored(std::int32_t entry, ArchiveRow& row, bool& found, std::string& error);
    bool Insert(const ArchiveRow& row, std::string& error);
    // Sets a member's name; `changed` counts the names that were new or different.
    bool Name(std::int32_t key, std::string_view name, std::int64_t& changed, std::string& error);
    bool Close(std::string& error);

private:
    struct Statement;
    bool Prepare(std::unique_ptr<Statement>& statement, const char* sql, std::string& error);
    bool Fail(std::string& error) const;

    sqlite3* db_ = nullptr;
    std::unique_ptr<Statement> insertEvent_;
    std::unique_ptr<Statement> insertText_;
    std::unique_ptr<Statement> name_;
};
