#pragma once

#include <QObject>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "database/MessageDatabase.h"
#include "settings/Settings.h"

class QTimer;

// The open history as every reader sees it: the location (the one copy of it), the pair and
// its member table, the display names (stored ones and this run's renames), the list
// colours and the live check. It says what changed; the window's frame passes that on to
// the views in one place, and `talvora-cli follow` prints from the same signals.
//
// The live check takes the messenger's writing as it comes: an index entry is taken once
// it is written whole (see MessageDatabase::WaitForWholeEntries), and a pair replaced
// underneath is opened again only once its two files agree (a copy in progress does not),
// or once they have stood still for a while without agreeing.
class HistoryDocument : public QObject {
    Q_OBJECT
public:
    explicit HistoryDocument(SettingsFile& settings, QObject* parent = nullptr);
    // How long a replaced pair whose files do not agree may stand still before it is taken
    // as it is.
    static constexpr std::chrono::milliseconds kSettleTime{2000};
    ~HistoryDocument() override;

    MessageDatabase& database() { return database_; }
    // The location chosen last (kept whether or not it could be opened); Unset until then.
    const LocationSettings& location() const { return location_; }

    // Opens the pair that `location` names and applies the stored names and this run's
    // renames. AlreadyOpen when it is the pair already open (nothing changes); another
    // failure leaves nothing open (closed is sent when something was). A location that
    // names no pair (Unset, or a value of no meaning) is kept and opens nothing.
    OpenResult Open(const LocationSettings& location);
    // Keeps `location` as the one chosen without opening anything.
    void KeepLocation(const LocationSettings& location) { location_ = location; }
    void Close();

    // This run's rename; an empty name gives the default name. Saved at exit.
    void SetMemberName(std::int32_t key, std::string_view name);
    // Several at once (the members page), with one namesChanged.
    void SetMemberNames(const std::map<std::int32_t, std::string>& names);
    // The names to write at exit: this run's renames, and every member's name except a
    // default name where a stored one exists (a member whose stored name was never
    // applied must not lose it).
    std::map<std::int32_t, std::string> NamesToSave();

    const ListColors& colors() const { return colors_; }
    void SetColors(const ListColors& colors);

    // The live check, once a second and whenever the event loop is about to wait.
    void StartLiveChecks();
    // One full check (see MessageDatabase::CheckForChanges); while the pair is gone, one
    // attempt to open it again.
    void Check();
    // The cheap check for the idle hook: a full check only when an entry has appeared.
    void CheckIfNew();
    // The pair went away and is looked for once a second.
    bool waitingForReturn() const { return waiting_; }
    // For tests: shorter waits for entries and for replaced pairs to settle.
    void SetWaits(std::chrono::milliseconds entryGrace, std::chrono::milliseconds settleTime);

signals:
    // A new pair is open (members, names and rows are all new).
    void opened();
    // The same location was opened again (replaced underneath, or back after it was gone):
    // a whole new table; views keep the member they showed when it is still there.
    void reopened();
    // Nothing is open any more.
    void closed();
    // New entries were taken; their members are named already.
    void appended(const HistoryChange& change);
    // Records that were cut short by the end of the data file may read otherwise now:
    // rows decoded from them are to be decoded again.
    void recordsChanged();
    // One or more display names changed.
    void namesChanged();
    void colorsChanged(const ListColors& colors);

private:
    OpenResult OpenPair(const LocationSettings& location);
    void ApplyNames();
    void Reopen();
    void Settle();
    void TakeChange(const HistoryChange& change);

    SettingsFile& settings_;
    MessageDatabase database_;
    LocationSettings location_;
    QString zoneInUse_;  // the zone last applied (empty: the machine's)
    ListColors colors_;
    std::map<std::int32_t, std::string> renames_;
    QTimer* timer_ = nullptr;
    bool waiting_ = false;
    bool checking_ = false;
    // A replaced pair, until its files agree or stand still.
    bool settling_ = false;
    std::chrono::milliseconds settleTime_ = kSettleTime;
    std::int64_t settleIndexSize_ = -1;
    std::int64_t settleDataSize_ = -1;
    std::chrono::steady_clock::time_point stillSince_;
};
