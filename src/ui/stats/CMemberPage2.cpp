#include "ui/stats/CMemberPage2.h"

#include "stats/DistributionGraph.h"
#include "ui/stats/MemberSheetTexts.h"

CMemberPage2::CMemberPage2(QWidget* parent)
    : CGraphPage(QString::fromUtf8(membertext::kHourCaption), parent) {
    setObjectName(QStringLiteral("hourPage"));
    ShowStats(MemberStats());
}

void CMemberPage2::ShowStats(const MemberStats& stats) {
    SetBars(BarValues(stats.byHour, kHourBars), HourLabels());
}
