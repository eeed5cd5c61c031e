#include "document/HistoryDocument.h"

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QTimer>

#include "database/LocalTime.h"

namespace {

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The two files a location names: {data, index}; empty for a location that names none.
std::pair<std::string, std::string> PairOf(const LocationSettings& location) {
    if (location.location == DatabaseFolder) {
        return MessageDatabase::FolderPair(NativeFileSystem(), PathBytes(location.dbPath),
                                           location.uin);
    }
    if (location.location == LogFiles) {
        return {PathBytes(location.msgDatFile), PathBytes(location.msgIdxFile)};
    }
    return {};
}

}  // namespace

HistoryDocument::HistoryDocument(SettingsFile& settings, QObject* parent)
    : QObject(parent), settings_(settings) {
    // The messenger may be writing while we read: what is half written waits.
    database_.WaitForWholeEntries(true);
}

void HistoryDocument::SetWaits(std::chrono::milliseconds entryGrace,
                               std::chrono::milliseconds settleTime) {
    database_.WaitForWholeEntries(true, entryGrace);
    settleTime_ = settleTime;
}

HistoryDocument::~HistoryDocument() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        disconnect(dispatcher, nullptr, this, nullptr);
    }
}

OpenResult HistoryDocument::OpenPair(const LocationSettings& location) {
    if (location.location == DatabaseFolder) {
        return database_.OpenFolder(PathBytes(location.dbPath), location.uin);
    }
    if (location.location == LogFiles) {
        return database_.Open(PathBytes(location.msgDatFile), PathBytes(location.msgIdxFile));
    }
    database_.Close();
    return {OpenError::NotFound, false};
}

OpenResult HistoryDocument::Open(const LocationSettings& location) {
    const bool wasLoaded = database_.loaded();
    const bool sameLocation = location == location_;
    // The zone the times are shown by goes with the location; a name that is no zone (a
    // settings file edited by hand) leaves the machine's.
    const QString zone = IsTimeZoneName(location.timeZone.toStdString()) ? location.timeZone
                                                                         : QString();
    const bool zoneChanged = zone != zoneInUse_;
    if (zoneChanged) {
        UseTimeZone(zone.toStdString());
        zoneInUse_ = zone;
    }
    const OpenResult result = OpenPair(location);
    location_ = location;  // the form chosen is kept, also for the pair already open
    if (result.error == OpenError::AlreadyOpen) {
        if (zoneChanged && database_.loaded()) {
            emit reopened();  // every time shown and counted changes
        }
        return result;
    }
    waiting_ = false;
    settling_ = false;
    if (!result || !database_.loaded()) {
        if (wasLoaded) {
            emit closed();
        }
        return result;
    }
    ApplyNames();
    if (sameLocation && wasLoaded) {
        emit reopened();
    } else {
        emit opened();
    }
    return result;
}

void HistoryDocument::Close() {
    const bool wasOpen = database_.loaded() || !database_.dataPath().empty();
    database_.Close();
    waiting_ = false;
    settling_ = false;
    if (wasOpen) {
        emit closed();
    }
}

void HistoryDocument::ApplyNames() {
    settings_.LoadMemberNames(database_);
    for (const auto& [key, name] : renames_) {
        if (database_.members().count(key) != 0) {
            database_.SetMemberName(key, name);
        }
    }
}

void HistoryDocument::SetMemberName(std::int32_t key, std::string_view name) {
    database_.SetMemberName(key, name);
    renames_[key] = database_.MemberName(key);
    emit namesChanged();
}

void HistoryDocument::SetMemberNames(const std::map<std::int32_t, std::string>& names) {
    for (const auto& [key, name] : names) {
        database_.SetMemberName(key, name);
        renames_[key] = database_.MemberName(key);
    }
    emit namesChanged();
}

std::map<std::int32_t, std::string> HistoryDocument::NamesToSave() {
    std::map<std::int32_t, std::string> names;
    if (database_.loaded()) {
        for (bool more = database_.FirstMember(); more; more = database_.NextMember()) {
            const std::int32_t key = database_.CurrentKey();
            const std::string& name = database_.CurrentName();
            if (name.empty() || (name == MessageDatabase::DefaultMemberName(key) &&
                                 settings_.StoredMemberName(key).has_value())) {
                continue;
            }
            names[key] = name;
        }
    }
    for (const auto& [key, name] : renames_) {
        names[key] = name;
    }
    return names;
}

void HistoryDocument::SetColors(const ListColors& colors) {
    colors_ = colors;
    emit colorsChanged(colors_);
}

void HistoryDocument::StartLiveChecks() {
    if (timer_ != nullptr) {
        return;
    }
    // New entries appear without user input: whenever the event loop is about to wait
    // (one 4-byte read), and once a second (the full check, and a pair that went away).
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &HistoryDocument::CheckIfNew);
    }
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &HistoryDocument::Check);
    timer_->start();
}

void HistoryDocument::CheckIfNew() {
    if (!checking_ && database_.loaded() && database_.HasNewEntries()) {
        Check();
    }
}

void HistoryDocument::Check() {
    if (checking_) {
        return;  // a view's handler ran the event loop
    }
    checking_ = true;
    if (waiting_) {
        Reopen();
    } else if (settling_) {
        Settle();
    } else if (database_.loaded()) {
        TakeChange(database_.CheckForChanges());
    }
    checking_ = false;
}

void HistoryDocument::TakeChange(const HistoryChange& change) {
    switch (change.state) {
        case HistoryState::Unchanged:
            break;
        case HistoryState::Appended:
            for (std::int32_t key : change.newMembers) {
                const auto renamed = renames_.find(key);
                if (renamed != renames_.end()) {
                    database_.SetMemberName(key, renamed->second);
                } else if (auto stored = settings_.StoredMemberName(key)) {
                    database_.SetMemberName(key, *stored);
                }
            }
            emit appended(change);
            break;
        case HistoryState::Replaced:
            // What is there now is taken up once it holds together; the table read so far
            // stays until then.
            settling_ = true;
            settleIndexSize_ = -1;
            settleDataSize_ = -1;
            Settle();
            return;
        case HistoryState::Gone:
            database_.Close();
            Reopen();
            if (waiting_) {
                emit closed();
            }
            return;
    }
    if (change.recordsCompleted) {
        emit recordsChanged();
    }
}

// A pair replaced underneath (copied over the open one, say) is opened again once its files
// agree: while a copy is in progress, entries point past the data written. A pair that
// stands still without agreeing for the settle time is taken as it is.
void HistoryDocument::Settle() {
    const auto [data, index] = PairOf(location_);
    const MessageDatabase::PairPeek peek =
        MessageDatabase::PeekPair(NativeFileSystem(), data, index);
    const auto now = std::chrono::steady_clock::now();
    if (peek.indexSize != settleIndexSize_ || peek.dataSize != settleDataSize_) {
        settleIndexSize_ = peek.indexSize;
        settleDataSize_ = peek.dataSize;
        stillSince_ = now;
    }
    if (peek.present && !peek.agrees && now - stillSince_ < settleTime_) {
        return;
    }
    settling_ = false;
    database_.Close();
    Reopen();
    if (waiting_) {
        emit closed();
    }
}

// Opens the location again after the pair was replaced or went away; while it cannot be
// opened the check keeps looking once a second.
void HistoryDocument::Reopen() {
    const OpenResult result = OpenPair(location_);
    waiting_ = !result || !database_.loaded();
    if (waiting_) {
        database_.Close();
        return;
    }
    ApplyNames();
    emit reopened();
}
