// talvora-screenshot --settings FILE [--member KEY] [--rows N] [--hits TEXT --hits-out PNG]
//                    [--goto-out PNG] [--find-out PNG] [--sheet-out PNG] OUT.png
// Starts the viewer on the history the settings file names, selects a member (default: all
// members) and the N-th row, and saves a picture of the window. With --hits, the hit list
// searches TEXT (width ignored), its second hit is selected, and the hit list goes to its
// own picture; --goto-out pictures the go-to-date dialog, --find-out the find dialog with a
// search done and --sheet-out the member sheet of the member shown.
#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>
#include <QTest>
#include <QTreeWidgetItem>

#include <cstdio>

#include "app/CTalvoraApp.h"
#include "app/ListSearchAdapter.h"
#include "database/MessageDatabase.h"
#include "settings/Settings.h"
#include "ui/controls/JapaneseUi.h"
#include "ui/controls/Prompts.h"
#include "ui/find/CFindDialog.h"
#include "ui/frame/CMainFrame.h"
#include "ui/hits/CGoToDateDialog.h"
#include "ui/hits/CHitCriteriaForm.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/list/CTalvoraView.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/tree/CLeftView.h"

namespace {

// Shows a dialog, lets it settle and saves its picture.
bool SavePicture(QWidget& dialog, const QString& path) {
    dialog.show();
    QTest::qWait(100);
    if (dialog.grab().save(path)) {
        return true;
    }
    std::fprintf(stderr, "talvora-screenshot: cannot write %s\n", qPrintable(path));
    return false;
}

// The find dialog over the list after one search for a text of the demo.
bool SaveFindDialog(CTalvoraApp& app, const QString& path) {
    ListSearchAdapter list(*app.listView(), app.prompts());
    CFindDialog dialog(app.database(), app.searchCriteria(), list, app.mainFrame());
    dialog.KeepHitsInSightOf(app.listView());
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("searchText"))->setText(QStringLiteral("a"));
    dialog.FindNextStep();
    return SavePicture(dialog, path);
}

bool SaveMemberSheet(CTalvoraApp& app, std::int32_t key, const QString& path) {
    CMemberSheet sheet(app.database(), app.mainFrame());
    sheet.SetMember(key);
    return SavePicture(sheet, path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    InstallJapaneseUi(application);  // as the program shows itself
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption settings(QStringLiteral("settings"), QStringLiteral("Settings file."),
                                QStringLiteral("FILE"));
    QCommandLineOption member(QStringLiteral("member"), QStringLiteral("Member key to show."),
                              QStringLiteral("KEY"), QString::number(ALL_MEMBERS));
    QCommandLineOption row(QStringLiteral("row"), QStringLiteral("Row to select."),
                           QStringLiteral("N"), QStringLiteral("2"));
    QCommandLineOption hits(QStringLiteral("hits"), QStringLiteral("Text for the hit list."),
                            QStringLiteral("TEXT"));
    QCommandLineOption hitsOut(QStringLiteral("hits-out"),
                               QStringLiteral("The PNG of the hit list."), QStringLiteral("FILE"));
    QCommandLineOption gotoOut(QStringLiteral("goto-out"),
                               QStringLiteral("The PNG of the go-to-date dialog."),
                               QStringLiteral("FILE"));
    QCommandLineOption findOut(QStringLiteral("find-out"),
                               QStringLiteral("The PNG of the find dialog."),
                               QStringLiteral("FILE"));
    QCommandLineOption sheetOut(QStringLiteral("sheet-out"),
                                QStringLiteral("The PNG of the member sheet."),
                                QStringLiteral("FILE"));
    parser.addOptions({settings, member, row, hits, hitsOut, gotoOut, findOut, sheetOut});
    parser.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The PNG to write."));
    parser.process(application);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(2);
    }

    CTalvoraApp app(BuildSettingsPath(parser.value(settings)), DialogPrompts());
    app.InitInstance();
    CMainFrame* frame = app.mainFrame();
    frame->resize(1100, 640);
    QTest::qWait(100);

    const int key = parser.value(member).toInt();
    CLeftView* tree = app.treeView();
    QTreeWidgetItem* target = key == ALL_MEMBERS ? tree->allMembersItem() : nullptr;
    for (int i = 0; target == nullptr && tree->membersRoot() != nullptr &&
                    i < tree->membersRoot()->childCount();
         ++i) {
        if (CLeftView::ItemKey(tree->membersRoot()->child(i)) == key) {
            target = tree->membersRoot()->child(i);
        }
    }
    if (target != nullptr) {
        tree->setCurrentItem(target);
    }
    app.listView()->setFocus();
    app.listView()->SelectRow(parser.value(row).toInt());
    QTest::qWait(200);

    if (parser.isSet(hits)) {
        app.OpenHitList();
        CHitListWindow* window = app.hitList();
        // As it opens on a screen wide enough for all its criteria.
        window->resize(window->sizeHint().width() + 8, 480);
        window->move(frame->geometry().topLeft() + QPoint(160, 200));
        window->form()->textEdit()->setText(parser.value(hits));
        window->form()->findChild<QCheckBox*>(QStringLiteral("ignoreWidth"))->setChecked(true);
        window->StartSearch();
        if (!QTest::qWaitFor([window] { return !window->searching(); }, 10000)) {
            std::fprintf(stderr, "talvora-screenshot: the search did not end\n");
            return 1;
        }
        window->table()->selectRow(1);
        QTest::qWait(200);
        if (parser.isSet(hitsOut) && !window->grab().save(parser.value(hitsOut))) {
            std::fprintf(stderr, "talvora-screenshot: cannot write %s\n",
                         qPrintable(parser.value(hitsOut)));
            return 1;
        }
    }
    if (parser.isSet(gotoOut)) {
        CGoToDateDialog dialog(QDate(2026, 3, 14), frame);
        if (!SavePicture(dialog, parser.value(gotoOut))) {
            return 1;
        }
    }
    if (parser.isSet(findOut) && !SaveFindDialog(app, parser.value(findOut))) {
        return 1;
    }
    if (parser.isSet(sheetOut) && !SaveMemberSheet(app, key, parser.value(sheetOut))) {
        return 1;
    }

    const QString out = parser.positionalArguments().first();
    if (!frame->grab().save(out)) {
        std::fprintf(stderr, "talvora-screenshot: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
