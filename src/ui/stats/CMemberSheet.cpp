#include "ui/stats/CMemberSheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"
#include "ui/controls/FitScrollArea.h"
#include "ui/controls/WaitCursor.h"
#include "ui/stats/CMemberPage1.h"
#include "ui/stats/CMemberPage2.h"
#include "ui/stats/CMemberPage3.h"
#include "ui/stats/CMemberPage4.h"
#include "ui/stats/MemberSheetTexts.h"

CMemberSheet::CMemberSheet(MessageDatabase& database, QWidget* parent)
    : QDialog(parent),
      database_(database),
      tabs_(new QTabWidget),
      page1_(new CMemberPage1),
      page2_(new CMemberPage2),
      page3_(new CMemberPage3),
      page4_(new CMemberPage4) {
    setObjectName(QStringLiteral("memberSheet"));
    setWindowTitle(QString::fromUtf8(membertext::kCaption));
    tabs_->setObjectName(QStringLiteral("memberTabs"));
    tabs_->addTab(page1_, QString::fromUtf8(membertext::kGeneralTab));
    tabs_->addTab(page2_, QString::fromUtf8(membertext::kHourTab));
    tabs_->addTab(page3_, QString::fromUtf8(membertext::kWeekdayTab));
    tabs_->addTab(page4_, QString::fromUtf8(membertext::kTimelineTab));
    tabs_->setCurrentIndex(0);

    // Nothing on the pages can be changed, so there is nothing to apply.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(membertext::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(membertext::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(page4_, &CMemberPage4::monthChosen, this, [this](int year, int month) {
        chosenMonth_ = CalendarMonth{year, month};
        accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new FitScrollArea(tabs_), 1);
    layout->addWidget(buttons);
}

void CMemberSheet::SetMember(std::int32_t key) {
    memberKey_ = key;
    chosenMonth_.reset();
    {
        WaitCursor wait;
        stats_ = ComputeStats(database_, key);
    }
    const QString name = key == ALL_MEMBERS ? QString() : FromShiftJis(database_.MemberName(key));
    page1_->ShowMember(key, name, stats_);
    page2_->ShowStats(stats_);
    page3_->ShowStats(stats_);
    page4_->ShowStats(stats_);
}
