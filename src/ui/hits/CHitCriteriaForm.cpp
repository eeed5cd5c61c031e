#include "ui/hits/CHitCriteriaForm.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

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

}  // namespace

CHitCriteriaForm::CHitCriteriaForm(QWidget* parent) : QWidget(parent), controls_(this) {
    QLineEdit* text = controls_.textEdit();
    connect(text, &QLineEdit::textChanged, this, &CHitCriteriaForm::changed);
    connect(text, &QLineEdit::returnPressed, this, &CHitCriteriaForm::startRequested);
    for (QRadioButton* button : {controls_.allEvents(), controls_.oneDay(), controls_.period()}) {
        connect(button, &QRadioButton::toggled, this, &CHitCriteriaForm::changed);
    }
    for (QDateEdit* picker : {controls_.periodFirst(), controls_.periodLast()}) {
        connect(picker, &QDateEdit::dateChanged, this, &CHitCriteriaForm::changed);
    }
    for (QCheckBox* box : {controls_.includeReceived(), controls_.includeSent()}) {
        connect(box, &QCheckBox::toggled, this, &CHitCriteriaForm::changed);
    }

    auto* groups = new QHBoxLayout;
    groups->addWidget(controls_.dateGroup());
    groups->addWidget(controls_.targetGroup());
    groups->addWidget(CreateMembersGroup());
    groups->addWidget(CreateOptionsGroup());
    groups->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controls_.textLabel());
    layout->addWidget(controls_.textEdit());
    layout->addLayout(groups);
    SetSelectedMember(std::nullopt, QString());
}

namespace {

// Of the selected member's name, as many full-width characters' room as the label shows.
constexpr int kShownNameCharacters = 6;

}  // namespace

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
    ignoreKana_ = Named(new QCheckBox(Text(hit_texts::kIgnoreKana), group), "ignoreKana");
    allWords_ = Named(new QCheckBox(Text(hit_texts::kAllWords), group), "allWords");
    regex_ = Named(new QCheckBox(Text(hit_texts::kRegex), group), "regex");
    // An expression folds case only, and has its own ways of naming several words.
    connect(regex_, &QCheckBox::toggled, this, [this](bool on) {
        for (QCheckBox* box : {ignoreWidth_, ignoreKana_, allWords_}) {
            box->setEnabled(!on);
        }
    });
    auto* layout = new QVBoxLayout(group);
    for (QCheckBox* box : {ignoreCase_, ignoreWidth_, ignoreKana_, allWords_, regex_}) {
        layout->addWidget(box);
    }
    layout->addStretch();
    return group;
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
    if (controls_.text().isEmpty() || (!controls_.TakesReceived() && !controls_.TakesSent())) {
        return false;
    }
    return controls_.dateMode() != SearchCriteriaControls::DateMode::Period ||
           controls_.periodFirst()->date() <= controls_.periodLast()->date();
}

HitQuery CHitCriteriaForm::Query() const {
    HitQuery query;
    query.key = selectedMember_->isChecked() && selectedKey_ ? *selectedKey_ : ALL_MEMBERS;
    query.text = ShiftJisForSearch(controls_.text());
    query.match.ignoreCase = ignoreCase_->isChecked();
    if (regex_->isChecked()) {
        query.mode = TextMode::Regex;
    } else {
        query.match.ignoreWidth = ignoreWidth_->isChecked();
        query.match.ignoreKana = ignoreKana_->isChecked();
        query.mode = allWords_->isChecked() ? TextMode::AllWords : TextMode::Whole;
    }
    query.includeReceived = controls_.TakesReceived();
    query.includeSent = controls_.TakesSent();
    if (const std::optional<DateRange> range = controls_.CalendarLimit()) {
        query.useDateRange = true;
        query.rangeStart = range->start;
        query.rangeEnd = range->end;
    }
    return query;
}
