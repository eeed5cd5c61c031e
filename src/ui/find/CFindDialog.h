#pragma once

#include <QDialog>

#include <vector>

#include "search/SearchCriteria.h"
#include "ui/controls/SearchCriteriaControls.h"

class MessageDatabase;
class QAbstractItemView;
class QPushButton;
class QRadioButton;
class SearchList;

// "リスト内の検索": the search text, a date limit (all events, one day or a period of
// days), the directions taken part and the direction of travel. It works on a copy of the
// application's criteria: "次を検索" searches with what it shows, "キャンセル" saves what it
// shows and closes, Esc and the close box save nothing. Enter on any control but
// "キャンセル" runs "次を検索" whatever the button's state and leaves the dialog open.
class CFindDialog : public QDialog {
    Q_OBJECT
public:
    using DateMode = SearchCriteriaControls::DateMode;

    // `saved` is the application's criteria: copied in now, written back by "キャンセル".
    CFindDialog(MessageDatabase& database, SearchCriteria& saved, SearchList& list,
                QWidget* parent = nullptr);
    ~CFindDialog() override;

    const SearchCriteria& criteria() const { return working_; }
    DateMode dateMode() const;

    // Enables "次を検索" when the criteria are complete and keeps `ready` in step with it.
    void CheckCriteria();
    // "次を検索": one search step with what the dialog shows.
    void FindNextStep();
    // "キャンセル": saves what the dialog shows and closes.
    void SaveAndClose();
    // The view that shows the list searched: the dialog keeps out of the way of its hits.
    void KeepHitsInSightOf(QAbstractItemView* view) { hitView_ = view; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateDirectionGroup();
    void CopyIn(SearchList& list);
    // The text, the two check boxes and the date limit as the dialog shows them.
    void ReadControls(SearchCriteria& criteria) const;
    // Tab and Shift+Tab from the focused control, in the order of the layout.
    void MoveFocus(bool forward);
    // Moves the dialog, or scrolls the list, when the dialog covers the row just found.
    void KeepHitInSight();

    MessageDatabase& database_;
    SearchCriteria& saved_;
    SearchList& list_;
    SearchCriteria working_;

    SearchCriteriaControls controls_;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::vector<QWidget*> tabOrder_;
    QAbstractItemView* hitView_ = nullptr;
};
