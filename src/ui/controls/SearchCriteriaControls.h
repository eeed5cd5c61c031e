#pragma once

#include <optional>

#include "search/DateRange.h"

class QCheckBox;
class QDate;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QString;
class QWidget;

// A date picker as every dialog of the program shows one: the long date form and a
// calendar that drops down.
QDateEdit* NewDatePicker(const QDate& date, QWidget* parent);

// The criteria that the find dialog and the hit list share, built once so that they read
// and look alike: the search text with its label, the date limit ("日付": all events, one
// day or a period of days, each picker enabled with its choice) and the directions
// ("対象"). The owner lays the pieces out and listens to the controls it cares about; the
// widgets belong to the parent given.
class SearchCriteriaControls {
public:
    enum class DateMode { AllEvents, OneDay, Period };

    // Starts at all events with both directions taken.
    explicit SearchCriteriaControls(QWidget* parent);
    // The pickers follow the radio buttons through this object: it stays where it was made.
    SearchCriteriaControls(const SearchCriteriaControls&) = delete;
    SearchCriteriaControls& operator=(const SearchCriteriaControls&) = delete;

    QLabel* textLabel() const { return textLabel_; }
    QLineEdit* textEdit() const { return text_; }
    QGroupBox* dateGroup() const { return dateGroup_; }
    QGroupBox* targetGroup() const { return targetGroup_; }
    QRadioButton* allEvents() const { return allEvents_; }
    QRadioButton* oneDay() const { return oneDay_; }
    QRadioButton* period() const { return period_; }
    QDateEdit* dayPicker() const { return day_; }
    QDateEdit* periodFirst() const { return first_; }
    QDateEdit* periodLast() const { return last_; }
    QCheckBox* includeReceived() const { return received_; }
    QCheckBox* includeSent() const { return sent_; }

    QString text() const;
    DateMode dateMode() const;
    void SetDateMode(DateMode mode);
    // The days chosen, from the first day's local midnight to the end of the last; nothing
    // for all events.
    std::optional<DateRange> DateLimit() const;
    // The same days counted as calendar days (up to the local midnight after the last).
    std::optional<DateRange> CalendarLimit() const;
    bool TakesReceived() const;
    bool TakesSent() const;
    void SetDirections(bool received, bool sent);

private:
    void CreateDateGroup(QWidget* parent);
    void CreateTargetGroup(QWidget* parent);
    void ShowDateMode();

    QLabel* textLabel_ = nullptr;
    QLineEdit* text_ = nullptr;
    QGroupBox* dateGroup_ = nullptr;
    QRadioButton* allEvents_ = nullptr;
    QRadioButton* oneDay_ = nullptr;
    QRadioButton* period_ = nullptr;
    QDateEdit* day_ = nullptr;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
    QGroupBox* targetGroup_ = nullptr;
    QCheckBox* received_ = nullptr;
    QCheckBox* sent_ = nullptr;
};
