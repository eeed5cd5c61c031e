#pragma once

#include "ui/stats/CGraphPage.h"

struct MemberStats;

// "グラフ(時間)": the member's events over the 24 hours of the day.
class CMemberPage2 : public CGraphPage {
    Q_OBJECT
public:
    explicit CMemberPage2(QWidget* parent = nullptr);

    void ShowStats(const MemberStats& stats);
};
