#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "database/MessageDatabase.h"
#include "document/HistoryDocument.h"
#include "search/SearchCriteria.h"
#include "settings/Settings.h"

class CHitListWindow;
class CMainFrame;
class CLeftView;
class CTalvoraView;
class Prompts;
class QTreeWidgetItem;
struct OptionTargets;

// The application object: owns the settings file, the history document (the database,
// names, colours and the live check), the location settings, the last search and the main
// window; starts up, loads the database, routes the commands, and saves the settings at
// exit.
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
    // What the options sheet shows and where its choices go: the location is opened, the
    // colours and names are applied through the document.
    OptionTargets OptionSheetTargets();

    // Opens the pair the location names; true when a new pair was opened (the views
    // follow the document).
    bool OpenLocation();
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
    void FollowListInserts();

    Prompts& prompts_;
    std::unique_ptr<SettingsFile> settingsFile_;
    std::unique_ptr<HistoryDocument> document_;
    LocationSettings location_;
    SearchCriteria search_;
    std::unique_ptr<CMainFrame> frame_;
    CHitListWindow* hitList_ = nullptr;  // a child of the frame, made when first asked for
    bool quitRequested_ = false;
    bool exited_ = false;
};
