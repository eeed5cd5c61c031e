#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidgetItem>

#include <cstdio>
#include <fstream>
#include <memory>

#include "app/AppFixture.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "support/ModalDialogs.h"
#include "support/PopupMenus.h"
#include "support/TempFolder.h"
#include "text/ShiftJis.h"
#include "ui/controls/CPeriodSaveDialog.h"
#include "ui/controls/CommandIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

using Kind = QueuedPrompts::Kind;

QStringList ChildLabels(QTreeWidgetItem* parent) {
    QStringList labels;
    for (int i = 0; i < parent->childCount(); ++i) {
        labels << parent->child(i)->text(0);
    }
    return labels;
}

TEST_F(AppFixture, StartupShowsTheTreeWithStoredNamesAndGraysTheEventCommands) {
    Start();
    EXPECT_EQ(app_->mainFrame()->windowTitle(), "Talvora");
    ASSERT_EQ(tree().topLevelItemCount(), 2);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), "メンバー");
    EXPECT_EQ(tree().topLevelItem(1)->text(0), "全メンバー");
    EXPECT_TRUE(tree().membersRoot()->isExpanded());
    EXPECT_EQ(ChildLabels(tree().membersRoot()),
              (QStringList{"-", "-", "-1", "0", "100", "300", "花子"}));
    EXPECT_EQ(tree().currentItem(), tree().membersRoot());
    EXPECT_EQ(list().RowCount(), 0);

    for (int id : {ID_FILE_SAVE_DISPLAYED, ID_FILE_SAVE_SELECTED, ID_SEARCH_FIND, ID_SEARCH_DOWN,
                   ID_SEARCH_UP, ID_EDIT_RENAME, ID_VIEW_PROPERTIES}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    for (int id : {ID_OPTIONS, ID_APP_ABOUT, ID_APP_EXIT}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    EXPECT_TRUE(prompts_.Calls().empty());
}

// Qt's own dialogs and menus speak Japanese in the program, whatever the desktop's language
// (CTest runs the tests under LANG=C.UTF-8 or the like).
TEST_F(AppFixture, QtsOwnTextsAreJapaneseInTheProgram) {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_ja.qm"))) {
        GTEST_SKIP() << "Qt's Japanese translation (qt6-translations-l10n) is not installed";
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Start();
    QFileDialog files(app_->mainFrame());
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_EQ(files.windowTitle(), QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(files.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(),
              QStringLiteral("ファイル名(&N):"));

    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    EXPECT_TRUE(menu->actions().first()->text().startsWith(QStringLiteral("元に戻す(&U)")));
    EXPECT_TRUE(menu->actions().last()->text().startsWith(QStringLiteral("すべてを選択")));
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 9), QLocale::LongFormat),
              QStringLiteral("2026年12月9日水曜日"));
}

TEST_F(AppFixture, TreeSelectionDrivesTheListAndTheCommands) {
    Start();
    tree().setCurrentItem(tree().allMembersItem());
    EXPECT_EQ(list().currentMember(), ALL_MEMBERS);
    EXPECT_EQ(list().RowCount(), 6);
    EXPECT_TRUE(Enabled(ID_FILE_SAVE_DISPLAYED));
    EXPECT_TRUE(Enabled(ID_FILE_SAVE_SELECTED));
    EXPECT_TRUE(Enabled(ID_SEARCH_FIND));
    EXPECT_FALSE(Enabled(ID_EDIT_RENAME));
    EXPECT_TRUE(Enabled(ID_VIEW_PROPERTIES));
    EXPECT_FALSE(Enabled(ID_SEARCH_DOWN));

    tree().setCurrentItem(MemberItem(100));
    EXPECT_EQ(list().RowCount(), 3);
    EXPECT_EQ(list().CellText(0, 4), "hello 2");  // newest first
    EXPECT_TRUE(Enabled(ID_EDIT_RENAME));
    EXPECT_TRUE(Enabled(ID_VIEW_PROPERTIES));

    tree().setCurrentItem(MemberItem(0));  // a member without events
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_FALSE(Enabled(ID_FILE_SAVE_DISPLAYED));
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND));
    EXPECT_TRUE(Enabled(ID_EDIT_RENAME));

    tree().setCurrentItem(tree().membersRoot());
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_FALSE(Enabled(ID_EDIT_RENAME));
    EXPECT_FALSE(Enabled(ID_VIEW_PROPERTIES));
    EXPECT_FALSE(Enabled(ID_FILE_SAVE_DISPLAYED));
}

