#include "ui/options/COptionSheet.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/controls/DialogKeys.h"
#include "ui/controls/FitScrollArea.h"
#include "ui/options/COptionPage1.h"
#include "ui/options/COptionPage2.h"
#include "ui/options/COptionPage3.h"
#include "ui/options/OptionTexts.h"

COptionSheet::COptionSheet(const OptionTargets& targets, QWidget* parent)
    : QDialog(parent),
      tabs_(new QTabWidget),
      page1_(new COptionPage1(targets.location, targets.prompts, targets.openLocation,
                              targets.keepLocation)),
      page2_(new COptionPage2(targets.colors, targets.applyColors, targets.prompts)),
      page3_(new COptionPage3(targets.database, targets.applyNames, targets.prompts)) {
    setObjectName(QStringLiteral("optionSheet"));
    setWindowTitle(QString::fromUtf8(optiontext::kCaption));
    tabs_->setObjectName(QStringLiteral("optionTabs"));
    tabs_->addTab(page1_, QString::fromUtf8(optiontext::kFileTab));
    tabs_->addTab(page2_, QString::fromUtf8(optiontext::kColorTab));
    tabs_->addTab(page3_, QString::fromUtf8(optiontext::kMembersTab));
    for (COptionPage* page : {static_cast<COptionPage*>(page1_), static_cast<COptionPage*>(page2_),
                              static_cast<COptionPage*>(page3_)}) {
        connect(page, &COptionPage::modifiedChanged, this, &COptionSheet::UpdateApplyButton);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, &COptionSheet::SetActivePage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(optiontext::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(optiontext::kCancel));
    applyButton_ = buttons->button(QDialogButtonBox::Apply);
    applyButton_->setText(QString::fromUtf8(optiontext::kApply));
    applyButton_->setObjectName(QStringLiteral("applyButton"));
    applyButton_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton_, &QPushButton::clicked, this, &COptionSheet::Apply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new FitScrollArea(tabs_), 1);
    layout->addWidget(buttons);

    qApp->installEventFilter(this);
}

COptionSheet::~COptionSheet() {
    qApp->removeEventFilter(this);
}

int COptionSheet::DoModal() {
    SetActivePage(tabs_->currentIndex());
    return exec();
}

void COptionSheet::SetActivePage(int index) {
    if (index < 0 || index >= tabs_->count()) {
        return;
    }
    if (tabs_->currentIndex() != index) {
        tabs_->setCurrentIndex(index);  // comes back here through currentChanged
        return;
    }
    if (auto* page = qobject_cast<COptionPage*>(tabs_->widget(index))) {
        page->Initialise();
    }
}

bool COptionSheet::Apply() {
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* page = qobject_cast<COptionPage*>(tabs_->widget(i));
        if (page != nullptr && page->initialised() && !page->FinishEditing()) {
            tabs_->setCurrentIndex(i);
            return false;
        }
    }
    // In page order: a new pair opened by the file page is there before the members page
    // applies its names.
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* page = qobject_cast<COptionPage*>(tabs_->widget(i));
        if (page != nullptr && page->initialised()) {
            page->Commit();
            page->SetModified(false);
        }
    }
    UpdateApplyButton();
    return true;
}

void COptionSheet::accept() {
    if (Apply()) {
        QDialog::accept();
    }
}

void COptionSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SetActivePage(tabs_->currentIndex());
}

bool COptionSheet::eventFilter(QObject* watched, QEvent* event) {
    // Alt with the letter of the disabled "適用(&A)" reaches the focused edit as typing.
    return SwallowUnusedMnemonic(*this, watched, event) || QDialog::eventFilter(watched, event);
}

void COptionSheet::UpdateApplyButton() {
    bool modified = false;
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* page = qobject_cast<COptionPage*>(tabs_->widget(i));
        modified = modified || (page != nullptr && page->modified());
    }
    applyButton_->setEnabled(modified);
}
