// The hit list and the go-to-date commands of the application.
#include "app/CTalvoraApp.h"

#include <QDate>
#include <QLineEdit>

#include "database/EventRecord.h"
#include "document/HistoryDocument.h"
#include "search/DayRow.h"
#include "ui/frame/CMainFrame.h"
#include "ui/hits/CGoToDateDialog.h"
#include "ui/hits/CHitCriteriaForm.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

// Selects `row` alone, makes it the current row and brings it to the middle of the list,
// as a search hit is shown.
void BringRowIntoView(CTalvoraView& list, int row) {
    if (row < 0 || row >= list.RowCount()) {
        return;
    }
    list.clearSelection();
    list.SelectRow(row);
    list.selectionModel()->setCurrentIndex(list.model()->index(row, 0),
                                           QItemSelectionModel::NoUpdate);
    list.ShowRowAt(row, std::max(1, list.RowsPerPage() / 2));
}

}  // namespace

void CTalvoraApp::OpenHitList() {
    CLeftView* tree = treeView();
    // "The selected member" is the one the tree has selected when the search starts.
    auto followTree = [this, tree] {
        QTreeWidgetItem* item = tree->currentItem();
        if (item == nullptr || item == tree->membersRoot()) {
            hitList_->form()->SetSelectedMember(std::nullopt, QString());
        } else {
            hitList_->form()->SetSelectedMember(CLeftView::ItemKey(item), item->text(0));
        }
    };
    if (hitList_ == nullptr) {
        hitList_ = new CHitListWindow(database(), frame_.get());
        connect(hitList_, &CHitListWindow::hitSelected, this,
                [this](std::int32_t key, std::int32_t row) { ShowHit(key, row); });
        connect(tree, &QTreeWidget::currentItemChanged, hitList_, followTree);
        // Appended events are searched while the window is open.
        connect(document_.get(), &HistoryDocument::appended, hitList_,
                &CHitListWindow::TakeUpAppended);
    }
    followTree();
    hitList_->show();
    hitList_->raise();
    hitList_->activateWindow();
    hitList_->form()->textEdit()->setFocus();
    hitList_->form()->textEdit()->selectAll();
}

void CTalvoraApp::ForgetHits() {
    if (hitList_ != nullptr) {
        hitList_->ForgetHits();
    }
}

void CTalvoraApp::ShowHit(std::int32_t key, std::int32_t row) {
    CLeftView* tree = treeView();
    QTreeWidgetItem* item = nullptr;
    if (key == ALL_MEMBERS) {
        item = tree->allMembersItem();
    } else if (QTreeWidgetItem* root = tree->membersRoot()) {
        for (int i = 0; i < root->childCount() && item == nullptr; ++i) {
            if (CLeftView::ItemKey(root->child(i)) == key) {
                item = root->child(i);
            }
        }
    }
    if (item == nullptr) {
        return;  // a member the tree does not show yet
    }
    if (tree->currentItem() != item) {
        tree->setCurrentItem(item);
    }
    BringRowIntoView(*listView(), row);
}

void CTalvoraApp::GoToDate() {
    CTalvoraView* list = listView();
    if (!list->hasMember() || list->RowCount() == 0) {
        return;
    }
    // The dialog starts on the date of the selected event, else on today.
    QDate initial = QDate::currentDate();
    const int selected = list->FirstSelectedRow();
    EventRecord record;
    const std::int32_t key = list->currentMember();
    if (selected >= 0 &&
        database().ReadEvent(key, RowToIndex(list->RowCount(), selected), record)) {
        initial = QDate(record.time.tm_year + 1900, record.time.tm_mon + 1, record.time.tm_mday);
    }
    CGoToDateDialog dialog(initial, frame_.get());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QDate date = dialog.date();
    const std::optional<std::int32_t> row =
        FindDayRow(database(), key, {date.year(), date.month(), date.day()});
    if (row) {
        BringRowIntoView(*list, *row);
    }
}
