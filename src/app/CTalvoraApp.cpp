#include "app/CTalvoraApp.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTimer>

#include <map>

#include "database/LocalTime.h"
#include "ui/controls/Colors.h"
#include "ui/controls/CommandIds.h"
#include "ui/controls/CommandTable.h"
#include "ui/controls/Prompts.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

const char kAppTitle[] = "Talvora";

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

CTalvoraApp::CTalvoraApp(const QString& settingsPath, Prompts& prompts, QObject* parent)
    : QObject(parent),
      prompts_(prompts),
      settingsFile_(std::make_unique<SettingsFile>(settingsPath)) {}

CTalvoraApp::~CTalvoraApp() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        disconnect(dispatcher, nullptr, this, nullptr);
    }
    frame_.reset();
    database_.Close();
}

CLeftView* CTalvoraApp::treeView() const {
    return frame_ ? frame_->leftPane() : nullptr;
}

CTalvoraView* CTalvoraApp::listView() const {
    return frame_ ? frame_->rightPane() : nullptr;
}

bool CTalvoraApp::InitInstance() {
    frame_ = std::make_unique<CMainFrame>(database_, prompts_);
    ConnectCommands();
    connect(frame_.get(), &CMainFrame::closing, this, &CTalvoraApp::ExitInstance);
    frame_->show();
    InitTimeZone();
    LoadDatabase();

    // New entries appear without user input: whenever the event loop is about to wait,
    // and once a second. A check costs one 4-byte read.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (database_.HasNewEntries()) {
                CheckForNewEntries();
            }
        });
    }
    liveTimer_ = new QTimer(this);
    liveTimer_->setInterval(1000);
    connect(liveTimer_, &QTimer::timeout, this, [this] { CheckForNewEntries(); });
    liveTimer_->start();
    return true;
}

void CTalvoraApp::LoadDatabase() {
    if (settingsFile_->Read() == SettingsFileState::Unreadable) {
        prompts_.Message(
            frame_.get(), QString::fromUtf8(kAppTitle),
            QStringLiteral("設定ファイルを読み込めませんでした。\n%1\n%2\n"
                           "標準の設定を使います。この設定ファイルには書き込みません。")
                .arg(settingsFile_->path(), settingsFile_->reason()),
            Prompts::Icon::Exclamation, QMessageBox::Ok);
    }
    const StoredSettings stored =
        settingsFile_->LoadSettings(PaletteListColors(QApplication::palette()));
    location_ = stored.location;
    listView()->SetListColors(stored.colors);

    switch (location_.location) {
        case DatabaseFolder:
        case LogFiles:
            OpenLocation();
            break;
        case Unset:
            // The options sheet asks for a location; cancelled, the location stays unset
            // and nothing is loaded.
            if (!RunStartupOptions()) {
                location_.location = Unset;
            }
            break;
        default:
            break;  // any other value opens nothing
    }
}

bool CTalvoraApp::OpenLocation() {
    OpenResult opened;
    if (location_.location == DatabaseFolder) {
        opened = database_.OpenFolder(PathBytes(location_.dbPath), location_.uin);
    } else if (location_.location == LogFiles) {
        opened = database_.Open(PathBytes(location_.msgDatFile), PathBytes(location_.msgIdxFile));
    } else {
        return false;
    }
    if (!opened) {
        // The same pair is still open: nothing changes. A pair that could not be opened
        // has closed the one before it: its members must not stay on screen.
        if (!database_.loaded()) {
            ForgetHits();
            listView()->ClearList();
            listView()->ForgetDecodedRow();
            treeView()->ClearTree();
        }
        return false;
    }
    listView()->ForgetDecodedRow();
    ForgetHits();
    if (database_.loaded()) {
        settingsFile_->LoadMemberNames(database_);
    }
    treeView()->RebuildTree();
    return true;
}

