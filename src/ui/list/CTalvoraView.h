#pragma once

#include <QTableView>

#include <cstdint>
#include <vector>

#include "settings/Settings.h"

class EventListModel;
struct HistoryChange;
class MessageDatabase;

// The event list: one row per event of the member shown, newest first (row r is the
// member's reference n - 1 - r), six columns (type, date, time, name, text, UIN), rows in
// the sent or received colours, the selected rows in the highlight colours whether or not
// the list has the focus. Virtual: a row is decoded only when it is painted or asked for.
//
// A table view rather than a tree view: it keeps no per-row item, so a million rows cost
// a few bytes each and switching members costs the same whatever the count.
class CTalvoraView : public QTableView {
    Q_OBJECT
public:
    explicit CTalvoraView(MessageDatabase& database, QWidget* parent = nullptr);
    ~CTalvoraView() override;

    // Shows the events of `key`. Showing the member already shown again (the live refresh)
    // adds the new events at the top as inserted rows: the selection, the current row and
    // the rows on screen stay on the same events; a list at the very top stays there.
    void ShowMember(std::int32_t key);
    // Empties the list.
    void ClearList();
    // New entries were taken: the member shown gets its new events at the top.
    void TakeAppended(const HistoryChange& change);
    // Moves the selection from the first selected row to `row`.
    void SelectRow(int row);
    // Makes `row` the `position`-th visible line (1-based).
    void ShowRowAt(int row, int position);
    // Selects `row` alone, makes it the current row and brings it to the middle of the part
    // of the list that `covered` (a window over it, in screen coordinates) leaves free.
    // Returns where the row is on the screen (empty when there is no such row); a row near
    // the end of the list may stay under `covered`, for the list cannot scroll past its end.
    QRect RevealRow(int row, const QRect& covered = QRect());
    // Forgets the remembered decoded row and repaints (a name or a record changed).
    void ForgetDecodedRow();

    const ListColors& listColors() const;
    // Sets the six colours and repaints at once.
    void SetListColors(const ListColors& colors);

    bool hasMember() const;
    std::int32_t currentMember() const;
    int RowCount() const;
    int FirstSelectedRow() const;                 // -1 when none
    std::vector<int> SelectedRows() const;        // ascending
    int TopRow() const;                           // first visible row
    int RowsPerPage() const;                      // fully visible rows
    QString CellText(int row, int column) const;  // the whole text, line breaks kept
    int RowImage(int row) const;                  // the event-type image of the row
    EventListModel* eventModel() const;

    // Brings a row into view without scrolling sideways to the cell.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // A double click while a row is selected: the details of the first selected row.
    void detailsRequested();
    // New events came in at the top: every row number shown so far moved down by `count`.
    void rowsAddedAtTop(int count);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CopySelection();
    void UpdateRowHeight();
    // The focus rectangle around the whole current row, while the list has the focus.
    void DrawFocusRow();
    void PaintRowEnds();
    void RepaintRows();

    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

    MessageDatabase& database_;
    EventListModel* model_;
    int insertedAtTop_ = 0;  // rows the model inserted at the top during ShowMember
};
