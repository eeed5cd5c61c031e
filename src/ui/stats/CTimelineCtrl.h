#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

#include "stats/GraphLayout.h"
#include "stats/MonthTimeline.h"

// The month graph, in the look of the hour and weekday graphs: a column of cells per month,
// sent cells and received cells lit in two colours, the year under each January. It is as
// wide as its months need (its page scrolls it); the arithmetic is MonthTimeline's.
class CTimelineCtrl : public QWidget {
    Q_OBJECT
public:
    static const QColor kBackColor;
    static const QColor kSentColor;
    static const QColor kReceivedColor;
    static const QColor kUnlitColor;

    explicit CTimelineCtrl(QWidget* parent = nullptr);

    void SetTimeline(MonthTimeline timeline);
    const MonthTimeline& timeline() const { return timeline_; }
    // The layout a paint at the present size uses.
    GraphLayout Layout() const;
    // Where bar `bar`'s column is, in the widget.
    QRect BarRect(std::int32_t bar) const;

    QSize sizeHint() const override;

signals:
    // A bar was double-clicked.
    void monthActivated(int year, int month);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    MonthTimeline timeline_;
};
