#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "database/MessageDatabase.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"
#include "support/QtApp.h"
#include "support/QtText.h"
#include "ui/controls/CommandTable.h"
#include "ui/find/CFindDialog.h"
#include "ui/list/CTalvoraView.h"
#include "ui/list/ListTestHistory.h"

inline constexpr std::int32_t kMember = 100;
// 2023-06-01 00:00:00 UTC.
inline constexpr std::int32_t kJune1 = 1685577600;
inline constexpr std::int32_t kDay = 86400;

// The list as the application hands it to the search, with the ends of searches counted
// and the cursor seen at each call.
class ViewList final : public SearchList {
public:
    explicit ViewList(CTalvoraView& view) : view_(view) {}

    std::int32_t RowCount() override { return view_.RowCount(); }
    std::int32_t FirstSelectedRow() override { return view_.FirstSelectedRow(); }
    std::int32_t MemberKey() override { return view_.currentMember(); }
    std::int32_t RowsPerPage() override { return view_.RowsPerPage(); }
    void SelectRow(std::int32_t row) override {
        waitWhileSelecting = IsWaiting();
        view_.SelectRow(row);
    }
    void ShowRowAt(std::int32_t row, std::int32_t line) override { view_.ShowRowAt(row, line); }
    void SearchFinished() override {
        ++finished;
        waitAtFinish = IsWaiting();
    }

    int finished = 0;
    bool waitWhileSelecting = false;
    bool waitAtFinish = false;

private:
    static bool IsWaiting() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    }
    CTalvoraView& view_;
};

class FindDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQApplication(); }
    void SetUp() override { commands_.CreateActions(&owner_); }

    void Add(const QString& text, std::uint32_t direction = 0, std::int32_t stamp = kJune1) {
        history.Add(kMember, text, direction, 1, stamp);
    }
    void ShowList() {
        ASSERT_TRUE(database.Open(history.paths.data, history.paths.index));
        view = std::make_unique<CTalvoraView>(database);
        view->ShowMember(kMember);
        view->resize(800, view->horizontalHeader()->sizeHint().height() +
                              20 * view->verticalHeader()->defaultSectionSize());
        view->show();
        list = std::make_unique<ViewList>(*view);
    }
    void Select(std::initializer_list<int> rows) {
        view->clearSelection();
        for (int row : rows) {
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    std::unique_ptr<CFindDialog> Open() {
        auto dialog = std::make_unique<CFindDialog>(database, saved, *list);
        dialog->show();
        return dialog;
    }
    template <typename T>
    static T* Child(CFindDialog& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // Presses "次を検索" until the search finishes; the rows found on the way.
    std::vector<int> AllHits(CFindDialog& dialog) {
        std::vector<int> hits;
        const int before = list->finished;
        for (int i = 0; i < 50 && list->finished == before; ++i) {
            dialog.FindNextStep();
            if (list->finished == before) {
                hits.push_back(dialog.criteria().position);
            }
        }
        return hits;
    }
    static void Type(CFindDialog& dialog, const QString& text) {
        auto* edit = Child<QLineEdit>(dialog, "searchText");
        edit->clear();
        edit->insert(text);  // as typed; keyClicks knows no Japanese
    }

    UtcZone zone;
    ListHistory history;
    MessageDatabase database;
    std::unique_ptr<CTalvoraView> view;
    std::unique_ptr<ViewList> list;
    SearchCriteria saved;

private:
    QWidget owner_;
    CommandTable commands_;
};
