#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "database/MessageDatabase.h"
#include "support/QtApp.h"
#include "ui/controls/Colors.h"
#include "ui/controls/CommandTable.h"
#include "ui/list/CTalvoraView.h"
#include "ui/list/ListTestHistory.h"

// The list of one member's events on screen, for the tests of the list and of what opens
// from it.
class ListViewFixture : public ::testing::Test {
protected:
    static constexpr std::int32_t kMember = 100;

    static void SetUpTestSuite() { EnsureQApplication(); }
    void SetUp() override { commands_.CreateActions(&owner_); }

    // `count` events of kMember with the texts "e0", "e1", ... (e0 oldest, at the bottom);
    // odd ones sent.
    void AddEvents(int from, int count) {
        for (int i = from; i < from + count; ++i) {
            history.Add(kMember, QStringLiteral("e%1").arg(i), static_cast<std::uint32_t>(i % 2));
        }
    }
    // Opens the history and shows the list `rows` rows high.
    void ShowView(int rows = 10, int width = 900) {
        ASSERT_TRUE(database.Open(history.paths.data, history.paths.index));
        view = std::make_unique<CTalvoraView>(database);
        view->SetListColors(colors);
        view->ShowMember(kMember);
        const int rowHeight = view->verticalHeader()->defaultSectionSize();
        view->resize(width, view->horizontalHeader()->sizeHint().height() + rows * rowHeight +
                                2 * view->frameWidth() +
                                view->horizontalScrollBar()->sizeHint().height());
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    // Velmu appends events; the live check reads them and shows the member again.
    void AppendLive(int from, int count) {
        AddEvents(from, count);
        database.ReadIndex();
        view->ShowMember(kMember);
        QApplication::processEvents();
    }
    void Select(std::initializer_list<int> rows) {
        view->selectionModel()->clearSelection();
        for (int row : rows) {
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    UtcZone zone;
    ListHistory history;
    MessageDatabase database;
    ListColors colors{ColorRef(250, 240, 230), ColorRef(10, 20, 200), ColorRef(255, 255, 255),
                      ColorRef(0, 0, 0),       ColorRef(0, 120, 215), ColorRef(255, 255, 254)};
    std::unique_ptr<CTalvoraView> view;

private:
    QWidget owner_;

protected:
    CommandTable commands_;
};
