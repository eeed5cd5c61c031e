#include "ui/stats/CMemberPage1.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "database/MessageDatabase.h"
#include "stats/MemberStats.h"
#include "stats/StatsTable.h"
#include "text/ShiftJis.h"
#include "ui/controls/Icons.h"
#include "ui/controls/Metrics.h"
#include "ui/stats/MemberSheetTexts.h"

namespace {

constexpr int kOneMemberImage = 1;
constexpr int kAllMembersImage = 2;
constexpr int kIconSize = 32;

struct Column {
    const char* header;
    int width;
    Qt::Alignment alignment;
};
constexpr Column kColumns[] = {
    {membertext::kTypeColumn, 140, Qt::AlignLeft},
    {membertext::kSentColumn, 60, Qt::AlignRight},
    {membertext::kReceivedColumn, 60, Qt::AlignRight},
    {membertext::kTotalColumn, 60, Qt::AlignRight},
};
constexpr int kColumnCount = 4;

// A read-only value shown like a label (no border, the page's background) that can still
// be selected and copied.
QLineEdit* ValueEdit(const char* objectName) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setReadOnly(true);
    edit->setFrame(false);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    edit->setPalette(palette);
    return edit;
}

QLabel* FieldLabel(const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QTreeWidget* CountList() {
    auto* list = new QTreeWidget;
    list->setObjectName(QStringLiteral("countList"));
    list->setColumnCount(kColumnCount);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSortingEnabled(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setIconSize(QSize(16, 16));
    list->header()->setSectionsClickable(false);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    QTreeWidgetItem* header = list->headerItem();
    for (int i = 0; i < kColumnCount; ++i) {
        header->setText(i, QString::fromUtf8(kColumns[i].header));
        header->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
        list->setColumnWidth(i, ScaledWidth(*list, kColumns[i].width));
    }
    list->setMinimumHeight(216);
    return list;
}

// Room for the four columns and a vertical scroll bar, so no row needs scrolling sideways.
void FitWidth(QTreeWidget& list) {
    int columnsWidth = 0;
    for (int i = 0; i < kColumnCount; ++i) {
        columnsWidth += list.columnWidth(i);
    }
    list.setMinimumWidth(columnsWidth + 2 * list.frameWidth() +
                         list.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
}

// The type column keeps its width unless a name with its icon needs more: the longest
// names (電話／ビデオ／データリクエスト) would be cut at the usual width.
void FitTypeColumn(QTreeWidget& list) {
    const int usual = ScaledWidth(list, kColumns[0].width);
    list.resizeColumnToContents(0);
    list.setColumnWidth(0, std::max(usual, list.columnWidth(0)));
    FitWidth(list);
}

}  // namespace

CMemberPage1::CMemberPage1(QWidget* parent)
    : QWidget(parent),
      icon_(new QLabel),
      kind_(new QLabel(QString::fromUtf8(membertext::kMember))),
      uin_(ValueEdit("uinValue")),
      name_(ValueEdit("nameValue")),
      countList_(CountList()) {
    FitWidth(*countList_);
    setObjectName(QStringLiteral("generalPage"));
    icon_->setObjectName(QStringLiteral("memberIcon"));
    icon_->setFixedSize(kIconSize, kIconSize);
    kind_->setObjectName(QStringLiteral("memberKind"));

    auto* top = new QHBoxLayout;
    top->addWidget(icon_);
    top->addSpacing(8);
    top->addWidget(kind_, 1);

    auto* line = new QFrame;
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    auto* fields = new QGridLayout;
    fields->setColumnMinimumWidth(0, 60);
    fields->addWidget(FieldLabel(membertext::kUinLabel), 0, 0);
    fields->addWidget(uin_, 0, 1);
    fields->addWidget(FieldLabel(membertext::kNameLabel), 1, 0);
    fields->addWidget(name_, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* caption = new QLabel(QString::fromUtf8(membertext::kCountsCaption));
    caption->setObjectName(QStringLiteral("countsCaption"));
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(fields);
    layout->addWidget(caption);
    layout->addWidget(countList_, 1);
}

void CMemberPage1::ShowMember(std::int32_t key, const QString& name, const MemberStats& stats) {
    const bool all = key == ALL_MEMBERS;
    icon_->setPixmap(
        Icons::Member(all ? kAllMembersImage : kOneMemberImage).pixmap(kIconSize, kIconSize));
    kind_->setText(QString::fromUtf8(all ? membertext::kAllMembers : membertext::kMember));
    uin_->setText(all ? QString::fromUtf8(membertext::kNone) : QString::number(key));
    name_->setText(all ? QString::fromUtf8(membertext::kNone) : name);
    uin_->setCursorPosition(0);
    name_->setCursorPosition(0);
    FillCounts(stats);
}

void CMemberPage1::FillCounts(const MemberStats& stats) {
    countList_->clear();
    QList<QTreeWidgetItem*> items;
    for (const StatsRow& row : StatsTableRows(stats)) {
        auto* item = new QTreeWidgetItem(
            QStringList{FromShiftJis(row.typeName), QString::number(row.sent),
                        QString::number(row.received), QString::number(row.total)});
        item->setIcon(0, Icons::EventType(row.image));
        item->setToolTip(0, item->text(0));  // in case a type name does not fit
        for (int i = 1; i < kColumnCount; ++i) {
            item->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
        }
        items.append(item);
    }
    countList_->addTopLevelItems(items);
    FitTypeColumn(*countList_);
}
