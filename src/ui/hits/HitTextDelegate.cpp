#include "ui/hits/HitTextDelegate.h"

#include <QApplication>
#include <QPainter>

#include "ui/hits/HitListModel.h"

namespace {
constexpr int kTextMargin = 4;
}  // namespace

QColor HitTextDelegate::MarkColor() {
    return QColor(255, 226, 110);
}

void HitTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const QString before = index.data(HitListModel::BeforeHitRole).toString();
    const QString hit = index.data(HitListModel::HitRole).toString();
    const QString after = index.data(HitListModel::AfterHitRole).toString();
    QRect rect = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    const bool selected = (option.state & QStyle::State_Selected) != 0;

    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics plainMetrics(option.font);
    const QFontMetrics boldMetrics(bold);
    const int hitWidth = boldMetrics.horizontalAdvance(hit);
    // The hit stays in sight: what comes before it gives way first.
    const QString shownBefore =
        plainMetrics.elidedText(before, Qt::ElideLeft, std::max(0, rect.width() - hitWidth) / 2);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    painter->setFont(option.font);
    painter->drawText(rect, flags, shownBefore);
    rect.setLeft(rect.left() + plainMetrics.horizontalAdvance(shownBefore));

    const QRect hitRect(rect.left(), option.rect.top() + 1, std::min(hitWidth, rect.width()),
                        option.rect.height() - 2);
    painter->fillRect(hitRect, MarkColor());
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setFont(bold);
    painter->drawText(rect, flags, hit);
    rect.setLeft(rect.left() + hitWidth);

    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(rect, flags, plainMetrics.elidedText(after, Qt::ElideRight, rect.width()));
    painter->restore();
}
