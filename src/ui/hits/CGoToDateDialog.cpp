#include "ui/hits/CGoToDateDialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/SearchCriteriaControls.h"
#include "ui/hits/HitTexts.h"

CGoToDateDialog::CGoToDateDialog(const QDate& initial, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("goToDateDialog"));
    setWindowTitle(QString::fromUtf8(hit_texts::kGoToDateTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(QString::fromUtf8(hit_texts::kGoToDateLabel), this);
    picker_ = NewDatePicker(initial, this);
    picker_->setObjectName(QStringLiteral("goToDate"));
    label->setBuddy(picker_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(hit_texts::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(hit_texts::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(picker_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QDate CGoToDateDialog::date() const {
    return picker_->date();
}
