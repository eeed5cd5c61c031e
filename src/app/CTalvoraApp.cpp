#include "app/CTalvoraApp.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>

#include "database/LocalTime.h"
#include "export/TemporaryFiles.h"
#include "ui/controls/Colors.h"
#include "ui/controls/CommandIds.h"
#include "ui/controls/CommandTable.h"
#include "ui/controls/JapaneseUi.h"
#include "ui/controls/Prompts.h"
#include "ui/controls/ScreenFit.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/WindowPlacing.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

const char kAppTitle[] = "Talvora";

// Once the program is on its way out, every dialog that still shows up (start-up goes on
// from one to the next: the greeting, the folder chooser, the options sheet) is cancelled
// as soon as it appears, so that no modal loop outlives the quit.
class DialogCanceller final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QDialog*>(watched)) {
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

}  // namespace

CTalvoraApp::CTalvoraApp(const QString& settingsPath, Prompts& prompts, QObject* parent)
    : QObject(parent),
      prompts_(prompts),
      settingsFile_(std::make_unique<SettingsFile>(settingsPath)),
      document_(std::make_unique<HistoryDocument>(*settingsFile_)) {}

CTalvoraApp::~CTalvoraApp() {
    frame_.reset();
    document_.reset();
}

CLeftView* CTalvoraApp::treeView() const {
    return frame_ ? frame_->leftPane() : nullptr;
}

CTalvoraView* CTalvoraApp::listView() const {
    return frame_ ? frame_->rightPane() : nullptr;
}

bool CTalvoraApp::InitInstance() {
    // Qt's own dialogs, menus and dates speak the program's language, whatever the desktop's.
    InstallJapaneseUi(*QCoreApplication::instance());
    KeepWindowsOnScreen(*qApp);
    // A quit signal stops exports until the program ends; a new start writes again.
    ResumeWrites();
    frame_ = std::make_unique<CMainFrame>(*document_, prompts_);
    ConnectCommands();
    FollowSearchPosition();
    for (auto signal :
         {&HistoryDocument::opened, &HistoryDocument::reopened, &HistoryDocument::closed}) {
        connect(document_.get(), signal, this, &CTalvoraApp::ForgetHistoryDialogs);
    }
    connect(frame_.get(), &CMainFrame::closing, this, &CTalvoraApp::ExitInstance);
    // Read before the window shows, so that it opens where it was closed.
    settingsFile_->Read();
    if (const std::optional<WindowPlacement> placement = settingsFile_->LoadWindowPlacement()) {
        PlaceWindow(*frame_, *placement);
    }
    FollowRecentHistories();
    frame_->show();
    InitTimeZone();
    starting_ = true;
    LoadDatabase();
    starting_ = false;
    if (quitRequested_) {
        // A quit signal during start-up: the window closes (and the settings are saved) only
        // now that start-up has settled the location, not from inside its dialogs.
        frame_->close();
        return true;
    }
    document_->StartLiveChecks();
    return true;
}

// The search position is a row: rows inserted at the top by a live update move its event
// down, and the next F3 must start from that event, not from the row number it had.
void CTalvoraApp::FollowSearchPosition() {
    connect(listView(), &CTalvoraView::rowsAddedAtTop, this, [this](int count) {
        if (search_.position >= 0) {
            search_.position += count;
        }
    });
}

// The hits and the details point into the history that was open: another history, or the
// same one read anew, has other rows.
void CTalvoraApp::ForgetHistoryDialogs() {
    ForgetHits();
    if (details_) {
        details_->reject();
    }
}

void CTalvoraApp::LoadDatabase() {
    if (settingsFile_->state() == SettingsFileState::Unreadable) {
        prompts_.Message(
            frame_.get(), QString::fromUtf8(kAppTitle),
            QStringLiteral("設定ファイルを読み込めませんでした。\n%1\n%2\n"
                           "標準の設定を使います。この設定ファイルには書き込みません。")
                .arg(settingsFile_->path(), settingsFile_->reason().japanese),
            Prompts::Icon::Exclamation, QMessageBox::Ok);
    }
    const StoredSettings stored =
        settingsFile_->LoadSettings(PaletteListColors(QApplication::palette()));
    document_->SetColors(stored.colors);
    // Any other value than the three opens nothing and is kept as it was read.
    document_->Open(stored.location);
    if (stored.location.location == Unset && !RunStartupOptions()) {
        // Cancelled: the location stays unset and nothing is loaded.
        LocationSettings unset = document_->location();
        unset.location = Unset;
        document_->Open(unset);
    }
}

