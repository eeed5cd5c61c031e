#pragma once

#include <QWidget>

class CTimelineCtrl;

// The scale beside the month graph, which stays put while the graph scrolls: the highest
// month's count level with the top cell, 0 level with the lowest.
class CTimelineScale : public QWidget {
    Q_OBJECT
public:
    explicit CTimelineScale(CTimelineCtrl* graph, QWidget* parent = nullptr);

    // The count shown at the top.
    QString TopText() const;

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CTimelineCtrl* graph_;
};
