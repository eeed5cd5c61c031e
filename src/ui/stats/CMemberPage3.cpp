#include "ui/stats/CMemberPage3.h"

#include "stats/DistributionGraph.h"
#include "ui/stats/MemberSheetTexts.h"

CMemberPage3::CMemberPage3(QWidget* parent)
    : CGraphPage(QString::fromUtf8(membertext::kWeekdayCaption), parent) {
    setObjectName(QStringLiteral("weekdayPage"));
    ShowStats(MemberStats());
}

void CMemberPage3::ShowStats(const MemberStats& stats) {
    SetBars(BarValues(stats.byWeekday, kWeekdayBars), WeekdayLabels());
}
