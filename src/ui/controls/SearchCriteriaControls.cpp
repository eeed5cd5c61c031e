#include "ui/controls/SearchCriteriaControls.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

CalendarDate DayOf(const QDateEdit* picker) {
    const QDate date = picker->date();
    return CalendarDate{date.year(), date.month(), date.day()};
}

}  // namespace

QDateEdit* NewDatePicker(const QDate& date, QWidget* parent) {
    auto* picker = new QDateEdit(date, parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    return picker;
}

SearchCriteriaControls::SearchCriteriaControls(QWidget* parent) {
    textLabel_ = Named(new QLabel(QStringLiteral("検索する文字列(&N):"), parent), "searchLabel");
    text_ = Named(new QLineEdit(parent), "searchText");
    textLabel_->setBuddy(text_);
    CreateDateGroup(parent);
    CreateTargetGroup(parent);
}

void SearchCriteriaControls::CreateDateGroup(QWidget* parent) {
    dateGroup_ = Named(new QGroupBox(QStringLiteral("日付"), parent), "dateGroup");
    allEvents_ =
        Named(new QRadioButton(QStringLiteral("すべてのイベント"), dateGroup_), "allEvents");
    oneDay_ = Named(new QRadioButton(QStringLiteral("日付指定"), dateGroup_), "oneDay");
    period_ = Named(new QRadioButton(QStringLiteral("期間指定"), dateGroup_), "period");
    day_ = Named(NewDatePicker(QDate::currentDate(), dateGroup_), "dayPicker");
    first_ = Named(NewDatePicker(QDate::currentDate(), dateGroup_), "periodFirst");
    last_ = Named(NewDatePicker(QDate::currentDate(), dateGroup_), "periodLast");
    auto* from = Named(new QLabel(QStringLiteral("から"), dateGroup_), "fromLabel");
    from->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(dateGroup_);
    grid->addWidget(allEvents_, 0, 0, 1, 4);
    grid->addWidget(oneDay_, 1, 0);
    grid->addWidget(day_, 1, 1);
    grid->addWidget(period_, 2, 0);
    grid->addWidget(first_, 2, 1);
    grid->addWidget(from, 2, 2);
    grid->addWidget(last_, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    allEvents_->setChecked(true);
    ShowDateMode();
    // Connected first, so that whoever listens to the choice finds the pickers set.
    for (QRadioButton* button : {allEvents_, oneDay_, period_}) {
        QObject::connect(button, &QRadioButton::toggled, dateGroup_, [this] { ShowDateMode(); });
    }
}

void SearchCriteriaControls::CreateTargetGroup(QWidget* parent) {
    targetGroup_ = Named(new QGroupBox(QStringLiteral("対象"), parent), "targetGroup");
    received_ =
        Named(new QCheckBox(QStringLiteral("受信イベント"), targetGroup_), "includeReceived");
    sent_ = Named(new QCheckBox(QStringLiteral("送信イベント"), targetGroup_), "includeSent");
    auto* box = new QVBoxLayout(targetGroup_);
    box->addWidget(received_);
    box->addWidget(sent_);
    // Beside taller groups the boxes stay at the top.
    box->addStretch();
    SetDirections(true, true);
}

void SearchCriteriaControls::ShowDateMode() {
    const DateMode mode = dateMode();
    day_->setEnabled(mode == DateMode::OneDay);
    first_->setEnabled(mode == DateMode::Period);
    last_->setEnabled(mode == DateMode::Period);
}

QString SearchCriteriaControls::text() const {
    return text_->text();
}

SearchCriteriaControls::DateMode SearchCriteriaControls::dateMode() const {
    if (oneDay_->isChecked()) {
        return DateMode::OneDay;
    }
    return period_->isChecked() ? DateMode::Period : DateMode::AllEvents;
}

void SearchCriteriaControls::SetDateMode(DateMode mode) {
    switch (mode) {
        case DateMode::AllEvents:
            allEvents_->setChecked(true);
            break;
        case DateMode::OneDay:
            oneDay_->setChecked(true);
            break;
        case DateMode::Period:
            period_->setChecked(true);
            break;
    }
}

std::optional<DateRange> SearchCriteriaControls::CalendarLimit() const {
    switch (dateMode()) {
        case DateMode::OneDay:
            return CalendarDays(DayOf(day_), DayOf(day_));
        case DateMode::Period:
            return CalendarDays(DayOf(first_), DayOf(last_));
        case DateMode::AllEvents:
            break;
    }
    return std::nullopt;
}

std::optional<DateRange> SearchCriteriaControls::DateLimit() const {
    switch (dateMode()) {
        case DateMode::OneDay:
            return OneDayRange(DayOf(day_));
        case DateMode::Period:
            return PeriodRange(DayOf(first_), DayOf(last_));
        case DateMode::AllEvents:
            break;
    }
    return std::nullopt;
}

bool SearchCriteriaControls::TakesReceived() const {
    return received_->isChecked();
}

bool SearchCriteriaControls::TakesSent() const {
    return sent_->isChecked();
}

void SearchCriteriaControls::SetDirections(bool received, bool sent) {
    received_->setChecked(received);
    sent_->setChecked(sent);
}
