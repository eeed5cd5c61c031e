#include "export/ArchiveStore.h"

#include <sqlite3.h>

namespace {

constexpr const char* kTables = R"sql(
CREATE TABLE archive (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    owner INTEGER,
    member INTEGER NOT NULL,
    events INTEGER NOT NULL,
    updated INTEGER NOT NULL
);
CREATE TABLE members (
    key INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);
CREATE TABLE events (
    entry INTEGER PRIMARY KEY,
    member INTEGER NOT NULL,
    time_utc INTEGER,
    time_local TEXT,
    direction TEXT,
    type INTEGER NOT NULL,
    type_name TEXT NOT NULL,
    uin INTEGER,
    text TEXT NOT NULL,
    description TEXT,
    url TEXT,
    decoded INTEGER NOT NULL,
    failure TEXT,
    pairs TEXT NOT NULL
);
CREATE VIRTUAL TABLE events_fts USING fts5(
    text, pairs, content = 'events', content_rowid = 'entry');
CREATE VIEW events_named AS
    SELECT e.entry, e.member, m.name AS member_name, e.time_utc, e.time_local, e.direction,
           e.type, e.type_name, e.uin, u.name AS uin_name, e.text, e.description, e.url,
           e.decoded, e.failure
    FROM events AS e
    LEFT JOIN members AS m ON m.key = e.member
    LEFT JOIN members AS u ON u.key = e.uin;
CREATE VIEW member_counts AS
    SELECT e.member, m.name, count(*) AS events,
           sum(e.direction = '送信') AS sent, sum(e.direction = '受信') AS received,
           datetime(min(e.time_utc), 'unixepoch') AS first_utc,
           datetime(max(e.time_utc), 'unixepoch') AS last_utc
    FROM events AS e LEFT JOIN members AS m ON m.key = e.member
    GROUP BY e.member;
CREATE VIEW member_months AS
    SELECT e.member, m.name, substr(e.time_local, 1, 7) AS month, count(*) AS events
    FROM events AS e LEFT JOIN members AS m ON m.key = e.member
    WHERE e.decoded
    GROUP BY e.member, month;
)sql";

constexpr const char* kIndexes = R"sql(
CREATE INDEX events_by_member ON events (member, time_utc);
CREATE INDEX events_by_time ON events (time_utc);
)sql";

void BindText(sqlite3_stmt* statement, int column, std::string_view text) {
    sqlite3_bind_text(statement, column, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void BindTextOrNull(sqlite3_stmt* statement, int column, bool present, std::string_view text) {
    if (present) {
        BindText(statement, column, text);
    } else {
        sqlite3_bind_null(statement, column);
    }
}

std::string_view ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string_view()
                           : std::string_view(
                                 reinterpret_cast<const char*>(text),
                                 static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

}  // namespace

struct ArchiveStore::Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
    // Runs it once (bindings as set) and makes it ready for the next run.
    int Step() {
        const int code = sqlite3_step(handle);
        if (code != SQLITE_ROW) {
            sqlite3_reset(handle);
        }
        return code;
    }
};

ArchiveStore::ArchiveStore() = default;

ArchiveStore::~ArchiveStore() {
    insertEvent_.reset();
    insertText_.reset();
    name_.reset();
    sqlite3_close_v2(db_);  // an open transaction is rolled back
}

bool ArchiveStore::Fail(std::string& error) const {
    error = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    return false;
}

bool ArchiveStore::Open(const std::string& path, bool create, std::string& error) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        return Fail(error);
    }
    sqlite3_extended_result_codes(db_, 1);
    return true;
}

bool ArchiveStore::Exec(const char* sql, std::string& error) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK || Fail(error);
}

bool ArchiveStore::Prepare(std::unique_ptr<Statement>& statement, const char* sql,
                           std::string& error) {
    if (statement) {
        return true;
    }
    auto made = std::make_unique<Statement>();
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &made->handle, nullptr) !=
        SQLITE_OK) {
        return Fail(error);
    }
    statement = std::move(made);
    return true;
}

bool ArchiveStore::CreateTables(std::string& error) {
    const std::string pragmas = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                                "; PRAGMA user_version = " + std::to_string(kVersion) + ";";
    return Exec(pragmas.c_str(), error) && Exec(kTables, error);
}

bool ArchiveStore::CreateIndexes(std::string& error) {
    return Exec(kIndexes, error);
}

bool ArchiveStore::Identity(std::int32_t& applicationId, std::int32_t& version,
                            std::string& error) {
    std::unique_ptr<Statement> id;
    std::unique_ptr<Statement> user;
    if (!Prepare(id, "PRAGMA application_id", error) ||
        !Prepare(user, "PRAGMA user_version", error)) {
        return false;
    }
    if (id->Step() != SQLITE_ROW || user->Step() != SQLITE_ROW) {
        return Fail(error);
    }
    applicationId = sqlite3_column_int(id->handle, 0);
    version = sqlite3_column_int(user->handle, 0);
    return true;
}