void CTalvoraApp::CheckForNewEntries() {
    if (checking_ || !frame_ || !database_.loaded()) {
        return;
    }
    const HistoryChange change = database_.CheckForChanges();
    if (change.state == HistoryState::Replaced || change.state == HistoryState::Gone) {
        ReloadReplacedFiles();
        return;
    }
    if (change.state != HistoryState::Appended) {
        return;
    }
    checking_ = true;
    CLeftView* tree = treeView();
    QTreeWidgetItem* selected = tree->currentItem();
    tree->AddNewMembers();
    tree->RefreshNames();
    if (selected == nullptr || selected == tree->membersRoot()) {
        listView()->ClearList();
    } else {
        listView()->ShowMember(CLeftView::ItemKey(selected));
    }
    checking_ = false;
}

// Files replaced or cut short underneath (a restored backup, a copied history): open the
// pair again as the options' reopen does, keeping the names given in this run.
void CTalvoraApp::ReloadReplacedFiles() {
    checking_ = true;
    std::map<std::int32_t, std::string> names;
    for (const auto& [key, member] : database_.members()) {
        names[key] = member.name;
    }
    const std::int32_t shownKey = CLeftView::ItemKey(treeView()->currentItem());
    const bool memberShown = treeView()->currentItem() != nullptr &&
                             treeView()->currentItem() != treeView()->membersRoot();
    const std::string data = database_.dataPath();
    const std::string index = database_.indexPath();
    database_.Close();
    ForgetHits();
    listView()->ClearList();
    listView()->ForgetDecodedRow();
    if (database_.Open(data, index)) {
        for (const auto& [key, name] : names) {
            if (database_.members().count(key) != 0) {
                database_.SetMemberName(key, name);
            }
        }
    }
    treeView()->RebuildTree();
    if (memberShown) {
        QTreeWidgetItem* root = treeView()->membersRoot();
        if (shownKey == ALL_MEMBERS) {
            treeView()->setCurrentItem(treeView()->allMembersItem());
        } else {
            for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
                if (CLeftView::ItemKey(root->child(i)) == shownKey) {
                    treeView()->setCurrentItem(root->child(i));
                }
            }
        }
    }
    checking_ = false;
}

void CTalvoraApp::ExitInstance() {
    if (settingsFile_->state() == SettingsFileState::Unreadable) {
        return;  // reported at start-up; that file is never overwritten
    }
    const IniSaveResult saved =
        settingsFile_->SaveSettings(location_, listView()->listColors(), database_);
    if (!saved.ok) {
        prompts_.Message(frame_.get(), QString::fromUtf8(kAppTitle),
                         QStringLiteral("設定を保存できませんでした。\n%1\n%2")
                             .arg(settingsFile_->path(), saved.reason),
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
    on(ID_EDIT_RENAME, [this] { RenameMember(treeView()->currentItem()); });
    on(ID_TREE_RENAME, [this] { RenameMember(treeView()->contextItem()); });
    on(ID_SEARCH_FIND, [this] { OpenFindDialog(); });
    on(ID_SEARCH_DOWN, [this] { FindDown(); });
    on(ID_SEARCH_UP, [this] { FindUp(); });
    on(ID_VIEW_PROPERTIES, [this] { ShowMemberProperties(treeView()->currentItem()); });
    on(ID_TREE_PROPERTIES, [this] { ShowMemberProperties(treeView()->contextItem()); });
    on(ID_OPTIONS, [this] { ShowOptions(); });
    on(ID_APP_ABOUT, [this] { ShowAbout(); });
    on(ID_SEARCH_ALL, [this] { OpenHitList(); });
    on(ID_SEARCH_GOTO_DATE, [this] { GoToDate(); });
    connect(listView(), &CTalvoraView::detailsRequested, this, [this] { ShowEventDetails(); });
}

void CTalvoraApp::RenameMember(QTreeWidgetItem* item) {
    treeView()->StartRename(item);
}
