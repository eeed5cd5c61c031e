#include "ui/list/CTalvoraView.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "database/EventCells.h"
#include "database/HistoryChange.h"
#include "ui/controls/Colors.h"
#include "ui/controls/Metrics.h"
#include "ui/controls/WaitCursor.h"
#include "ui/list/EventListModel.h"
#include "ui/list/EventRowDelegate.h"

namespace {

// Column widths in pixels, in column order (type, date, time, name, text, UIN).
constexpr int kColumnWidths[] = {120, 90, 60, 100, 300, 60};

}  // namespace

CTalvoraView::CTalvoraView(MessageDatabase& database, QWidget* parent)
    : QTableView(parent), database_(database), model_(new EventListModel(database, this)) {
    setModel(model_);
    setItemDelegate(new EventRowDelegate(*this));
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the tree instead of walking the cells.
    setTabKeyNavigation(false);
    // Vertically by whole rows, as a list scrolls; sideways by pixels.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    UpdateRowHeight();

    QHeaderView* columns = horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setSectionsMovable(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    for (int column = 0; column < model_->columnCount(); ++column) {
        columns->resizeSection(column, ScaledWidth(*this, kColumnWidths[column]));
    }

    // The platform's list colours until the settings give the stored ones.
    SetListColors(PaletteListColors(palette()));

    connect(model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (first == 0) {
                    insertedAtTop_ += last - first + 1;
                    emit rowsAddedAtTop(last - first + 1);
                }
            });
}

CTalvoraView::~CTalvoraView() = default;

void CTalvoraView::UpdateRowHeight() {
    const int height = std::max(fontMetrics().height(), EventRowDelegate::kIconSize) + 3;
    verticalHeader()->setDefaultSectionSize(height);
}

void CTalvoraView::ShowMember(std::int32_t key) {
    QScrollBar* bar = verticalScrollBar();
    const int top = bar->value();
    insertedAtTop_ = 0;
    model_->ShowMember(key);
    if (insertedAtTop_ > 0 && top > 0) {
        // Keep the same events on screen; a list at the very top shows the new ones.
        executeDelayedItemsLayout();
        bar->setValue(top + insertedAtTop_);
    }
    insertedAtTop_ = 0;
}

void CTalvoraView::ClearList() {
    model_->Clear();
}

