#include "ui/details/CEventDetailDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "database/EventCells.h"
#include "database/MessageDatabase.h"
#include "ui/controls/CColorEdit.h"
#include "ui/controls/Icons.h"
#include "ui/list/CTalvoraView.h"

namespace {

QLabel* NewLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void SetField(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

}  // namespace

CEventDetailDialog::CEventDetailDialog(CTalvoraView& list, MessageDatabase& database,
                                       Prompts& prompts)
    : QDialog(&list), list_(list), database_(database) {
    setWindowTitle(QStringLiteral("イベントの詳細"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    group_ = new QGroupBox(QStringLiteral("送受信:"), this);
    group_->setObjectName(QStringLiteral("directionGroup"));
    date_ = AddField(QStringLiteral("date"));
    time_ = AddField(QStringLiteral("time"));
    type_ = AddField(QStringLiteral("type"));
    name_ = AddField(QStringLiteral("name"));
    uin_ = AddField(QStringLiteral("uin"));
    auto* fields = new QGridLayout(group_);
    fields->addWidget(NewLabel(QStringLiteral("日付:"), group_), 0, 0);
    fields->addWidget(date_, 0, 1);
    fields->addWidget(NewLabel(QStringLiteral("時間:"), group_), 1, 0);
    fields->addWidget(time_, 1, 1);
    fields->addWidget(NewLabel(QStringLiteral("種類:"), group_), 2, 0);
    fields->addWidget(type_, 2, 1);
    fields->addWidget(NewLabel(QStringLiteral("名前:"), group_), 0, 2);
    fields->addWidget(name_, 0, 3);
    fields->addWidget(NewLabel(QStringLiteral("Velmu #:"), group_), 1, 2);
    fields->addWidget(uin_, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setColumnMinimumWidth(2, 60);

    text_ = new CColorEdit(prompts, this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setMinimumSize(300, 110);

    up_ = new QPushButton(QStringLiteral("上へ(&U)"), this);
    up_->setObjectName(QStringLiteral("up"));
    down_ = new QPushButton(QStringLiteral("下へ(&D)"), this);
    down_->setObjectName(QStringLiteral("down"));
    close_ = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close_->setObjectName(QStringLiteral("close"));
    close_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(up_);
    buttons->addWidget(down_);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(up_, &QPushButton::clicked, this, &CEventDetailDialog::StepUp);
    connect(down_, &QPushButton::clicked, this, &CEventDetailDialog::StepDown);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    // New events inserted at the top (or a reloaded list) move the event's row.
    QAbstractItemModel* model = list_.model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &CEventDetailDialog::UpdateButtons);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CEventDetailDialog::UpdateButtons);
    connect(model, &QAbstractItemModel::modelReset, this, &CEventDetailDialog::UpdateButtons);

    const int first = list_.FirstSelectedRow();
    pagePosition_ = first - list_.TopRow() + 1;
    ShowEvent(first);
}

QLineEdit* CEventDetailDialog::AddField(const QString& name) {
    auto* field = new QLineEdit(group_);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setMinimumWidth(110);
    // Read-only values on the group's face, as labels that can be selected and copied.
    QPalette colors = field->palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(colors);
    return field;
}

void CEventDetailDialog::ShowEvent(int row) {
    const int n = list_.RowCount();
    up_->setEnabled(true);
    down_->setEnabled(true);
    if (n <= 0) {
        up_->setEnabled(false);
        down_->setEnabled(false);
        return;
    }
    if (row >= n - 1) {
        row = n - 1;
        down_->setEnabled(false);
    }
    if (row <= 0) {
        row = 0;
        up_->setEnabled(false);
    }

    setWindowIcon(Icons::EventType(list_.RowImage(row)));
    SetField(type_, list_.CellText(row, TypeColumn));
    SetField(date_, list_.CellText(row, DateColumn));
    SetField(time_, list_.CellText(row, TimeColumn));
    SetField(uin_, list_.CellText(row, UinColumn));
    SetField(name_, list_.CellText(row, NameColumn));
    text_->SetEventText(list_.CellText(row, TextColumn));

    const std::int32_t key = list_.currentMember();
    index_ = RowToIndex(n, row);
    const std::vector<EventRef>& refs = database_.Refs(key);
    entry_ = static_cast<std::size_t>(index_) < refs.size()
                 ? refs[static_cast<std::size_t>(index_)].entryNumber
                 : -1;
    lastRow_ = row;

    // A record whose marker is wrong has no direction to go by; it is shown as received,
    // as the list draws it.
    std::uint32_t direction = Received;
    database_.ReadDirection(key, index_, direction);
    const ListColors& colors = list_.listColors();
    if (direction != Received) {
        group_->setTitle(QStringLiteral("送信イベント"));
        text_->SetBackColor(colors.sendBackground);
        text_->SetForeColor(colors.sendText);
    } else {
        group_->setTitle(QStringLiteral("受信イベント"));
        text_->SetBackColor(colors.receiveBackground);
        text_->SetForeColor(colors.receiveText);
    }
}

int CEventDetailDialog::TrackedRow() const {
    const int n = list_.RowCount();
    if (n <= 0 || !list_.hasMember() || entry_ < 0) {
        return -1;
    }
    const std::vector<EventRef>& refs = database_.Refs(list_.currentMember());
    const auto limit = std::min(refs.size(), static_cast<std::size_t>(n));
    const auto at = static_cast<std::size_t>(index_);
    if (index_ >= 0 && at < limit && refs[at].entryNumber == entry_) {
        return IndexToRow(n, index_);
    }
    // The pair was opened again: look for the entry.
    for (std::size_t i = 0; i < limit; ++i) {
        if (refs[i].entryNumber == entry_) {
            return IndexToRow(n, static_cast<std::int32_t>(i));
        }
    }
    return -1;
}

int CEventDetailDialog::row() const {
    const int tracked = TrackedRow();
    if (tracked >= 0) {
        return tracked;
    }
    return std::clamp(lastRow_, 0, std::max(0, list_.RowCount() - 1));
}

void CEventDetailDialog::UpdateButtons() {
    const int n = list_.RowCount();
    const int current = row();
    up_->setEnabled(n > 0 && current > 0);
    down_->setEnabled(n > 0 && current < n - 1);
}

void CEventDetailDialog::StepUp() {
    Step(-1);
}

void CEventDetailDialog::StepDown() {
    Step(1);
}

void CEventDetailDialog::Step(int delta) {
    if (list_.RowCount() <= 0) {
        return;
    }
    ShowEvent(row() + delta);
    list_.SelectRow(lastRow_);
    list_.ShowRowAt(lastRow_, pagePosition_);
}
