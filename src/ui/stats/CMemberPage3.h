#pragma once

#include "ui/stats/CGraphPage.h"

struct MemberStats;

// "グラフ(曜日)": the member's events over the days of the week, Sunday first.
class CMemberPage3 : public CGraphPage {
    Q_OBJECT
public:
    explicit CMemberPage3(QWidget* parent = nullptr);

    void ShowStats(const MemberStats& stats);
};
