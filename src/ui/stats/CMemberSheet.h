#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

#include "stats/MemberStats.h"
#include "stats/MonthTimeline.h"

class CMemberPage1;
class CMemberPage2;
class CMemberPage3;
class CMemberPage4;
class MessageDatabase;
class QTabWidget;

// "プロパティ" of one member, or of all members (ALL_MEMBERS): the general page with the
// counts by type and direction, the two distribution graphs and the months. The figures come
// from one pass over the member's events when the member is set; nothing is written back.
// Double-clicking a month closes the sheet (accepted) with that month chosen.
class CMemberSheet : public QDialog {
    Q_OBJECT
public:
    explicit CMemberSheet(MessageDatabase& database, QWidget* parent = nullptr);

    // Counts the member's events, under the wait cursor, and fills the pages.
    void SetMember(std::int32_t key);

    std::int32_t memberKey() const { return memberKey_; }
    const MemberStats& stats() const { return stats_; }
    QTabWidget* tabs() const { return tabs_; }
    CMemberPage1* generalPage() const { return page1_; }
    CMemberPage2* hourPage() const { return page2_; }
    CMemberPage3* weekdayPage() const { return page3_; }
    CMemberPage4* timelinePage() const { return page4_; }
    // The month double-clicked on the timeline page, if the sheet was closed so.
    std::optional<CalendarMonth> chosenMonth() const { return chosenMonth_; }

private:
    MessageDatabase& database_;
    MemberStats stats_;
    std::int32_t memberKey_ = 0;
    QTabWidget* tabs_;
    CMemberPage1* page1_;
    CMemberPage2* page2_;
    CMemberPage3* page3_;
    CMemberPage4* page4_;
    std::optional<CalendarMonth> chosenMonth_;
};
