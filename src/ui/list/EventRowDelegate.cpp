#include "ui/list/EventRowDelegate.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QIcon>
#include <QPainter>

#include <algorithm>

#include "ui/list/EventListModel.h"

EventRowDelegate::EventRowDelegate(QAbstractItemView& view)
    : QAbstractItemDelegate(&view), view_(view) {}

void EventRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QRect cell = option.rect;
    QRect fill = cell;
    if (index.column() == index.model()->columnCount() - 1) {
        fill.setRight(std::max(fill.right(), view_.viewport()->width() - 1));
    }

    QColor text;
    if (selected) {
        painter->fillRect(fill, option.palette.color(QPalette::Highlight));
        text = option.palette.color(QPalette::HighlightedText);
    } else {
        painter->fillRect(fill, index.data(Qt::BackgroundRole).value<QBrush>());
        text = index.data(Qt::ForegroundRole).value<QBrush>().color();
    }
    painter->setPen(text);

    const QString label = index.data(Qt::DisplayRole).toString();
    if (index.column() == TypeColumn) {
        const QRect iconRect(cell.left() + kTypeTextMargin,
                             cell.top() + (cell.height() - kIconSize) / 2, kIconSize, kIconSize);
        painter->save();
        painter->setClipRect(cell, Qt::IntersectClip);
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        if (cell.width() > 1 && !icon.isNull()) {
            icon.paint(painter, iconRect);
            if (selected) {
                // A selected row's icon is half blended into the highlight colour.
                QColor blend = option.palette.color(QPalette::Highlight);
                blend.setAlpha(128);
                painter->fillRect(iconRect, blend);
            }
        }
        // Cut at the column's edge, no ellipsis.
        const int textLeft = iconRect.right() + 1 + 2 * kTypeTextMargin;
        const QRect textRect(textLeft, cell.top(),
                             std::max(0, cell.right() - kTypeTextMargin - textLeft + 1),
                             cell.height());
        painter->drawText(textRect,
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                          label);
        painter->restore();
        return;
    }

    const QRect textRect = cell.adjusted(kTextMargin, 0, -kTextMargin, 0);
    if (textRect.width() <= 0 || label.isEmpty()) {
        return;
    }
    const QString shown = option.fontMetrics.elidedText(label, Qt::ElideRight, textRect.width());
    painter->save();
    painter->setClipRect(cell, Qt::IntersectClip);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

QSize EventRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), std::max(option.fontMetrics.height(), kIconSize) + 3};
}