bool ArchiveStore::ReadFacts(ArchiveFacts& facts, std::string& error) {
    std::unique_ptr<Statement> read;
    if (!Prepare(read,
                 "SELECT owner, member, events, (SELECT max(entry) FROM events) "
                 "FROM archive WHERE id = 1",
                 error)) {
        return false;
    }
    if (read->Step() != SQLITE_ROW) {
        error = "the archive table is empty";
        return false;
    }
    sqlite3_stmt* s = read->handle;
    facts.owner.reset();
    if (sqlite3_column_type(s, 0) != SQLITE_NULL) {
        facts.owner = sqlite3_column_int(s, 0);
    }
    facts.member = sqlite3_column_int(s, 1);
    facts.events = sqlite3_column_int64(s, 2);
    facts.lastEntry = sqlite3_column_type(s, 3) == SQLITE_NULL ? -1 : sqlite3_column_int64(s, 3);
    return true;
}

bool ArchiveStore::WriteFacts(const ArchiveFacts& facts, std::string& error) {
    std::unique_ptr<Statement> write;
    if (!Prepare(write,
                 "INSERT OR REPLACE INTO archive (id, owner, member, events, updated) "
                 "VALUES (1, ?, ?, ?, unixepoch())",
                 error)) {
        return false;
    }
    sqlite3_stmt* s = write->handle;
    if (facts.owner) {
        sqlite3_bind_int(s, 1, *facts.owner);
    }
    sqlite3_bind_int(s, 2, facts.member);
    sqlite3_bind_int64(s, 3, facts.events);
    return write->Step() == SQLITE_DONE || Fail(error);
}

bool ArchiveStore::ReadStored(std::int32_t entry, ArchiveRow& row, bool& found,
                              std::string& error) {
    std::unique_ptr<Statement> read;
    if (!Prepare(read, "SELECT decoded, time_utc, type, uin, text FROM events WHERE entry = ?",
                 error)) {
        return false;
    }
    sqlite3_stmt* s = read->handle;
    sqlite3_bind_int(s, 1, entry);
    const int code = read->Step();
    found = code == SQLITE_ROW;
    if (!found) {
        return code == SQLITE_DONE || Fail(error);
    }
    row.entry = entry;
    row.decoded = sqlite3_column_int(s, 0) != 0;
    row.timeUtc = sqlite3_column_int64(s, 1);
    row.type = sqlite3_column_int(s, 2);
    row.uin = sqlite3_column_int(s, 3);
    row.text.assign(ColumnText(s, 4));
    return true;
}

bool ArchiveStore::Insert(const ArchiveRow& row, std::string& error) {
    if (!Prepare(insertEvent_,
                 "INSERT INTO events (entry, member, time_utc, time_local, direction, type, "
                 "type_name, uin, text, description, url, decoded, failure, pairs) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 error) ||
        !Prepare(insertText_, "INSERT INTO events_fts (rowid, text, pairs) VALUES (?, ?, ?)",
                 error)) {
        return false;
    }
    sqlite3_stmt* s = insertEvent_->handle;
    sqlite3_bind_int(s, 1, row.entry);
    sqlite3_bind_int(s, 2, row.member);
    if (row.decoded) {
        sqlite3_bind_int64(s, 3, row.timeUtc);
        sqlite3_bind_int(s, 8, row.uin);
    } else {
        sqlite3_bind_null(s, 3);
        sqlite3_bind_null(s, 8);
    }
    BindTextOrNull(s, 4, row.decoded, row.timeLocal);
    BindTextOrNull(s, 5, row.decoded, row.direction);
    sqlite3_bind_int(s, 6, row.type);
    BindText(s, 7, row.typeName);
    BindText(s, 9, row.text);
    BindTextOrNull(s, 10, row.hasUrl, row.description);
    BindTextOrNull(s, 11, row.hasUrl, row.url);
    sqlite3_bind_int(s, 12, row.decoded ? 1 : 0);
    BindTextOrNull(s, 13, !row.decoded, row.failure);
    BindText(s, 14, row.pairs);
    if (insertEvent_->Step() != SQLITE_DONE) {
        return Fail(error);
    }
    sqlite3_stmt* t = insertText_->handle;
    sqlite3_bind_int(t, 1, row.entry);
    BindText(t, 2, row.text);
    BindText(t, 3, row.pairs);
    return insertText_->Step() == SQLITE_DONE || Fail(error);
}

bool ArchiveStore::Name(std::int32_t key, std::string_view name, std::int64_t& changed,
                        std::string& error) {
    if (!Prepare(name_,
                 "INSERT INTO members (key, name) VALUES (?, ?) ON CONFLICT (key) DO UPDATE "
                 "SET name = excluded.name WHERE name IS NOT excluded.name",
                 error)) {
        return false;
    }
    sqlite3_bind_int(name_->handle, 1, key);
    BindText(name_->handle, 2, name);
    if (name_->Step() != SQLITE_DONE) {
        return Fail(error);
    }
    changed += sqlite3_changes(db_);
    return true;
}

bool ArchiveStore::Close(std::string& error) {
    insertEvent_.reset();
    insertText_.reset();
    name_.reset();
    if (sqlite3_close(db_) != SQLITE_OK) {
        Fail(error);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    db_ = nullptr;
    return true;
}
