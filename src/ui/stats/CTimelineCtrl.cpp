#include "ui/stats/CTimelineCtrl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "stats/DistributionGraph.h"

namespace {

constexpr int kDefaultWidth = 420;
constexpr int kDefaultHeight = 240;
constexpr int kLabelPointSize = 8;  // as the hour graph's labels

QRect ToQRect(const GraphRect& rect) {
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

// Received as the other graphs light their cells; sent in amber beside it.
const QColor CTimelineCtrl::kBackColor(0, 0, 0);
const QColor CTimelineCtrl::kSentColor(255, 176, 0);
const QColor CTimelineCtrl::kReceivedColor(0, 255, 0);
const QColor CTimelineCtrl::kUnlitColor(0, 102, 0);

CTimelineCtrl::CTimelineCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTimelineCtrl::SetTimeline(MonthTimeline timeline) {
    timeline_ = std::move(timeline);
    setMinimumWidth(timeline_.ContentWidth(DistributionGeometry()));
    updateGeometry();
    update();
}

GraphLayout CTimelineCtrl::Layout() const {
    return timeline_.Layout(width(), height(), QFontMetrics(font()).height(),
                            DistributionGeometry());
}

QRect CTimelineCtrl::BarRect(std::int32_t bar) const {
    const GraphLayout layout = Layout();
    const GraphRect cell = layout.CellRect(bar, 0);
    return QRect(QPoint(cell.left, 0), QPoint(cell.right - 1, height() - 1));
}

QSize CTimelineCtrl::sizeHint() const {
    return QSize(kDefaultWidth, kDefaultHeight);
}

void CTimelineCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackColor);
    const GraphLayout layout = Layout();

    QFont labelFont = font();
    labelFont.setPointSize(kLabelPointSize);
    painter.setFont(labelFont);
    painter.setPen(kReceivedColor);
    const QFontMetrics labelMetrics(labelFont);

    for (std::int32_t bar = 0; bar < layout.barCount; ++bar) {
        for (std::int32_t cell = 0; cell < layout.geometry.cellCount; ++cell) {
            const QRect cellRect = ToQRect(layout.CellRect(bar, cell));
            if (cellRect.width() <= 0 || cellRect.height() <= 0) {
                continue;
            }
            switch (timeline_.CellState(layout, bar, cell)) {
                case MonthTimeline::Cell::Sent:
                    painter.fillRect(cellRect, kSentColor);
                    break;
                case MonthTimeline::Cell::Received:
                    painter.fillRect(cellRect, kReceivedColor);
                    break;
                case MonthTimeline::Cell::Unlit:
                    painter.fillRect(cellRect, kUnlitColor);
                    break;
            }
        }
        if (!timeline_.HasYearLabel(bar)) {
            continue;
        }
        const QString year = QString::number(timeline_.MonthOf(bar).year);
        const QRect labelRect =
            ToQRect(layout.LabelRect(bar, labelMetrics.horizontalAdvance(year)));
        if (labelRect.width() > 0 && labelRect.height() > 0) {
            painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop, year);
        }
    }
}

void CTimelineCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::optional<std::int32_t> bar =
        timeline_.BarAt(Layout(), static_cast<std::int32_t>(event->position().x()));
    if (!bar) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const CalendarMonth month = timeline_.MonthOf(*bar);
    emit monthActivated(month.year, month.month);
}
