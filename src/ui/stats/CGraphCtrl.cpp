#include "ui/stats/CGraphCtrl.h"

#include <QFontMetrics>
#include <QPainter>

#include "settings/Settings.h"
#include "ui/controls/Colors.h"

namespace {

// Wide enough for the hour labels, two digits in the label font, to stand apart.
constexpr int kDefaultWidth = 420;
constexpr int kDefaultHeight = 240;
constexpr int kLabelPointSize = 8;

QRect ToQRect(const GraphRect& rect) {
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

CGraphCtrl::CGraphCtrl(QWidget* parent)
    : QWidget(parent),
      backColor_(ColorRef(0, 0, 0)),
      litColor_(ColorRef(0, 255, 0)),
      unlitColor_(ColorRef(0, 102, 0)) {
    // Every pixel is painted: nothing behind needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGraphCtrl::SetGraphGeometry(const GraphGeometry& geometry) {
    geometry_ = geometry;
    update();
}

void CGraphCtrl::SetValues(std::map<std::int32_t, std::int32_t> values) {
    values_ = std::move(values);
    update();
}

void CGraphCtrl::SetLabels(std::map<std::int32_t, QString> labels) {
    labels_ = std::move(labels);
    update();
}

void CGraphCtrl::SetColors(std::uint32_t back, std::uint32_t lit, std::uint32_t unlit) {
    backColor_ = back;
    litColor_ = lit;
    unlitColor_ = unlit;
    update();
}

int CGraphCtrl::TextHeight() const {
    // A text extent's height is the font's height, whatever the characters.
    return QFontMetrics(font()).height();
}

GraphLayout CGraphCtrl::Layout() const {
    return GraphLayout::Compute(width(), height(), TextHeight(), values_, geometry_);
}

QSize CGraphCtrl::sizeHint() const {
    return QSize(kDefaultWidth, kDefaultHeight);
}

void CGraphCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter);
}

void CGraphCtrl::Draw(QPainter& painter) const {
    const GraphLayout layout = Layout();
    const QColor back = ToQColor(backColor_);
    const QColor lit = ToQColor(litColor_);
    const QColor unlit = ToQColor(unlitColor_);
    painter.fillRect(rect(), back);

    QFont labelFont = font();
    labelFont.setPointSize(kLabelPointSize);
    painter.setFont(labelFont);
    painter.setPen(lit);
    const QFontMetrics labelMetrics(labelFont);

    for (std::int32_t bar = 0; bar < layout.barCount; ++bar) {
        const auto value = values_.find(bar);
        const std::int32_t barValue = value != values_.end() ? value->second : 0;
        for (std::int32_t cell = 0; cell < layout.geometry.cellCount; ++cell) {
            const QRect cellRect = ToQRect(layout.CellRect(bar, cell));
            if (cellRect.width() > 0 && cellRect.height() > 0) {
                painter.fillRect(cellRect, layout.IsLit(barValue, cell) ? lit : unlit);
            }
        }
        const auto label = labels_.find(bar);
        if (label == labels_.end() || label->second.isEmpty()) {
            continue;
        }
        // The rectangle is twice the text's width, centred on the bar; the text sits at
        // its top.
        const QRect labelRect =
            ToQRect(layout.LabelRect(bar, labelMetrics.horizontalAdvance(label->second)));
        if (labelRect.width() > 0 && labelRect.height() > 0) {
            painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop, label->second);
        }
    }
}