class Rename : public AppFixture {
protected:
    // Edits member 100's label to `text` through the rename command and presses Enter.
    void RenameTo(const QString& text) {
        tree().setCurrentItem(MemberItem(100));
        Trigger(ID_EDIT_RENAME);
        auto* editor = tree().findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(50);  // a refusal is told once the editor has closed
    }
};

TEST_F(Rename, TwentyBytesAreAcceptedAndTheListFollows) {
    Start();
    tree().setCurrentItem(tree().allMembersItem());
    const QString tenWide = QString::fromUtf8("日本語の名前を十文字");
    RenameTo(tenWide);
    EXPECT_EQ(MemberItem(100)->text(0), tenWide);
    EXPECT_EQ(app_->database().MemberName(100), ToShiftJis(tenWide).value());
    EXPECT_TRUE(prompts_.Calls().empty());
    tree().setCurrentItem(tree().allMembersItem());
    EXPECT_EQ(list().CellText(3, 3), tenWide);  // the list's name column
}

TEST_F(Rename, LongUnencodableAndEmptyNamesAreRefused) {
    Start();
    RenameTo(QString::fromUtf8("日本語の名前を十文字x"));  // 21 bytes
    EXPECT_EQ(MemberItem(100)->text(0), "100");
    EXPECT_TRUE(QTest::qWaitFor([this] { return !prompts_.Calls().empty(); }, 1000));
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompts_.Calls()[0].text, "名前が長すぎます");
    EXPECT_EQ(prompts_.Calls()[0].icon, Prompts::Icon::Exclamation);

    prompts_.ClearCalls();
    RenameTo(QString::fromUtf8("Ωmega \U0001F600"));
    EXPECT_EQ(MemberItem(100)->text(0), "100");
    EXPECT_TRUE(QTest::qWaitFor([this] { return !prompts_.Calls().empty(); }, 1000));
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompts_.Calls()[0].text, "この名前には使えない文字が含まれています");

    prompts_.ClearCalls();
    RenameTo(QString());
    EXPECT_EQ(MemberItem(100)->text(0), "100");
    EXPECT_TRUE(prompts_.Calls().empty());  // refused silently
    EXPECT_EQ(app_->database().MemberName(100), "100");
}

// A rename repaints names only: the list keeps its rows, so the next live append still
// goes on top and the selection stays on its event.
TEST_F(Rename, KeepsTheListAndTheSelectionThroughTheNextAppend) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    list().setCurrentIndex(list().model()->index(1, 0));  // selects row 1 too
    QSignalSpy resets(list().model(), &QAbstractItemModel::modelReset);
    RenameTo(QStringLiteral("Hundred"));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(list().CellText(1, 3), QStringLiteral("Hundred"));
    Append(100, "new one", 4000000);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().RowCount() == 4; }, 2500));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(list().CellText(0, 4), QStringLiteral("new one"));
    EXPECT_EQ(list().SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(list().currentIndex().row(), 2);
    EXPECT_EQ(list().CellText(2, 4), QStringLiteral("hello 1"));
}

TEST_F(AppFixture, ContextMenuFollowsTheItemUnderThePointer) {
    Start();
    const auto at = [this](QTreeWidgetItem* item) {
        return tree().PrepareContextMenu(tree().visualItemRect(item).center());
    };
    ASSERT_TRUE(at(tree().membersRoot()));
    EXPECT_FALSE(Enabled(ID_TREE_RENAME));
    EXPECT_FALSE(Enabled(ID_TREE_PROPERTIES));
    ASSERT_TRUE(at(tree().allMembersItem()));
    EXPECT_FALSE(Enabled(ID_TREE_RENAME));
    EXPECT_TRUE(Enabled(ID_TREE_PROPERTIES));
    ASSERT_TRUE(at(MemberItem(300)));
    EXPECT_TRUE(Enabled(ID_TREE_RENAME));
    EXPECT_TRUE(Enabled(ID_TREE_PROPERTIES));
    EXPECT_EQ(tree().contextItem(), MemberItem(300));
    EXPECT_EQ(tree().currentItem(), tree().membersRoot()) << "a right click keeps the selection";
    EXPECT_FALSE(tree().PrepareContextMenu(QPoint(5, tree().viewport()->height() - 2)));
}

