#include "ui/find/CFindDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "search/DateRange.h"
#include "search/SearchList.h"
#include "text/ShiftJis.h"
#include "ui/controls/DialogKeys.h"
#include "ui/find/HitPlacement.h"
#include "ui/find/SearchStep.h"

namespace {

// The saved text as the user typed it; a saved text from elsewhere as its bytes read.
QString SearchTextOf(const SearchCriteria& criteria) {
    const QString typed = QString::fromStdString(criteria.typedText);
    if (!typed.isEmpty() && ShiftJisForSearch(typed) == criteria.searchText) {
        return typed;
    }
    QString text = FromShiftJis(criteria.searchText);
    text.replace(QChar(u'\0'), QChar::ReplacementCharacter);
    return text;
}

QDateEdit* NewPicker(const QString& name, QWidget* parent) {
    auto* picker = new QDateEdit(QDate::currentDate(), parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    return picker;
}

QRadioButton* NewRadio(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

QCheckBox* NewCheck(const QString& text, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

}  // namespace

CFindDialog::CFindDialog(MessageDatabase& database, SearchCriteria& saved, SearchList& list,
                         QWidget* parent)
    : QDialog(parent), database_(database), saved_(saved), list_(list) {
    setWindowTitle(QStringLiteral("リスト内の検索"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    label->setObjectName(QStringLiteral("searchLabel"));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("searchText"));
    label->setBuddy(text_);

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
    bottom->addWidget(CreateTargetGroup());
    bottom->addWidget(CreateDirectionGroup());
    bottom->addStretch();
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(text_);
    layout->addWidget(CreateDateGroup());
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    tabOrder_ = {text_,     allEvents_, oneDay_, day_,  period_,   first_, last_,
                 received_, sent_,      up_,     down_, findNext_, cancel_};
    for (std::size_t i = 1; i < tabOrder_.size(); ++i) {
        setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
    }

    CopyIn(list);

    // Connected after the copy-in: the first check runs on the first change by the user.
    connect(text_, &QLineEdit::textChanged, this, &CFindDialog::CheckCriteria);
    connect(received_, &QCheckBox::clicked, this, &CFindDialog::CheckCriteria);
    connect(sent_, &QCheckBox::clicked, this, &CFindDialog::CheckCriteria);
    connect(first_, &QDateEdit::dateChanged, this, &CFindDialog::CheckCriteria);
    connect(last_, &QDateEdit::dateChanged, this, &CFindDialog::CheckCriteria);
    connect(allEvents_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            ShowDateMode(DateMode::AllEvents);
        }
    });
    connect(oneDay_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            ShowDateMode(DateMode::OneDay);
        }
    });
    connect(period_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            ShowDateMode(DateMode::Period);
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

QWidget* CFindDialog::CreateDateGroup() {
    auto* group = new QGroupBox(QStringLiteral("日付"), this);
    group->setObjectName(QStringLiteral("dateGroup"));
    allEvents_ = NewRadio(QStringLiteral("すべてのイベント"), QStringLiteral("allEvents"), group);
    oneDay_ = NewRadio(QStringLiteral("日付指定"), QStringLiteral("oneDay"), group);
    period_ = NewRadio(QStringLiteral("期間指定"), QStringLiteral("period"), group);
    day_ = NewPicker(QStringLiteral("dayPicker"), group);
    first_ = NewPicker(QStringLiteral("periodFirst"), group);
    last_ = NewPicker(QStringLiteral("periodLast"), group);
    auto* from = new QLabel(QStringLiteral("から"), group);
    from->setObjectName(QStringLiteral("fromLabel"));
    from->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(group);
    grid->addWidget(allEvents_, 0, 0, 1, 4);
    grid->addWidget(oneDay_, 1, 0);
    grid->addWidget(day_, 1, 1);
    grid->addWidget(period_, 2, 0);
    grid->addWidget(first_, 2, 1);
    grid->addWidget(from, 2, 2);
    grid->addWidget(last_, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* CFindDialog::CreateTargetGroup() {
    auto* group = new QGroupBox(QStringLiteral("対象"), this);
    group->setObjectName(QStringLiteral("targetGroup"));
    received_ = NewCheck(QStringLiteral("受信イベント"), QStringLiteral("includeReceived"), group);
    sent_ = NewCheck(QStringLiteral("送信イベント"), QStringLiteral("includeSent"), group);
    auto* box = new QVBoxLayout(group);
    box->addWidget(received_);
    box->addWidget(sent_);
    return group;
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
    allEvents_->setChecked(true);
    ShowDateMode(DateMode::AllEvents);
    down_->setChecked(true);
    if (working_.ready) {
        text_->setText(SearchTextOf(working_));
        text_->selectAll();
        received_->setChecked(working_.includeReceived);
        sent_->setChecked(working_.includeSent);
    } else {
        received_->setChecked(true);
        sent_->setChecked(true);
    }
    findNext_->setEnabled(working_.ready);
    working_.position = list.FirstSelectedRow();
    text_->setFocus();
}

CFindDialog::DateMode CFindDialog::dateMode() const {
    if (oneDay_->isChecked()) {
        return DateMode::OneDay;
    }
    return period_->isChecked() ? DateMode::Period : DateMode::AllEvents;
}

void CFindDialog::ShowDateMode(DateMode mode) {
    day_->setEnabled(mode == DateMode::OneDay);
    first_->setEnabled(mode == DateMode::Period);
    last_->setEnabled(mode == DateMode::Period);
}

void CFindDialog::CheckCriteria() {
    bool complete = received_->isChecked() || sent_->isChecked();
    if (text_->text().isEmpty()) {
        complete = false;
    }
    if (period_->isChecked() && !(first_->date() < last_->date())) {
        complete = false;
    }
    findNext_->setEnabled(complete);
    working_.ready = complete;
}

CalendarDate CFindDialog::DateOf(const QDateEdit* picker) {
    const QDate date = picker->date();
    return CalendarDate{date.year(), date.month(), date.day()};
}

void CFindDialog::ReadControls(SearchCriteria& criteria) const {
    criteria.includeReceived = received_->isChecked();
    criteria.includeSent = sent_->isChecked();
    criteria.searchText = ShiftJisForSearch(text_->text());
    criteria.typedText = text_->text().toStdString();
    switch (dateMode()) {
        case DateMode::AllEvents:
            ClearDateRange(criteria);
            break;
        case DateMode::OneDay:
            SetDateRange(criteria, OneDayRange(DateOf(day_)));
            break;
        case DateMode::Period:
            SetDateRange(criteria, PeriodRange(DateOf(first_), DateOf(last_)));
            break;
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
