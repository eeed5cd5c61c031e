// The hit list and the go-to-date commands of the application.
#include "app/CTalvoraApp.h"

#include <QDate>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>

#include "database/EventRecord.h"
#include "document/HistoryDocument.h"
#include "search/DayRow.h"
#include "settings/Settings.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/WindowPlacing.h"
#include "ui/hits/CGoToDateDialog.h"
#include "ui/hits/CHitCriteriaForm.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

// The hit list's opening size, and the least that is worth opening beside the main window.
constexpr int kHitListWidth = 760;
constexpr int kHitListHeight = 480;
constexpr int kHitListUsefulWidth = 480;
constexpr int kHitListUsefulHeight = 320;
constexpr int kSpare = 8;

}  // namespace

void CTalvoraApp::OpenHitList() {
    CLeftView* tree = treeView();
    // "The selected member" is the one the tree has selected when the search starts.
    auto followTree = [this, tree] {
        hitList_->form()->SetSelectedMember(tree->SelectedMember(), tree->SelectedLabel());
    };
    if (hitList_ == nullptr) {
        hitList_ = new CHitListWindow(database(), frame_.get());
        connect(hitList_, &CHitListWindow::hitSelected, this,
                [this](std::int32_t key, std::int32_t row) { ShowHit(key, row); });
        connect(tree, &CLeftView::memberSelected, hitList_, followTree);
        connect(tree, &CLeftView::selectionCleared, hitList_, followTree);
        // Appended events are searched while the window is open.
        connect(document_.get(), &HistoryDocument::appended, hitList_,
                &CHitListWindow::TakeUpAppended);
        PlaceHitList();
    }
    followTree();
    hitList_->show();
    hitList_->raise();
    hitList_->activateWindow();
    hitList_->form()->textEdit()->setFocus();
    hitList_->form()->textEdit()->selectAll();
}

// Where the user left it last time; else beside or below the main window where there is
// room, else over the lower part of the screen, so that the list's upper part stays in sight.
void CTalvoraApp::PlaceHitList() {
    if (const auto stored = settingsFile_->LoadWindowPlacement(StoredWindow::HitList)) {
        PlaceWindow(*hitList_, *stored);
        return;
    }
    const QScreen* screen = frame_->screen();
    if (screen == nullptr) {
        return;
    }
    hitList_->ensurePolished();
    if (QLayout* layout = hitList_->layout()) {
        layout->activate();  // the size the criteria really take, with the style's fonts
    }
    // A few pixels to spare, so that rounding in the layouts never asks for a scroll bar.
    const QSize wanted(std::max(kHitListWidth, hitList_->sizeHint().width() + kSpare),
                       kHitListHeight);
    const QSize useful(kHitListUsefulWidth, kHitListUsefulHeight);
    OpenWithFrameAt(
        *hitList_,
        BesideOrBelow(frame_->frameGeometry(), wanted, useful, screen->availableGeometry()),
        *frame_);
}

void CTalvoraApp::ForgetHits() {
    if (hitList_ != nullptr) {
        hitList_->ForgetHits();
    }
}

void CTalvoraApp::ShowHit(std::int32_t key, std::int32_t row) {
    if (!treeView()->SelectMember(key)) {
        return;  // a member the tree does not show yet
    }
    // The row shows where the hit list does not cover the list; only where the list cannot
    // scroll so far (its last rows) does the hit list make way.
    const bool covering = hitList_ != nullptr && hitList_->isVisible();
    const QRect shown = listView()->RevealRow(row, covering ? hitList_->frameGeometry() : QRect());
    if (covering && shown.intersects(hitList_->frameGeometry()) && hitList_->screen() != nullptr) {
        const QRect area = hitList_->screen()->availableGeometry();
        const QRect frame = hitList_->frameGeometry();
        if (shown.top() - frame.height() >= area.top()) {
            hitList_->move(frame.left(), shown.top() - frame.height());
        } else if (shown.bottom() + 1 + frame.height() <= area.bottom() + 1) {
            hitList_->move(frame.left(), shown.bottom() + 1);
        }
    }
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
        list->RevealRow(*row);
    }
}