TEST_F(AppFixture, ShiftF10OpensTheContextMenuOfTheCurrentItem) {
    Start();
    tree().setCurrentItem(MemberItem(300));
    const QStringList items =
        MenuOpenedBy([this] { QTest::keyClick(&tree(), Qt::Key_F10, Qt::ShiftModifier); });
    EXPECT_EQ(items.join(u'|').toStdString(), "名前の変更(&M)|-|プロパティ(&R)");
    EXPECT_EQ(tree().contextItem(), MemberItem(300));
    EXPECT_TRUE(Enabled(ID_TREE_RENAME));
}

TEST_F(AppFixture, AppendedEventsAppearAtTheTopWithoutInput) {
    Start();
    tree().setCurrentItem(tree().allMembersItem());
    list().SelectRow(1);
    ASSERT_EQ(list().CellText(1, 4), "sent 1");

    Append(100, "new one", 4000000);
    Append(555, "a stranger", 4000001);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().RowCount() == 8; }, 1500));
    EXPECT_EQ(list().CellText(0, 4), "a stranger");
    EXPECT_EQ(list().CellText(1, 4), "new one");
    EXPECT_EQ(list().FirstSelectedRow(), 3);
    EXPECT_EQ(list().CellText(3, 4), "sent 1") << "the selected event stays selected";
    ASSERT_NE(MemberItem(555), nullptr) << "a new member gets its item";
    EXPECT_EQ(MemberItem(555)->text(0), "555");
    EXPECT_EQ(MemberItem(200)->text(0), "花子");
}

TEST_F(AppFixture, AppendWithTheRootSelectedKeepsTheListEmpty) {
    Start();
    Append(100, "new one", 4000000);
    QTest::qWait(1200);
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_FALSE(Enabled(ID_FILE_SAVE_DISPLAYED));
    EXPECT_EQ(app_->database().EventCount(ALL_MEMBERS), 7);
}

TEST_F(AppFixture, ReplacedFilesAreReloadedKeepingNames) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    app_->document().SetMemberName(300, "Three");
    // A copy of the history with one more event put in place of the open files.
    TempFolder other;
    const HistoryPaths copy = HistoryPathsFor(other.Path(), kOwner);
    ASSERT_EQ(std::system(("cp '" + paths_.data + "' '" + copy.data + "' && cp '" + paths_.index +
                           "' '" + copy.index + "'")
                              .c_str()),
              0);
    {
        auto writer = HistoryWriter::OpenAppend(copy.data, copy.index);
        ASSERT_TRUE(writer);
        WriterRecord r;
        r.uin = 100;
        r.text = "restored";
        writer->AppendEvent(100, r);
    }
    ASSERT_EQ(std::rename(copy.data.c_str(), paths_.data.c_str()), 0);
    ASSERT_EQ(std::rename(copy.index.c_str(), paths_.index.c_str()), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().RowCount() == 4; }, 2500));
    EXPECT_EQ(list().CellText(0, 4), "restored");
    EXPECT_EQ(MemberItem(300)->text(0), "Three");
    EXPECT_EQ(CLeftView::ItemKey(tree().currentItem()), 100);
}

class SaveCommands : public AppFixture {
protected:
    std::string CoreExport(const RowSelection& rows) {
        const std::string path = folder_.File("core.txt");
        EXPECT_TRUE(ExportText(app_->database(), 100, rows, path).ok);
        return ReadFileBytes(path);
    }
};

TEST_F(SaveCommands, WriteExactlyWhatTheCoreExportWrites) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    const std::string displayed = folder_.File("displayed.txt");
    prompts_.QueueSaveFileName(QString::fromStdString(displayed));
    Trigger(ID_FILE_SAVE_DISPLAYED);
    EXPECT_EQ(ReadFileBytes(displayed), CoreExport(RowSelection::All()));
    ASSERT_EQ(prompts_.CallsOf(Kind::SaveFileName).size(), 1u);
    EXPECT_EQ(prompts_.Calls()[0].defaultSuffix, "txt");

    list().SelectRow(0);
    list().selectionModel()->select(list().model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::string selected = folder_.File("selected.txt");
    prompts_.QueueSaveFileName(QString::fromStdString(selected));
    Trigger(ID_FILE_SAVE_SELECTED);
    EXPECT_EQ(ReadFileBytes(selected), CoreExport(RowSelection::Rows({0, 2})));
}

