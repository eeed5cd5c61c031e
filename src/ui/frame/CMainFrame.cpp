#include "ui/frame/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include "database/MessageDatabase.h"
#include "document/HistoryDocument.h"
#include "ui/controls/CommandIds.h"
#include "ui/controls/CommandTable.h"
#include "ui/controls/Icons.h"
#include "ui/frame/WindowPlacing.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {
constexpr int kTreeWidth = 200;

struct MenuSpec {
    const char* title;
    std::initializer_list<int> items;  // 0 is a separator
};

const MenuSpec kMenus[] = {
    {"ファイル(&F)",
     {ID_FILE_SAVE_DISPLAYED, ID_FILE_SAVE_SELECTED, ID_FILE_SAVE_PERIOD, 0, ID_APP_EXIT}},
    {"編集(&E)", {ID_EDIT_RENAME}},
    {"検索(&S)",
     {ID_SEARCH_FIND, ID_SEARCH_DOWN, ID_SEARCH_UP, 0, ID_SEARCH_ALL, ID_SEARCH_GOTO_DATE}},
    {"表示(&V)", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_PROPERTIES}},
    {"オプション(&O)", {ID_OPTIONS}},
    {"ヘルプ(&H)", {ID_APP_ABOUT}},
};

const int kToolBarItems[] = {
    ID_FILE_SAVE_DISPLAYED, 0, ID_SEARCH_FIND, 0, ID_OPTIONS, 0, ID_APP_ABOUT};
}  // namespace