void CTalvoraView::SelectRow(int row) {
    QItemSelectionModel* selection = selectionModel();
    const int first = FirstSelectedRow();
    if (first >= 0) {
        selection->select(model_->index(first, 0),
                          QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    if (row >= 0 && row < model_->rowCount()) {
        selection->select(model_->index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void CTalvoraView::ShowRowAt(int row, int position) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    executeDelayedItemsLayout();
    // A position below the page (the list was made smaller) would hide the row.
    const int page = std::max(1, RowsPerPage());
    position = std::clamp(position, 1, page);
    verticalScrollBar()->setValue(std::max(0, row - position + 1));
}

QRect CTalvoraView::RevealRow(int row, const QRect& covered) {
    if (row < 0 || row >= RowCount()) {
        return {};
    }
    clearSelection();
    SelectRow(row);
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    executeDelayedItemsLayout();
    const int lineHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int pageLines = std::max(1, RowsPerPage());
    int line = std::max(1, pageLines / 2);
    // Only a window across most of the list's width hides the row; the larger free band
    // above or below it then takes the row.
    const QRect page(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
    const QRect hidden = page & covered;
    if (!hidden.isEmpty() && hidden.width() * 2 > page.width()) {
        const int above = hidden.top() - page.top();
        const int below = page.bottom() - hidden.bottom();
        if (above >= below && above >= lineHeight) {
            line = std::max(1, above / lineHeight / 2 + 1);
        } else if (below >= lineHeight) {
            line = (hidden.bottom() + 1 - page.top() + below / 2) / lineHeight + 1;
        }
    }
    ShowRowAt(row, line);
    const QRect shown = visualRect(model()->index(row, 0));
    return {viewport()->mapToGlobal(QPoint(0, shown.top())), QSize(page.width(), shown.height())};
}

void CTalvoraView::ForgetDecodedRow() {
    model_->ForgetDecodedRow();
    viewport()->update();
}

void CTalvoraView::TakeAppended(const HistoryChange& change) {
    if (!model_->hasMember()) {
        return;
    }
    const std::int32_t key = model_->member();
    const auto has = [key](const std::vector<std::int32_t>& keys) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    if (has(change.grownMembers) || has(change.newMembers)) {
        ShowMember(key);
    }
}

const ListColors& CTalvoraView::listColors() const {
    return model_->colors();
}

void CTalvoraView::SetListColors(const ListColors& colors) {
    model_->SetColors(colors);
    QPalette palette = this->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, ToQColor(colors.highlightBackground));
        palette.setColor(group, QPalette::HighlightedText, ToQColor(colors.highlightText));
    }
    setPalette(palette);
    viewport()->repaint();
}

bool CTalvoraView::hasMember() const {
    return model_->hasMember();
}

std::int32_t CTalvoraView::currentMember() const {
    return model_->member();
}

int CTalvoraView::RowCount() const {
    return model_->rowCount();
}

int CTalvoraView::FirstSelectedRow() const {
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.isValid() && (first < 0 || range.top() < first)) {
            first = range.top();
        }
    }
    return first;
}

std::vector<int> CTalvoraView::SelectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (!range.isValid()) {
            continue;
        }
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CTalvoraView::TopRow() const {
    // Scrolled to the end, the table aligns the last row with the bottom edge and the top
    // row is cut; the first whole row is the one a person reads as the top.
    const int row = rowAt(0);
    if (row < 0) {
        return 0;
    }
    return rowViewportPosition(row) < 0 && row + 1 < model_->rowCount() ? row + 1 : row;
}

int CTalvoraView::RowsPerPage() const {
    const int height = verticalHeader()->defaultSectionSize();
    return height > 0 ? viewport()->height() / height : 0;
}

QString CTalvoraView::CellText(int row, int column) const {
    return model_->data(model_->index(row, column), EventListModel::FullTextRole).toString();
}

int CTalvoraView::RowImage(int row) const {
    return model_->data(model_->index(row, TypeColumn), EventListModel::ImageRole).toInt();
}

EventListModel* CTalvoraView::eventModel() const {
    return model_;
}

void CTalvoraView::CopySelection() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        return;
    }
    WaitCursor wait;
    QString text;
    for (const int row : rows) {
        for (int column = 0; column < model_->columnCount(); ++column) {
            if (column > 0) {
                text += QLatin1Char('\t');
            }
            // As the list shows it: one line, no TAB inside a cell.
            text += model_->data(model_->index(row, column), Qt::DisplayRole).toString();
        }
        text += QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

void CTalvoraView::mousePressEvent(QMouseEvent* event) {
    // A click below the last row keeps the selection, so that a double click there still
    // opens the selected row.
    if (!indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void CTalvoraView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Anywhere in the list, also below the last row: the details of the selected row.
    if (event->button() == Qt::LeftButton && FirstSelectedRow() >= 0) {
        emit detailsRequested();
    }
    QTableView::mouseDoubleClickEvent(event);
}

void CTalvoraView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        CopySelection();
        event->accept();
        return;
    }
    // Enter on a selected row: its details, as a double click.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == 0 && FirstSelectedRow() >= 0) {
        emit detailsRequested();
        event->accept();
        return;
    }
    // No type-ahead search: it would decode every row of the list looking for a match.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
        event->key() != Qt::Key_Space &&
        (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CTalvoraView::paintEvent(QPaintEvent* event) {
    // Rows reach the right edge: when the area right of the last column needs painting,
    // the last column is painted too, so that its cells carry the row colour on.
    const int last = model_->columnCount() - 1;
    const int lastRight = columnViewportPosition(last) + columnWidth(last);
    QRegion region = event->region();
    if (region.boundingRect().right() >= lastRight) {
        const QRect box = region.boundingRect();
        region += QRect(lastRight - columnWidth(last), box.top(), columnWidth(last), box.height());
    }
    QPaintEvent widened(region);
    QTableView::paintEvent(&widened);
    PaintRowEnds();
    DrawFocusRow();
}

// The table paints only as far as its columns reach; each row's colour (or the highlight)
// goes on to the right edge of the list.
void CTalvoraView::PaintRowEnds() {
    const int last = model_->columnCount() - 1;
    const int right = columnViewportPosition(last) + columnWidth(last);
    const int rows = model_->rowCount();
    if (right >= viewport()->width() || rows == 0) {
        return;
    }
    const int first = std::max(0, rowAt(0));
    int end = rowAt(viewport()->height() - 1);
    end = end < 0 ? rows - 1 : end;
    QPainter painter(viewport());
    for (int row = first; row <= end; ++row) {
        const QRect strip(right, rowViewportPosition(row), viewport()->width() - right,
                          rowHeight(row));
        if (selectionModel()->isRowSelected(row, QModelIndex())) {
            painter.fillRect(strip, palette().color(QPalette::Highlight));
        } else {
            painter.fillRect(strip,
                             model_->index(row, last).data(Qt::BackgroundRole).value<QBrush>());
        }
    }
}

void CTalvoraView::DrawFocusRow() {
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid()) {
        return;
    }
    const int y = rowViewportPosition(current.row());
    const int height = rowHeight(current.row());
    if (y + height <= 0 || y >= viewport()->height()) {
        return;
    }
    const bool selected = selectionModel()->isRowSelected(current.row(), QModelIndex());
    const QColor color = selected ? palette().color(QPalette::HighlightedText)
                                  : current.data(Qt::ForegroundRole).value<QBrush>().color();
    QPainter painter(viewport());
    QPen pen(color);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    const int left = columnViewportPosition(0);
    painter.drawRect(QRect(left, y, viewport()->width() - left, height).adjusted(0, 0, -1, -1));
}

void CTalvoraView::RepaintRows() {
    viewport()->update();
}

void CTalvoraView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    RepaintRows();
}

void CTalvoraView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    RepaintRows();
}

void CTalvoraView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The focus rectangle spans the row, not the current cell alone.
    RepaintRows();
}

void CTalvoraView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    // The highlight reaches past the last column, which the cells' own update misses.
    RepaintRows();
}

void CTalvoraView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // Rows are shown whole: bringing a row into view never scrolls sideways to a cell.
    QScrollBar* bar = horizontalScrollBar();
    const int sideways = bar->value();
    QTableView::scrollTo(index, hint);
    bar->setValue(sideways);
}

void CTalvoraView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateRowHeight();
    }
}