TEST_F(SaveCommands, FormatFollowsTheFileExtensionElseTheChosenFilter) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    prompts_.QueueSaveFileName(std::nullopt);
    Trigger(ID_FILE_SAVE_DISPLAYED);
    const QStringList filters = prompts_.Calls()[0].filter.split(QStringLiteral(";;"));
    ASSERT_EQ(filters.size(), 7);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("テキスト ファイル (*.txt)")));
    EXPECT_TRUE(filters[2].startsWith(QStringLiteral("CSV")));
    EXPECT_TRUE(filters[5].startsWith(QStringLiteral("HTML")));
    EXPECT_EQ(filters[6], QStringLiteral("SQLite データベース (*.sqlite)"));

    const std::string text = CoreExport(RowSelection::All());
    const struct {
        const char* name;
        int filter;
        std::string start;
    } cases[] = {{"page.HTML", 0, "<!DOCTYPE html>"},
                 {"table", 2, "\xEF\xBB\xBF"},
                 {"lines", 4, "{\"entry\":"},
                 {"archive", 6, std::string("SQLite format 3", 16)},
                 {"notes.txt", 3, text},
                 {"plain", 1, text}};
    for (const auto& c : cases) {
        const std::string path = folder_.File(c.name);
        prompts_.QueueSaveFileName(QString::fromStdString(path), filters[c.filter]);
        Trigger(ID_FILE_SAVE_DISPLAYED);
        EXPECT_EQ(ReadFileBytes(path).substr(0, c.start.size()), c.start) << c.name;
    }
}

TEST_F(SaveCommands, CancellingWritesNothingAndFailuresAreTold) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    prompts_.QueueSaveFileName(std::nullopt);
    Trigger(ID_FILE_SAVE_DISPLAYED);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message).size(), 0u);

    const QString missing = QString::fromStdString(folder_.File("no/such/folder/x.txt"));
    prompts_.QueueSaveFileName(missing);
    Trigger(ID_FILE_SAVE_DISPLAYED);
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].icon, Prompts::Icon::Stop);
    // One language: the reason is Japanese too.
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].text,
              QStringLiteral("ファイルに保存できませんでした。\n%1\nフォルダーが見つかりません。")
                  .arg(missing));

    // Neither the history nor the settings file in use is ever a save's target.
    const std::string data = ReadFileBytes(paths_.data);
    const std::string settings = ReadFileBytes(settingsPath_);
    prompts_.QueueSaveFileName(QString::fromStdString(paths_.data));
    Trigger(ID_FILE_SAVE_DISPLAYED);
    prompts_.QueueSaveFileName(QString::fromStdString(settingsPath_));
    Trigger(ID_FILE_SAVE_DISPLAYED);
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 3u);
    EXPECT_TRUE(prompts_.CallsOf(Kind::Message)[1].text.endsWith(
        QStringLiteral("読み込んでいる履歴のファイルです。上書きしません。")));
    EXPECT_TRUE(prompts_.CallsOf(Kind::Message)[2].text.endsWith(
        QStringLiteral("使用中の設定ファイルです。上書きしません。")));
    EXPECT_EQ(ReadFileBytes(paths_.data), data);
    EXPECT_EQ(ReadFileBytes(settingsPath_), settings);
}

