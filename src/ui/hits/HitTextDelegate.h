#pragma once

#include <QStyledItemDelegate>

// Draws the text column of the hit list with the hit marked: the text before it, the hit
// in bold on a marker colour, then the rest, cut with an ellipsis where the cell ends.
class HitTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The marker behind the hit.
    static QColor MarkColor();
};