CMainFrame::CMainFrame(HistoryDocument& document, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), commands_(new CommandTable(this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Talvora"));
    setWindowIcon(Icons::Program());
    commands_->CreateActions(this);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    list_ = new CTalvoraView(document.database());
    tree_ = new CLeftView(document.database(), *commands_, prompts);
    FollowDocument(document);
    // The tree's selection drives the list.
    connect(tree_, &CLeftView::memberSelected, this, [this](std::int32_t key) {
        list_->ClearList();
        list_->ShowMember(key);
        UpdateCommandStates();
    });
    connect(tree_, &CLeftView::selectionCleared, this, [this] {
        list_->ClearList();
        UpdateCommandStates();
    });
    connect(tree_, &CLeftView::contextChanged, this, &CMainFrame::UpdateCommandStates);
    connect(tree_, &CLeftView::memberRenamed, &document, &HistoryDocument::SetMemberName);
    splitter_->addWidget(tree_);
    splitter_->addWidget(list_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({kTreeWidth, 600});
    setCentralWidget(splitter_);

    CreateMenus();
    CreateToolBar();
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(true);

    connect(tree_, &CLeftView::statusTextChanged, this, &CMainFrame::SetStatusText);
    connect(commands_->Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    // Wide enough for all six columns beside the tree.
    resize(OpeningSize(*list_, kTreeWidth + splitter_->handleWidth()));
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() = default;

// Each change of the history, once, in one place: the tree first, then the list.
void CMainFrame::FollowDocument(HistoryDocument& document) {
    connect(&document, &HistoryDocument::opened, this, &CMainFrame::OnOpened);
    connect(&document, &HistoryDocument::reopened, this, &CMainFrame::OnReopened);
    connect(&document, &HistoryDocument::closed, this, &CMainFrame::OnClosed);
    connect(&document, &HistoryDocument::appended, this, &CMainFrame::OnAppended);
    connect(&document, &HistoryDocument::namesChanged, this, &CMainFrame::OnNamesChanged);
    connect(&document, &HistoryDocument::recordsChanged, list_, &CTalvoraView::ForgetDecodedRow);
    connect(&document, &HistoryDocument::colorsChanged, list_, &CTalvoraView::SetListColors);
}

// Another history: every member and row is new.
void CMainFrame::OnOpened() {
    tree_->RebuildTree();
    list_->ClearList();
    UpdateCommandStates();
}

// The same place opened again (replaced underneath, or back after it was gone): a whole new
// table; the member shown stays selected while it is still there.
void CMainFrame::OnReopened() {
    const std::optional<std::int32_t> shown = tree_->SelectedMember();
    tree_->RebuildTree();
    list_->ClearList();
    if (shown) {
        tree_->SelectMember(*shown);  // shows its rows afresh through memberSelected
    }
    UpdateCommandStates();
}

void CMainFrame::OnClosed() {
    tree_->ClearTree();
    list_->ClearList();
    UpdateCommandStates();
}

void CMainFrame::OnAppended(const HistoryChange& change) {
    if (!change.newMembers.empty()) {
        tree_->AddNewMembers();
    }
    list_->TakeAppended(change);
    UpdateCommandStates();
}

void CMainFrame::OnNamesChanged() {
    tree_->RefreshNames();
    list_->ForgetDecodedRow();
}

void CMainFrame::SetSearchReady(bool ready) {
    searchReady_ = ready;
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
    const bool rows = list_->hasMember() && list_->RowCount() > 0;
    for (const int id :
         {ID_FILE_SAVE_DISPLAYED, ID_FILE_SAVE_SELECTED, ID_SEARCH_FIND, ID_SEARCH_GOTO_DATE}) {
        commands_->SetEnabled(id, rows);
    }
    // Any member's events, of any days: open as soon as a history is.
    commands_->SetEnabled(ID_FILE_SAVE_PERIOD, tree_->allMembersItem() != nullptr);
    commands_->SetEnabled(ID_SEARCH_DOWN, searchReady_);
    commands_->SetEnabled(ID_SEARCH_UP, searchReady_);
    // "メンバー" stands for no member; "全メンバー" has properties but no name of its own.
    const std::optional<std::int32_t> selected = tree_->SelectedMember();
    commands_->SetEnabled(ID_EDIT_RENAME, selected && *selected != ALL_MEMBERS);
    commands_->SetEnabled(ID_VIEW_PROPERTIES, selected.has_value());
    const std::optional<std::int32_t> context = tree_->ContextMember();
    commands_->SetEnabled(ID_TREE_RENAME, context && *context != ALL_MEMBERS);
    commands_->SetEnabled(ID_TREE_PROPERTIES, context.has_value());
}

void CMainFrame::CreateMenus() {
    for (const MenuSpec& spec : kMenus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(spec.title));
        if (fileMenu_ == nullptr) {
            fileMenu_ = menu;
        }
        for (int id : spec.items) {
            if (id == 0) {
                QAction* separator = menu->addSeparator();
                if (menu == fileMenu_) {
                    exitSeparator_ = separator;
                }
            } else {
                menu->addAction(commands_->Action(id));
            }
        }
    }
}

void CMainFrame::SetRecentHistories(const QStringList& labels) {
    for (QAction* action : std::as_const(recentActions_)) {
        fileMenu_->removeAction(action);
        delete action;
    }
    recentActions_.clear();
    if (labels.isEmpty()) {
        return;
    }
    recentActions_.append(new QAction(fileMenu_));
    recentActions_.back()->setSeparator(true);
    for (int i = 0; i < labels.size(); ++i) {
        // "&1 ..." for the keyboard; an ampersand of a path is shown as it is.
        QString text = labels[i];
        text.replace(u'&', QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text), fileMenu_);
        action->setObjectName(QStringLiteral("recentHistory%1").arg(i + 1));
        action->setStatusTip(QStringLiteral("この履歴を開きます"));
        connect(action, &QAction::triggered, this, [this, i] { emit recentChosen(i); });
        recentActions_.append(action);
    }
    fileMenu_->insertActions(exitSeparator_, recentActions_);
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setWindowTitle(QStringLiteral("ツールバー"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : kToolBarItems) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(commands_->Action(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);

    // The View menu's switches; their states are not stored.
    QAction* toolBarSwitch = commands_->Action(ID_VIEW_TOOLBAR);
    toolBarSwitch->setChecked(true);
    connect(toolBarSwitch, &QAction::toggled, toolBar_, &QWidget::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, toolBarSwitch, &QAction::setChecked);
    QAction* statusSwitch = commands_->Action(ID_VIEW_STATUS_BAR);
    statusSwitch->setChecked(true);
    connect(statusSwitch, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
}

void CMainFrame::SetStatusText(const QString& text) {
    statusText_ = text;
    statusBar()->showMessage(statusText_);
}

bool CMainFrame::event(QEvent* event) {
    // A prompt is shown while a menu item is highlighted or the pointer rests on a
    // button; when it ends, the remembered status text comes back.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar()->showMessage(tip.isEmpty() ? statusText_ : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}