// The File menu's period item: the dialog starts on the selected member's days, follows
// the member chosen, refuses a period that ends before it starts, and writes a file a month.
TEST_F(SaveCommands, PeriodSaveFromTheFileMenu) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    QAction* item = nullptr;
    for (QAction* action : app_->mainFrame()->menuBar()->actions()[0]->menu()->actions()) {
        item = action->text() == QStringLiteral("期間を指定して保存(&P)...") ? action : item;
    }
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    const QString label100 = MemberItem(100)->text(0);
    WhenShown<CPeriodSaveDialog>([label100](CPeriodSaveDialog* dialog) {
        auto* member = dialog->findChild<QComboBox*>(QStringLiteral("periodMember"));
        auto* first = dialog->findChild<QDateEdit*>(QStringLiteral("periodFirst"));
        auto* last = dialog->findChild<QDateEdit*>(QStringLiteral("periodLast"));
        EXPECT_EQ(member->currentText(), label100);
        EXPECT_EQ(first->date(), QDate(1970, 1, 12));
        EXPECT_EQ(last->date(), QDate(1970, 1, 12));
        member->setCurrentIndex(0);
        EXPECT_EQ(member->currentText(), QStringLiteral("全メンバー"));
        EXPECT_EQ(last->date(), QDate(1970, 2, 4));
        auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        last->setDate(QDate(1970, 1, 11));
        EXPECT_FALSE(ok->isEnabled());
        last->setDate(QDate(1970, 2, 4));
        first->setDate(QDate(1970, 1, 20));  // leaves out member 100's day
        dialog->findChild<QComboBox*>(QStringLiteral("periodFormat"))->setCurrentIndex(1);
        dialog->findChild<QComboBox*>(QStringLiteral("periodSplit"))->setCurrentIndex(2);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    prompts_.QueueSaveFileName(QString::fromStdString(folder_.File("period.csv")));
    item->trigger();

    ASSERT_EQ(prompts_.CallsOf(Kind::SaveFileName).size(), 1u);
    EXPECT_TRUE(prompts_.Calls()[0].filter.startsWith(QStringLiteral("CSV ファイル (*.csv)")));
    const auto rowsOf = [](const std::string& csv) {
        std::size_t rows = 0;
        for (std::size_t at = csv.find("\r\n"); at != std::string::npos;
             at = csv.find("\r\n", at + 2)) {
            ++rows;
        }
        return rows;
    };
    const std::string january = ReadFileBytes(folder_.File("period-1970-01.csv"));
    EXPECT_EQ(rowsOf(january), 3u);  // the header and member 200's two
    EXPECT_NE(january.find("sent 1"), std::string::npos);
    const std::string february = ReadFileBytes(folder_.File("period-1970-02.csv"));
    EXPECT_NE(february.find("http://example.com/"), std::string::npos);
    EXPECT_EQ(february.find("sent"), std::string::npos);
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].text,
              QStringLiteral("2 個のファイルに保存しました。"));
}

TEST_F(AppFixture, SettingsAreSavedWhenTheWindowCloses) {
    Start();
    app_->database().SetMemberName(300, "Three");
    app_->mainFrame()->close();
    const std::string saved = ReadFileBytes(settingsPath_);
    EXPECT_NE(saved.find("300=Three"), std::string::npos) << saved;
    EXPECT_NE(saved.find("200=花子"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Send Background="), std::string::npos) << saved;
}

TEST_F(AppFixture, UnreadableSettingsAreToldOnceAndNeverOverwritten) {
    settingsPath_ = folder_.Path();  // a folder where the file should be
    Start();
    // Told once; then, with the defaults, no location is set and the options say so.
    const auto messages = prompts_.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.contains(QString::fromStdString(folder_.Path())))
        << messages[0].text.toStdString();
    EXPECT_EQ(messages[1].text, "Velmuのログファイルが正しく指定されていません");
    EXPECT_EQ(tree().topLevelItemCount(), 0) << "cancelled: nothing is loaded";
    app_->mainFrame()->close();
    EXPECT_EQ(prompts_.CallsOf(Kind::Message).size(), 2u) << "nothing more at exit";
}

TEST_F(AppFixture, NoLocationLeavesTheWindowEmpty) {
    std::ofstream(settingsPath_, std::ios::trunc) << "[Log File]\nLocation=-1\n";
    Start();
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    EXPECT_FALSE(app_->database().loaded());
    std::ofstream(settingsPath_, std::ios::trunc)
        << "[Log File]\nLocation=0\nDB Path=/nonexistent\n";
    app_.reset();
    prompts_.ClearCalls();
    Start();
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    EXPECT_TRUE(prompts_.Calls().empty()) << "a missing history is not an error at start-up";
}

TEST_F(AppFixture, ALocationThatCannotBeOpenedLeavesNoStaleMembers) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    ASSERT_EQ(list().RowCount(), 3);
    // The same pair again: nothing changes.
    LocationSettings location = app_->location();
    EXPECT_FALSE(app_->OpenLocation(location));
    EXPECT_EQ(list().RowCount(), 3);
    // Another pair that cannot be opened closes the open one: its members go too.
    location.dbPath = QString::fromStdString(folder_.File("nowhere"));
    EXPECT_FALSE(app_->OpenLocation(location));
    EXPECT_FALSE(app_->database().loaded());
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_FALSE(Enabled(ID_FILE_SAVE_DISPLAYED));
    EXPECT_FALSE(Enabled(ID_EDIT_RENAME));
    EXPECT_FALSE(Enabled(ID_VIEW_PROPERTIES));
}

}  // namespace
