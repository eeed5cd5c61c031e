#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "database/MessageDatabase.h"
#include "document/HistoryDocument.h"
#include "search/SearchCriteria.h"
#include "settings/Settings.h"

class CHitListWindow;
class CMainFrame;
class CLeftView;
class CTalvoraView;
class Prompts;
class QDialog;
struct OptionTargets;

// The application object: owns the settings file, the history document (the location, the
// database, names, colours and the live check), the last search, the main window and the
// dialogs; starts up, loads the database, routes the commands, and saves the settings at
// exit. It reaches the views only through their intent methods.
class CTalvoraApp : public QObject {
    Q_OBJECT
public:
    CTalvoraApp(const QString& settingsPath, Prompts& prompts, QObject* parent = nullptr);
    ~CTalvoraApp() override;

    // Creates and shows the main window, reads the settings and loads the database.
    bool InitInstance();
    // Reads the settings and opens the database they name.
    void LoadDatabase();
    // Writes the settings file; a failed write is reported in a message box.
    void ExitInstance();

    MessageDatabase& database() { return document_->database(); }
    HistoryDocument& document() { return *document_; }
    const LocationSettings& location() const { return document_->location(); }
    SearchCriteria& searchCriteria() { return search_; }
    SettingsFile& settingsFile() { return *settingsFile_; }
    CMainFrame* mainFrame() const { return frame_.get(); }
    CLeftView* treeView() const;
    CTalvoraView* listView() const;
    Prompts& prompts() { return prompts_; }

    // Command handlers.
    void SaveDisplayedAsText();
    void SaveSelectedAsText();
    // "期間を指定して保存": a member's events of chosen days, in one file or one per period.
    void SavePeriod();
    void RenameMember(std::optional<std::int32_t> key);
    void OpenFindDialog();
    void FindDown();
    void FindUp();
    void ShowMemberProperties(std::optional<std::int32_t> key);
    void ShowOptions();
    void ShowAbout();
    // The hit list ("すべて検索"), opened or brought to the front.
    void OpenHitList();
    // "日付へ移動": the list to the newest event of a day the user chooses.
    void GoToDate();
    // Shows member `key` in the tree and selects its row `row`, scrolled to the middle.
    void ShowHit(std::int32_t key, std::int32_t row);
    CHitListWindow* hitList() const { return hitList_; }
    // A double click on the list while a row is selected.
    void ShowEventDetails();
    // The options sheet at start-up when no location is set; false when it was cancelled.
    bool RunStartupOptions();
    // What the options sheet shows and where its choices go: the location is opened, the
    // colours and names are applied through the document.
    OptionTargets OptionSheetTargets();

    // Keeps `location` and opens the pair it names; true when a new pair was opened (the
    // views follow the document).
    bool OpenLocation(const LocationSettings& location);
    // Opens entry `number` (0 for the newest) of the File menu's recent list; a message
    // says so when it cannot be opened.
    void OpenRecent(int number);
    const std::vector<LocationSettings>& recentHistories() const { return recent_; }
    // A quit signal: every modal dialog is cancelled and the window closed, which saves
    // the settings as a normal exit does.
    void RequestQuit();
    bool quitRequested() const { return quitRequested_; }

private:
    void ConnectCommands();
    void SaveAsText(bool selectedOnly);
    void Find(bool downward);
    // The hit list's hits point into the history that was open: they go with it.
    void ForgetHits();
    void PlaceHitList();
    // The search position is a row of the list: it follows the rows added above it.
    void FollowSearchPosition();
    // Dialogs that show rows of the history that was open go with it.
    void ForgetHistoryDialogs();
    // The recent list: read with the settings, a history opened goes first.
    void FollowRecentHistories();
    void ShowRecentHistories();

    Prompts& prompts_;
    std::unique_ptr<SettingsFile> settingsFile_;
    std::unique_ptr<HistoryDocument> document_;
    SearchCriteria search_;
    std::unique_ptr<CMainFrame> frame_;
    std::vector<LocationSettings> recent_;
    CHitListWindow* hitList_ = nullptr;  // a child of the frame, made when first asked for
    QPointer<QDialog> details_;          // the event details while they are open
    bool quitRequested_ = false;
    bool starting_ = false;  // LoadDatabase at start-up is running
    bool exited_ = false;
};
