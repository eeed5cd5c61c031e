#include "ui/hits/CHitCriteriaForm.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

#include "search/DateRange.h"
#include "text/ShiftJis.h"
#include "ui/hits/HitTexts.h"

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QDateEdit* NewPicker(const char* name, QWidget* parent) {
    auto* picker = Named(new QDateEdit(QDate::currentDate(), parent), name);
    picker->setCalendarPopup(true);
    // The short form keeps the window narrow beside the main one.
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    return picker;
}

CalendarDate DateOf(const QDateEdit* picker) {
    const QDate date = picker->date();
    return {date.year(), date.month(), date.day()};
}

}  // namespace

CHitCriteriaForm::CHitCriteriaForm(QWidget* parent) : QWidget(parent) {
    auto* label = new QLabel(Text(hit_texts::kTextLabel), this);
    text_ = Named(new QLineEdit(this), "searchText");
    label->setBuddy(text_);
    connect(text_, &QLineEdit::textChanged, this, &CHitCriteriaForm::changed);
    connect(text_, &QLineEdit::returnPressed, this, &CHitCriteriaForm::startRequested);

    auto* groups = new QHBoxLayout;
    groups->addWidget(CreateDateGroup());
    groups->addWidget(CreateTargetGroup());
    groups->addWidget(CreateMembersGroup());
    groups->addWidget(CreateOptionsGroup());
    groups->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(text_);
    layout->addLayout(groups);
    UpdatePickers();
    SetSelectedMember(std::nullopt, QString());
}

namespace {

// Of the selected member's name, as many full-width characters' room as the label shows.
constexpr int kShownNameCharacters = 6;

}  // namespace

QWidget* CHitCriteriaForm::CreateDateGroup() {
    auto* group = new QGroupBox(Text(hit_texts::kDateGroup), this);
    allEvents_ = Named(new QRadioButton(Text(hit_texts::kAllEvents), group), "allEvents");
    oneDay_ = Named(new QRadioButton(Text(hit_texts::kOneDay), group), "oneDay");
    period_ = Named(new QRadioButton(Text(hit_texts::kPeriod), group), "period");
    day_ = NewPicker("day", group);
    first_ = NewPicker("firstDay", group);
    last_ = NewPicker("lastDay", group);
    allEvents_->setChecked(true);
    auto* grid = new QGridLayout(group);
    grid->addWidget(allEvents_, 0, 0);
    grid->addWidget(oneDay_, 1, 0);
    grid->addWidget(day_, 1, 1);
    grid->addWidget(period_, 2, 0);
    grid->addWidget(first_, 2, 1);
    grid->addWidget(new QLabel(Text(hit_texts::kFrom), group), 2, 2);
    grid->addWidget(last_, 2, 3);
    for (QRadioButton* button : {allEvents_, oneDay_, period_}) {
        connect(button, &QRadioButton::toggled, this, [this] {
            UpdatePickers();
            emit changed();
        });
    }
    for (QDateEdit* picker : {first_, last_}) {
        connect(picker, &QDateEdit::dateChanged, this, &CHitCriteriaForm::changed);
    }
    return group;
}

QWidget* CHitCriteriaForm::CreateTargetGroup() {
    auto* group = new QGroupBox(Text(hit_texts::kTargetGroup), this);
    received_ = Named(new QCheckBox(Text(hit_texts::kReceived), group), "received");
    sent_ = Named(new QCheckBox(Text(hit_texts::kSent), group), "sent");
    auto* layout = new QVBoxLayout(group);
    for (QCheckBox* box : {received_, sent_}) {
        box->setChecked(true);
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CHitCriteriaForm::changed);
    }
    layout->addStretch();
    return group;
}

QWidget* CHitCriteriaForm::CreateMembersGroup() {
    auto* group = new QGroupBox(Text(hit_texts::kMembersGroup), this);
    allMembers_ = Named(new QRadioButton(Text(hit_texts::kAllMembers), group), "allMembers");
    selectedMember_ =
        Named(new QRadioButton(Text(hit_texts::kSelectedMember), group), "selectedMember");
    allMembers_->setChecked(true);
    // Room for the longest label a selected member gives, so that the form keeps its width.
    selectedMember_->setText(Text(hit_texts::kSelectedMember) + QStringLiteral(": ") +
                             QString(kShownNameCharacters, QChar(u'Ｍ')));
    selectedMember_->setMinimumWidth(selectedMember_->sizeHint().width());
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(allMembers_);
    layout->addWidget(selectedMember_);
    layout->addStretch();
    return group;
}

QWidget* CHitCriteriaForm::CreateOptionsGroup() {
    auto* group = new QGroupBox(Text(hit_texts::kOptionsGroup), this);
    ignoreCase_ = Named(new QCheckBox(Text(hit_texts::kIgnoreCase), group), "ignoreCase");
    ignoreWidth_ = Named(new QCheckBox(Text(hit_texts::kIgnoreWidth), group), "ignoreWidth");
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(ignoreCase_);
    layout->addWidget(ignoreWidth_);
    layout->addStretch();
    return group;
}

void CHitCriteriaForm::UpdatePickers() {
    day_->setEnabled(oneDay_->isChecked());
    first_->setEnabled(period_->isChecked());
    last_->setEnabled(period_->isChecked());
}

void CHitCriteriaForm::SetSelectedMember(std::optional<std::int32_t> key, const QString& label) {
    selectedKey_ = key;
    selectedMember_->setEnabled(key.has_value());
    QString text = QString::fromUtf8(hit_texts::kSelectedMember);
    if (key) {
        // A long name must not widen the window: it shows whole in the tooltip.
        const int room = selectedMember_->fontMetrics().horizontalAdvance(QStringLiteral("Ｍ")) *
                         kShownNameCharacters;
        text += QStringLiteral(": ") +
                selectedMember_->fontMetrics().elidedText(label, Qt::ElideRight, room);
    }
    selectedMember_->setToolTip(key ? label : QString());
    selectedMember_->setText(text);
    if (!key) {
        allMembers_->setChecked(true);
    }
}

bool CHitCriteriaForm::IsComplete() const {
    if (text_->text().isEmpty() || (!received_->isChecked() && !sent_->isChecked())) {
        return false;
    }
    return !period_->isChecked() || first_->date() <= last_->date();
}

HitQuery CHitCriteriaForm::Query() const {
    HitQuery query;
    query.key = selectedMember_->isChecked() && selectedKey_ ? *selectedKey_ : ALL_MEMBERS;
    query.text = ShiftJisForSearch(text_->text());
    query.match.ignoreCase = ignoreCase_->isChecked();
    query.match.ignoreWidth = ignoreWidth_->isChecked();
    query.includeReceived = received_->isChecked();
    query.includeSent = sent_->isChecked();
    DateRange range;
    if (oneDay_->isChecked()) {
        range = OneDayRange(DateOf(day_));
    } else if (period_->isChecked()) {
        range = PeriodRange(DateOf(first_), DateOf(last_));
    }
    query.useDateRange = !allEvents_->isChecked();
    query.rangeStart = range.start;
    query.rangeEnd = range.end;
    return query;
}
