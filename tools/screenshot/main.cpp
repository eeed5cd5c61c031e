// talvora-screenshot --settings FILE [--member KEY] [--rows N] OUT.png
// Starts the viewer on the history the settings file names, selects a member (default: all
// members) and the N-th row, and saves a picture of the window.
#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTest>
#include <QTreeWidgetItem>

#include <cstdio>

#include "app/CTalvoraApp.h"
#include "database/MessageDatabase.h"
#include "settings/Settings.h"
#include "ui/controls/Prompts.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption settings(QStringLiteral("settings"), QStringLiteral("Settings file."),
                                QStringLiteral("FILE"));
    QCommandLineOption member(QStringLiteral("member"), QStringLiteral("Member key to show."),
                              QStringLiteral("KEY"), QString::number(ALL_MEMBERS));
    QCommandLineOption row(QStringLiteral("row"), QStringLiteral("Row to select."),
                           QStringLiteral("N"), QStringLiteral("2"));
    parser.addOptions({settings, member, row});
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

    const QString out = parser.positionalArguments().first();
    if (!frame->grab().save(out)) {
        std::fprintf(stderr, "talvora-screenshot: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
