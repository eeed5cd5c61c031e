#pragma once

#include <QWidget>

#include <optional>

#include "stats/MonthTimeline.h"

class CTimelineCtrl;
class CTimelineScale;
class QScrollArea;
struct MemberStats;

// "年月別": the member's events month by month, from the first event's month to the last
// one's, sent and received apart. The graph scrolls sideways and starts on the newest month;
// double-clicking a month with events asks to go to it.
class CMemberPage4 : public QWidget {
    Q_OBJECT
public:
    explicit CMemberPage4(QWidget* parent = nullptr);

    void ShowStats(const MemberStats& stats);

    CTimelineCtrl* graph() const { return graph_; }
    CTimelineScale* scale() const { return scale_; }
    QScrollArea* scrollArea() const { return scroll_; }

signals:
    // A month with events was double-clicked.
    void monthChosen(int year, int month);

private:
    CTimelineCtrl* graph_;
    CTimelineScale* scale_;
    QScrollArea* scroll_;
    bool atNewest_ = true;  // keep the newest month in view while the width changes
};
