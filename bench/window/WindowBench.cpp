// talvora_window_bench SETTINGS: starts the window on the history the settings file names
// (offscreen) and prints how long start-up, switching to all members, scrolling to the
// last row, a search without a hit and the member sheet of all members take, and the
// process's resident memory afterwards. With --live first, it appends events to that
// history instead, one at a time and with no input, and prints how long each took to
// reach the painted list.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CTalvoraApp.h"
#include "database/MessageDatabase.h"
#include "historywriter/HistoryWriter.h"
#include "search/FindNext.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"
#include "settings/Settings.h"
#include "ui/controls/Prompts.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/tree/CLeftView.h"

namespace {

// The list as a search sees it, without the message box at the end.
class NoHitList : public SearchList {
public:
    explicit NoHitList(CTalvoraView& list) : list_(list) {}
    std::int32_t RowCount() override { return list_.RowCount(); }
    std::int32_t FirstSelectedRow() override { return kNoRow; }
    std::int32_t MemberKey() override { return ALL_MEMBERS; }
    std::int32_t RowsPerPage() override { return 30; }
    void SelectRow(std::int32_t) override {}
    void ShowRowAt(std::int32_t row, std::int32_t line) override { list_.ShowRowAt(row, line); }
    void SearchFinished() override {}

private:
    CTalvoraView& list_;
};

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

// Runs the event loop, as the idle window does (nothing else wakes it), until the list
// gets rows or `limitMs` passes.
bool WaitIdleForRows(CTalvoraView& list, int limitMs) {
    QEventLoop loop;
    bool inserted = false;
    const QMetaObject::Connection connection =
        QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, &loop, [&] {
            inserted = true;
            loop.quit();
        });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return inserted;
}

// Appends `count` events to the open history from another thread, as the messenger would,
// while the window waits idle, and prints the time from each write to the painted row.
int MeasureLiveUpdates(CTalvoraApp& app, int count) {
    CTalvoraView* list = app.listView();
    app.treeView()->setCurrentItem(app.treeView()->allMembersItem());
    const std::string dataPath = app.database().dataPath();
    const std::string indexPath = app.database().indexPath();
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const int before = list->RowCount();
        QElapsedTimer timer;
        bool written = false;
        // Not in step with the live check: the writes fall anywhere in its second.
        std::thread messenger([&, i] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200 + 173 * i % 1000));
            auto writer = HistoryWriter::OpenAppend(dataPath, indexPath);
            if (!writer) {
                return;
            }
            WriterRecord record;
            record.uin = 1;
            record.text = "live " + std::to_string(i);
            timer.start();
            writer->AppendEvent(1, record);
            written = true;
        });
        const bool shown = WaitIdleForRows(*list, 5000);
        messenger.join();
        if (!written || !shown || list->RowCount() <= before) {
            std::fprintf(stderr, "talvora_window_bench: the appended event did not appear\n");
            return 1;
        }
        list->viewport()->repaint();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("append to painted row, idle  %8.1f ms median, %.1f ms worst of %d\n",
                ms[ms.size() / 2], ms.back(), count);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer startup;
    startup.start();
    QApplication application(argc, argv);
    const bool live = argc > 1 && std::strcmp(argv[1], "--live") == 0;
    if (argc < 2 + (live ? 1 : 0)) {
        std::fprintf(stderr, "usage: talvora_window_bench [--live] SETTINGS\n");
        return 2;
    }
    CTalvoraApp app(BuildSettingsPath(QString::fromLocal8Bit(argv[live ? 2 : 1])), DialogPrompts());
    app.InitInstance();
    if (live) {
        return MeasureLiveUpdates(app, 15);
    }
    app.mainFrame()->resize(1100, 700);
    app.mainFrame()->repaint();
    QApplication::processEvents();
    const double startupMs = static_cast<double>(startup.nsecsElapsed()) / 1e6;

    CTalvoraView* list = app.listView();
    QElapsedTimer timer;
    timer.start();
    app.treeView()->setCurrentItem(app.treeView()->allMembersItem());
    list->viewport()->repaint();
    const double switchMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    timer.restart();
    list->scrollToBottom();
    list->viewport()->repaint();
    const double scrollMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    timer.restart();
    list->ShowRowAt(list->RowCount() / 2, 1);
    list->viewport()->repaint();
    const double jumpMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    // A find with no hit, five times: every one of them counts, not only the best.
    NoHitList searchList(*list);
    SearchCriteria criteria;
    criteria.ready = true;
    criteria.position = kNoRow;
    criteria.searchText = "zqxjzqxj";
    criteria.includeReceived = criteria.includeSent = true;
    bool found = false;
    std::vector<double> findMs;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        found = FindNext(app.database(), criteria, true, searchList) || found;
        findMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const double worstFindMs = *std::max_element(findMs.begin(), findMs.end());

    timer.restart();
    {
        CMemberSheet sheet(app.database(), app.mainFrame());
        sheet.SetMember(ALL_MEMBERS);
        sheet.show();
        sheet.repaint();
    }
    const double sheetMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    std::printf("events %d\n", list->RowCount());
    std::printf("start-up to painted window   %8.1f ms   goal <= 300\n", startupMs);
    std::printf("select all members, paint    %8.1f ms   goal <= 60\n", switchMs);
    std::printf("scroll to last row, paint    %8.1f ms   goal <= 50\n", scrollMs);
    std::printf("jump to middle row, paint    %8.1f ms\n", jumpMs);
    std::printf("find, no hit%s, worst of 5   %8.1f ms   goal <= 100  (%.1f %.1f %.1f %.1f %.1f)\n",
                found ? " (hit!)" : "", worstFindMs, findMs[0], findMs[1], findMs[2], findMs[3],
                findMs[4]);
    std::printf("member sheet, all members    %8.1f ms   goal <= 300\n", sheetMs);
    std::printf("resident memory              %8ld kB\n", ResidentKilobytes());
    return 0;
}
