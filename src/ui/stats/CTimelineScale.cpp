#include "ui/stats/CTimelineScale.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "ui/stats/CTimelineCtrl.h"

namespace {

constexpr int kLabelPointSize = 8;
constexpr int kPadding = 4;

}  // namespace

CTimelineScale::CTimelineScale(CTimelineCtrl* graph, QWidget* parent)
    : QWidget(parent), graph_(graph) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont labelFont = font();
    labelFont.setPointSize(kLabelPointSize);
    setFont(labelFont);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // The graph's height and the cells' places follow its size.
    graph_->installEventFilter(this);
}

QString CTimelineScale::TopText() const {
    return QString::number(graph_->timeline().maxTotal());
}

QSize CTimelineScale::sizeHint() const {
    // Room for any count up to the 32-bit limit would be wasted on most histories; seven
    // digits cover a member's busiest month.
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 2 * kPadding, 0);
}

bool CTimelineScale::eventFilter(QObject* watched, QEvent* event) {
    if (watched == graph_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void CTimelineScale::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), CTimelineCtrl::kBackColor);
    const GraphLayout layout = graph_->Layout();
    if (layout.barCount == 0 || layout.geometry.cellCount <= 0) {
        return;
    }
    painter.setPen(CTimelineCtrl::kReceivedColor);
    const GraphRect top = layout.CellRect(0, layout.geometry.cellCount - 1);
    const GraphRect bottom = layout.CellRect(0, 0);
    const int offset = mapFromGlobal(graph_->mapToGlobal(QPoint(0, 0))).y();
    const int textHeight = fontMetrics().height();
    const QRect topText(0, offset + top.top, width() - kPadding, textHeight);
    const QRect bottomText(0, offset + bottom.bottom - textHeight, width() - kPadding, textHeight);
    painter.drawText(topText, Qt::AlignRight | Qt::AlignTop, TopText());
    painter.drawText(bottomText, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("0"));
}
