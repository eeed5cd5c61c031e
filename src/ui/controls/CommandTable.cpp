#include "ui/controls/CommandTable.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include "ui/controls/CommandIds.h"
#include "ui/controls/Icons.h"

namespace {

struct CommandSpec {
    int id;
    const char* text;    // menu text, with its mnemonic and the accelerator text after a TAB
    const char* prompt;  // status-bar prompt, "\n", tooltip
    const char* shortcut;
    bool enabled;  // at start
};

// The program's commands. The prompts of the framework's own commands (exit, toolbar and
// status bar switches) are the framework's.
const CommandSpec kCommands[] = {
    {ID_FILE_SAVE_DISPLAYED, "表示項目をテキスト形式で保存(&A)...\tCtrl+S",
     "表示されているログをテキスト形式で保存\nテキスト形式で保存(表示項目)", "Ctrl+S", false},
    {ID_FILE_SAVE_SELECTED, "選択項目をテキスト形式で保存(&S)...",
     "選択されているログをテキスト形式で保存\nテキスト形式で保存(選択項目)", nullptr, false},
    {ID_FILE_SAVE_PERIOD, "期間を指定して保存(&P)...",
     "メンバーと期間を指定してログを保存\n期間を指定して保存", nullptr, false},
    {ID_APP_EXIT, "アプリケーションの終了(&X)", "アプリケーションを終了します\n終了", nullptr,
     true},
    {ID_EDIT_RENAME, "名前の変更(&M)", "選択されているメンバーの表示名を変更\n名前の変更", nullptr,
     false},
    {ID_TREE_RENAME, "名前の変更(&M)", "選択されているメンバーの表示名を変更\n名前の変更", nullptr,
     false},
    {ID_SEARCH_FIND, "検索(&F)...\tCtrl+F", "表示されているログ内から検索\n検索", "Ctrl+F", false},
    {ID_SEARCH_DOWN, "下へ検索(&N)\tF3", "下へ検索\n下へ検索", "F3", false},
    {ID_SEARCH_UP, "上へ検索(&P)\tShift+F3", "上へ検索\n上へ検索", "Shift+F3", false},
    {ID_SEARCH_ALL, "すべて検索(&L)...\tCtrl+Shift+F",
     "すべてのログから検索して一覧表示\nすべて検索", "Ctrl+Shift+F", true},
    {ID_SEARCH_GOTO_DATE, "日付へ移動(&G)...\tCtrl+G", "指定した日付のログへ移動\n日付へ移動",
     "Ctrl+G", false},
    {ID_VIEW_TOOLBAR, "ツールバー(&T)", "ツールバーの表示/非表示\nツールバーの表示/非表示", nullptr,
     true},
    {ID_VIEW_STATUS_BAR, "ステータスバー(&S)",
     "ステータスバーの表示/非表示\nステータスバーの表示/非表示", nullptr, true},
    {ID_VIEW_PROPERTIES, "プロパティ(&R)", "選択された項目のプロパティ\nプロパティ", nullptr, true},
    {ID_TREE_PROPERTIES, "プロパティ(&R)", "選択された項目のプロパティ\nプロパティ", nullptr, true},
    {ID_OPTIONS, "環境設定(&S)...", "アプリケーションの環境設定\n環境設定", nullptr, true},
    {ID_APP_ABOUT, "バージョン情報(&A)...", "プログラムの情報、バージョンを表示\nバージョン情報",
     nullptr, true},
};

QIcon IconFor(int id) {
    switch (id) {
        case ID_FILE_SAVE_DISPLAYED:
            return Icons::SaveAsText();
        case ID_SEARCH_FIND:
            return Icons::Find();
        case ID_OPTIONS:
            return Icons::Options();
        case ID_APP_ABOUT:
            return Icons::About();
        default:
            return {};
    }
}

}  // namespace

CommandTable::CommandTable(QObject* parent) : QObject(parent) {}

void CommandTable::CreateActions(QWidget* owner) {
    for (const CommandSpec& spec : kCommands) {
        auto* action = new QAction(QString::fromUtf8(spec.text), owner);
        const QString prompt = QString::fromUtf8(spec.prompt);
        const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
        action->setStatusTip(prompt.left(newline));
        action->setToolTip(prompt.mid(newline + 1));
        if (spec.shortcut != nullptr) {
            action->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
            // The accelerators work wherever the focus is in the window.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        action->setIcon(IconFor(spec.id));
        action->setIconVisibleInMenu(false);
        action->setEnabled(spec.enabled);
        action->setData(spec.id);
        owner->addAction(action);
        actions_[spec.id] = action;
    }
    actions_[ID_VIEW_TOOLBAR]->setCheckable(true);
    actions_[ID_VIEW_STATUS_BAR]->setCheckable(true);
}

QAction* CommandTable::Action(int id) const {
    auto it = actions_.find(id);
    return it != actions_.end() ? it->second : nullptr;
}

void CommandTable::SetEnabled(int id, bool on) {
    if (QAction* action = Action(id)) {
        action->setEnabled(on);
    }
}

bool CommandTable::IsEnabled(int id) const {
    QAction* action = Action(id);
    return action != nullptr && action->isEnabled();
}
