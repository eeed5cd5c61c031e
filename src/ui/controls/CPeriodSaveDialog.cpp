#include "ui/controls/CPeriodSaveDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/SearchCriteriaControls.h"

namespace {

const char kTitle[] = "期間を指定して保存";
const char kMemberLabel[] = "メンバー(&M):";
const char kPeriodGroup[] = "期間";
const char kFirstLabel[] = "開始日(&F):";
const char kLastLabel[] = "終了日(&T):";
const char kFormatLabel[] = "形式(&O):";
const char kSplitLabel[] = "ファイルの分割(&D):";
const char* const kSplits[] = {"分割しない", "年ごと", "月ごと", "日ごと"};
const char kNextButton[] = "保存先を選択(&S)...";
const char kCancel[] = "キャンセル";

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

CPeriodSaveDialog::CPeriodSaveDialog(std::vector<MemberItem> members, std::int32_t selected,
                                     const QStringList& formats, DaysOf daysOf, QWidget* parent)
    : QDialog(parent), members_(std::move(members)), daysOf_(std::move(daysOf)) {
    setObjectName(QStringLiteral("periodSaveDialog"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    member_ = Named(new QComboBox(this), "periodMember");
    for (const MemberItem& item : members_) {
        member_->addItem(item.label);
        if (item.key == selected) {
            member_->setCurrentIndex(member_->count() - 1);
        }
    }
    auto* periodGroup = new QGroupBox(QString::fromUtf8(kPeriodGroup), this);
    first_ = Named(NewDatePicker(QDate::currentDate(), periodGroup), "periodFirst");
    last_ = Named(NewDatePicker(QDate::currentDate(), periodGroup), "periodLast");
    auto* periodForm = new QFormLayout(periodGroup);
    periodForm->addRow(new QLabel(QString::fromUtf8(kFirstLabel), periodGroup), first_);
    periodForm->addRow(new QLabel(QString::fromUtf8(kLastLabel), periodGroup), last_);
    format_ = Named(new QComboBox(this), "periodFormat");
    format_->addItems(formats);
    split_ = Named(new QComboBox(this), "periodSplit");
    for (const char* split : kSplits) {
        split_->addItem(QString::fromUtf8(split));
    }

    auto* form = new QFormLayout;
    form->addRow(new QLabel(QString::fromUtf8(kMemberLabel), this), member_);
    auto* lower = new QFormLayout;
    lower->addRow(new QLabel(QString::fromUtf8(kFormatLabel), this), format_);
    lower->addRow(new QLabel(QString::fromUtf8(kSplitLabel), this), split_);
    // The labels' mnemonics move the focus to their fields.
    for (QFormLayout* layout : {form, periodForm, lower}) {
        for (int row = 0; row < layout->rowCount(); ++row) {
            auto* label =
                qobject_cast<QLabel*>(layout->itemAt(row, QFormLayout::LabelRole)->widget());
            label->setBuddy(layout->itemAt(row, QFormLayout::FieldRole)->widget());
        }
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QString::fromUtf8(kNextButton));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(periodGroup);
    layout->addLayout(lower);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(member_, &QComboBox::currentIndexChanged, this, &CPeriodSaveDialog::ShowMemberDays);
    connect(first_, &QDateEdit::dateChanged, this, &CPeriodSaveDialog::CheckDays);
    connect(last_, &QDateEdit::dateChanged, this, &CPeriodSaveDialog::CheckDays);
    ShowMemberDays();
    member_->setFocus();
}

// The pickers start on the member's first and last day, so that the whole of its events is
// chosen until the user narrows it.
void CPeriodSaveDialog::ShowMemberDays() {
    if (!daysOf_ || member_->currentIndex() < 0) {
        return;
    }
    const auto [first, last] = daysOf_(member());
    if (first.isValid() && last.isValid()) {
        first_->setDate(first);
        last_->setDate(last);
    }
    CheckDays();
}

// A period that ends before it starts cannot be saved.
void CPeriodSaveDialog::CheckDays() {
    ok_->setEnabled(first_->date() <= last_->date());
}

std::int32_t CPeriodSaveDialog::member() const {
    const int index = member_->currentIndex();
    return index >= 0 ? members_[static_cast<std::size_t>(index)].key : 0;
}

QDate CPeriodSaveDialog::first() const {
    return first_->date();
}

QDate CPeriodSaveDialog::last() const {
    return last_->date();
}

int CPeriodSaveDialog::format() const {
    return format_->currentIndex();
}

CPeriodSaveDialog::Split CPeriodSaveDialog::split() const {
    return static_cast<Split>(split_->currentIndex());
}
