#pragma once

#include <QObject>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "database/MessageDatabase.h"
#include "settings/Settings.h"

class QTimer;

// The open history as every view sees it: the pair and its member table, the display
// names (stored ones and this run's renames), the list colours and the live check. Views
// hold a member key and row numbers and subscribe to what changed; nobody else calls
// them in a hand-kept order.
class HistoryDocument : public QObject {
    Q_OBJECT
public:
    explicit HistoryDocument(SettingsFile& settings, QObject* parent = nullptr);
    ~HistoryDocument() override;

    MessageDatabase& database() { return database_; }
    const LocationSettings& location() const { return location_; }

    // Opens the pair that `location` names and applies the stored names and this run's
    // renames. AlreadyOpen when it is the pair already open (nothing changes); another
    // failure leaves nothing open (closed is sent when something was).
    OpenResult Open(const LocationSettings& location);
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
    // One or more display names changed.
    void namesChanged();
    void colorsChanged(const ListColors& colors);

private:
    OpenResult OpenPair(const LocationSettings& location);
    void ApplyNames();
    void Reopen();

    SettingsFile& settings_;
    MessageDatabase database_;
    LocationSettings location_;
    ListColors colors_;
    std::map<std::int32_t, std::string> renames_;
    QTimer* timer_ = nullptr;
    bool waiting_ = false;
    bool checking_ = false;
};
