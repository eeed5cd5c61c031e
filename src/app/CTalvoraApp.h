#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "database/MessageDatabase.h"
#include "search/SearchCriteria.h"
#include "settings/Settings.h"

class CHitListWindow;
class CMainFrame;
class CLeftView;
class CTalvoraView;
class Prompts;
class QTimer;
class QTreeWidgetItem;

// The application object: owns the database, the location settings, the settings file,
// the last search and the main window; starts up, loads the database, takes up what the
// messenger appends (whenever the event loop is about to wait, and once a second), routes
// the commands, and saves the settings at exit.
class CTalvoraApp : public QObject {
    Q_OBJECT
public:
    CTalvoraApp(const QString& settingsPath, Prompts& prompts, QObject* parent = nullptr);
    ~CTalvoraApp() override;

    // Creates and shows the main window, reads the settings and loads the database.
    bool InitInstance();
    // Reads the settings and opens the database they name.
    void LoadDatabase();
    // The live check: new entries, or files replaced underneath.
    void CheckForNewEntries();
    // Writes the settings file; a failed write is reported in a message box.
    void ExitInstance();

    MessageDatabase& database() { return database_; }
    LocationSettings& location() { return location_; }
    SearchCriteria& searchCriteria() { return search_; }
    SettingsFile& settingsFile() { return *settingsFile_; }
    CMainFrame* mainFrame() const { return frame_.get(); }
    CLeftView* treeView() const;
    CTalvoraView* listView() const;
    Prompts& prompts() { return prompts_; }

    // Command handlers.
    void SaveDisplayedAsText();
    void SaveSelectedAsText();
    void RenameMember(QTreeWidgetItem* item);
    void OpenFindDialog();
    void FindDown();
    void FindUp();
    void ShowMemberProperties(QTreeWidgetItem* item);
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

    // Opens the pair the location names; true when a new pair was opened (the tree was
    // rebuilt with the stored names).
    bool OpenLocation();

private:
    void ConnectCommands();
    void SaveAsText(bool selectedOnly);
    void Find(bool downward);
    void ReloadReplacedFiles();
    // The hit list's hits point into the history that was open: they go with it.
    void ForgetHits();

    Prompts& prompts_;
    MessageDatabase database_;
    LocationSettings location_;
    SearchCriteria search_;
    std::unique_ptr<SettingsFile> settingsFile_;
    std::unique_ptr<CMainFrame> frame_;
    QTimer* liveTimer_ = nullptr;
    CHitListWindow* hitList_ = nullptr;  // a child of the frame, made when first asked for
    bool checking_ = false;
};