bool CTalvoraApp::OpenLocation(const LocationSettings& location) {
    // The views follow: a new pair rebuilds them, a failure empties them, the pair that
    // is open already changes nothing.
    return static_cast<bool>(document_->Open(location));
}

void CTalvoraApp::RequestQuit() {
    if (!quitRequested_) {
        qApp->installEventFilter(new DialogCanceller(this));
    }
    quitRequested_ = true;
    // Innermost first: a dialog may have opened another (a message box over the sheet).
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            break;
        }
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog == nullptr || !dialog->isVisible()) {
            modal->close();
            break;
        }
        dialog->reject();
        dialog->hide();
    }
    if (frame_ && !starting_) {
        frame_->close();
    }
}

void CTalvoraApp::ExitInstance() {
    if (exited_) {
        return;
    }
    exited_ = true;
    if (settingsFile_->state() == SettingsFileState::Unreadable) {
        return;  // reported at start-up; that file is never overwritten
    }
    settingsFile_->SetWindowPlacement(PlacementOf(*frame_));
    settingsFile_->SetRecentHistories(recent_);
    if (hitList_ != nullptr) {
        settingsFile_->SetWindowPlacement(PlacementOf(*hitList_), StoredWindow::HitList);
    }
    const IniSaveResult saved = settingsFile_->SaveSettings(
        document_->location(), document_->colors(), document_->NamesToSave());
    if (!saved.ok && quitRequested_) {
        // No one may be there to answer a message box.
        qWarning("talvora: the settings could not be saved: %s",
                 qUtf8Printable(saved.reason.english));
    } else if (!saved.ok) {
        prompts_.Message(frame_.get(), QString::fromUtf8(kAppTitle),
                         QStringLiteral("設定を保存できませんでした。\n%1\n%2")
                             .arg(settingsFile_->path(), saved.reason.japanese),
                         Prompts::Icon::Stop, QMessageBox::Ok);
    }
}

void CTalvoraApp::ConnectCommands() {
    CommandTable& commands = frame_->commands();
    auto on = [&commands, this](int id, auto handler) {
        connect(commands.Action(id), &QAction::triggered, this, handler);
    };
    on(ID_FILE_SAVE_DISPLAYED, [this] { SaveDisplayedAsText(); });
    on(ID_FILE_SAVE_SELECTED, [this] { SaveSelectedAsText(); });
    on(ID_EDIT_RENAME, [this] { RenameMember(treeView()->SelectedMember()); });
    on(ID_TREE_RENAME, [this] { RenameMember(treeView()->ContextMember()); });
    on(ID_SEARCH_FIND, [this] { OpenFindDialog(); });
    on(ID_SEARCH_DOWN, [this] { FindDown(); });
    on(ID_SEARCH_UP, [this] { FindUp(); });
    on(ID_VIEW_PROPERTIES, [this] { ShowMemberProperties(treeView()->SelectedMember()); });
    on(ID_TREE_PROPERTIES, [this] { ShowMemberProperties(treeView()->ContextMember()); });
    on(ID_OPTIONS, [this] { ShowOptions(); });
    on(ID_APP_ABOUT, [this] { ShowAbout(); });
    on(ID_SEARCH_ALL, [this] { OpenHitList(); });
    on(ID_SEARCH_GOTO_DATE, [this] { GoToDate(); });
    on(ID_FILE_SAVE_PERIOD, [this] { SavePeriod(); });
    connect(listView(), &CTalvoraView::detailsRequested, this, [this] { ShowEventDetails(); });
}

void CTalvoraApp::RenameMember(std::optional<std::int32_t> key) {
    if (key) {
        treeView()->StartRename(*key);
    }
}
