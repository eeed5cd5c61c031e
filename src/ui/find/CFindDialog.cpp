#include "ui/find/CFindDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <optional>

#include "search/DateRange.h"
#include "search/SearchList.h"
#include "text/ShiftJis.h"
#include "ui/controls/DialogKeys.h"
#include "ui/find/HitPlacement.h"
#include "ui/find/SearchStep.h"

namespace {

// The saved text as the user typed it; a saved text from elsewhere as its bytes read.
QString SearchTextOf(const SearchCriteria& criteria) {
    QString typed = QString::fromStdString(criteria.typedText);
    if (!typed.isEmpty() && ShiftJisForSearch(typed) == criteria.searchText) {
        return typed;
    }
    QString text = FromShiftJis(criteria.searchText);
    text.replace(QChar(u'\0'), QChar::ReplacementCharacter);
    return text;
}

QRadioButton* NewRadio(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

CFindDialog::CFindDialog(MessageDatabase& database, SearchCriteria& saved, SearchList& list,
                         QWidget* parent)
    : QDialog(parent), database_(database), saved_(saved), list_(list), controls_(this) {
    setWindowTitle(QStringLiteral("リスト内の検索"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    findNext_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    findNext_->setObjectName(QStringLiteral("findNext"));
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    // Neither is the default button: Enter is handled in eventFilter.
    for (QPushButton* button : {findNext_, cancel_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(controls_.targetGroup());
    bottom->addWidget(CreateDirectionGroup());
    bottom->addStretch();
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls_.textLabel());
    layout->addWidget(controls_.textEdit());
    layout->addWidget(controls_.dateGroup());
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    tabOrder_ = {controls_.textEdit(),
                 controls_.allEvents(),
                 controls_.oneDay(),
                 controls_.dayPicker(),
                 controls_.period(),
                 controls_.periodFirst(),
                 controls_.periodLast(),
                 controls_.includeReceived(),
                 controls_.includeSent(),
                 up_,
                 down_,
                 findNext_,
                 cancel_};
    for (std::size_t i = 1; i < tabOrder_.size(); ++i) {
        setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
    }

    CopyIn(list);

    // Connected after the copy-in: the first check runs on the first change by the user.
    // Choosing the period checks again (one day in both pickers is no period); leaving it
    // does not.
    connect(controls_.textEdit(), &QLineEdit::textChanged, this, &CFindDialog::CheckCriteria);
    connect(controls_.includeReceived(), &QCheckBox::clicked, this, &CFindDialog::CheckCriteria);
    connect(controls_.includeSent(), &QCheckBox::clicked, this, &CFindDialog::CheckCriteria);
    connect(controls_.periodFirst(), &QDateEdit::dateChanged, this, &CFindDialog::CheckCriteria);
    connect(controls_.periodLast(), &QDateEdit::dateChanged, this, &CFindDialog::CheckCriteria);
    connect(controls_.period(), &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            CheckCriteria();
        }
    });
    connect(findNext_, &QPushButton::clicked, this, &CFindDialog::FindNextStep);
    connect(cancel_, &QPushButton::clicked, this, &CFindDialog::SaveAndClose);

    qApp->installEventFilter(this);
}

CFindDialog::~CFindDialog() {
    qApp->removeEventFilter(this);
}

QWidget* CFindDialog::CreateDirectionGroup() {
    auto* group = new QGroupBox(QStringLiteral("検索する方向"), this);
    group->setObjectName(QStringLiteral("directionGroup"));
    up_ = NewRadio(QStringLiteral("上へ"), QStringLiteral("searchUp"), group);
    down_ = NewRadio(QStringLiteral("下へ"), QStringLiteral("searchDown"), group);
    auto* box = new QVBoxLayout(group);
    box->addWidget(up_);
    box->addWidget(down_);
    return group;
}

// The text and the two check boxes come back from the last saved search; the date mode
// always starts at all events and the direction at down.
void CFindDialog::CopyIn(SearchList& list) {
    working_ = saved_;
    controls_.SetDateMode(DateMode::AllEvents);
    down_->setChecked(true);
    if (working_.ready) {
        controls_.textEdit()->setText(SearchTextOf(working_));
        controls_.textEdit()->selectAll();
        controls_.SetDirections(working_.includeReceived, working_.includeSent);
    } else {
        controls_.SetDirections(true, true);
    }
    findNext_->setEnabled(working_.ready);
    working_.position = list.FirstSelectedRow();
    controls_.textEdit()->setFocus();
}

CFindDialog::DateMode CFindDialog::dateMode() const {
    return controls_.dateMode();
}

void CFindDialog::CheckCriteria() {
    bool complete = controls_.TakesReceived() || controls_.TakesSent();
    if (controls_.text().isEmpty()) {
        complete = false;
    }
    if (dateMode() == DateMode::Period &&
        !(controls_.periodFirst()->date() < controls_.periodLast()->date())) {
        complete = false;
    }
    findNext_->setEnabled(complete);
    working_.ready = complete;
}

void CFindDialog::ReadControls(SearchCriteria& criteria) const {
    criteria.includeReceived = controls_.TakesReceived();
    criteria.includeSent = controls_.TakesSent();
    criteria.searchText = ShiftJisForSearch(controls_.text());
    criteria.typedText = controls_.text().toStdString();
    if (const std::optional<DateRange> range = controls_.DateLimit()) {
        SetDateRange(criteria, *range);
    } else {
        ClearDateRange(criteria);
    }
}

void CFindDialog::FindNextStep() {
    ReadControls(working_);
    if (RunSearchStep(database_, working_, down_->isChecked(), list_)) {
        KeepHitInSight();
    }
}

void CFindDialog::KeepHitInSight() {
    const QScreen* display = screen();
    if (hitView_ == nullptr || hitView_->model() == nullptr || !isVisible() || display == nullptr) {
        return;
    }
    const int row = working_.position;
    const QWidget* viewport = hitView_->viewport();
    const QRect area(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    const QRect cell = hitView_->visualRect(hitView_->model()->index(row, 0));
    const QRect found =
        QRect(area.left(), viewport->mapToGlobal(cell.topLeft()).y(), area.width(), cell.height())
            .intersected(area);
    const HitPlacement place =
        PlaceAwayFromHit(frameGeometry(), found, area, display->availableGeometry());
    if (place.dialogAt) {
        move(*place.dialogAt);
    } else if (place.line) {
        list_.ShowRowAt(row, *place.line);
    }
}

void CFindDialog::SaveAndClose() {
    // What the dialog shows is saved, not only what the last search used: a text typed
    // and left with "キャンセル" is what F3 then looks for.
    ReadControls(working_);
    saved_ = working_;
    accept();
}

void CFindDialog::MoveFocus(bool forward) {
    const QWidget* focus = QApplication::focusWidget();
    const auto count = static_cast<std::ptrdiff_t>(tabOrder_.size());
    std::ptrdiff_t at = 0;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        if (focus != nullptr && (tabOrder_[i] == focus || tabOrder_[i]->isAncestorOf(focus))) {
            at = i;
        }
    }
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t next = ((forward ? at + step : at - step) % count + count) % count;
        QWidget* widget = tabOrder_[static_cast<std::size_t>(next)];
        if (IsTabStop(widget)) {
            widget->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool CFindDialog::eventFilter(QObject* watched, QEvent* event) {
    // Tab moves the focus in the order of the layout; a date picker would take it to step
    // through its own fields.
    if (const std::optional<bool> forward = TabDirection(event);
        forward && isVisible() && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        MoveFocus(*forward);
        event->accept();
        return true;
    }
    // Enter is taken before the dialog's own keys. On "キャンセル" it presses that button;
    // on any other control of this dialog it runs a search step, and the control then
    // gets the key as an ordinary key that never reaches the dialog, so it stays open.
    const bool mnemonic = IsUnusedMnemonic(event);
    if ((!IsEnterKey(event) && !mnemonic) || !isVisible() || !watched->isWidgetType()) {
        return QDialog::eventFilter(watched, event);
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) {
        return QDialog::eventFilter(watched, event);  // the calendar popup, another window
    }
    if (mnemonic) {
        event->accept();
        return true;
    }
    if (widget == cancel_) {
        cancel_->click();
    } else {
        FindNextStep();
        if (widget != this) {
            static_cast<QObject*>(widget)->event(event);
        }
    }
    // Accepted, or the application would hand it on to the parents and the dialog.
    event->accept();
    return true;
}
