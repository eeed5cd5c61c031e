#pragma once

#include <QAbstractItemDelegate>

class QAbstractItemView;

// Draws the cells of the event list: the row's colours (the highlight colours of the view's
// palette when selected, whether or not the list has the focus), the type icon, the type
// text cut at the column's edge and the other texts ending in an ellipsis. The last column
// carries its row's background on to the right edge of the viewport. The focus rectangle
// spans the whole row and is drawn by the view.
class EventRowDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    explicit EventRowDelegate(QAbstractItemView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Space around the texts, in pixels: the type text, the other columns.
    static constexpr int kTypeTextMargin = 2;
    static constexpr int kTextMargin = 6;
    static constexpr int kIconSize = 16;

private:
    QAbstractItemView& view_;
};
