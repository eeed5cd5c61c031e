#include "ui/tree/CLeftView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <set>

#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"
#include "ui/controls/CommandIds.h"
#include "ui/controls/CommandTable.h"
#include "ui/controls/Icons.h"
#include "ui/controls/Prompts.h"
#include "ui/controls/WaitCursor.h"
#include "ui/tree/NameEditDelegate.h"
#include "ui/tree/TreeTexts.h"

namespace {

constexpr int kKeyRole = Qt::UserRole;
// The expand/collapse indicator covers the middle of its column this far each way; the
// lines leave it free.
constexpr int kIndicatorHalf = 4;

bool HasNextSibling(const QModelIndex& index) {
    return index.row() < index.model()->rowCount(index.parent()) - 1;
}

struct OwnBranch {
    bool reverse;   // right to left
    bool children;  // an indicator sits in the middle
    bool above;     // a parent or an earlier sibling
    bool below;     // a later sibling
};

// The lines of an item's own column: from above to the middle, from the middle to the
// label and on down to the next sibling. Around an indicator they stop short of it.
void DrawOwnBranch(QPainter& painter, const QRect& column, const QBrush& dots,
                   const OwnBranch& branch) {
    const int midX = column.left() + column.width() / 2;
    const int midY = column.top() + column.height() / 2;
    const int stop = branch.children ? kIndicatorHalf + 1 : 1;
    if (!branch.children) {
        painter.fillRect(midX, midY, 1, 1, dots);
    }
    if (branch.above) {
        painter.fillRect(midX, column.top(), 1, midY - stop - column.top() + 1, dots);
    }
    if (branch.below) {
        painter.fillRect(midX, midY + stop, 1, column.bottom() - midY - stop + 1, dots);
    }
    if (branch.reverse) {
        painter.fillRect(column.left(), midY, midX - stop - column.left() + 1, 1, dots);
    } else {
        painter.fillRect(midX + stop, midY, column.right() - midX - stop + 1, 1, dots);
    }
}

}  // namespace

CLeftView::CLeftView(MessageDatabase& database, CommandTable& commands, Prompts& prompts,
                     QWidget* parent)
    : QTreeWidget(parent), database_(database), commands_(commands), prompts_(prompts) {
    setObjectName(QStringLiteral("memberTree"));
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    // A slow second click on the selected item, or F2, edits its label.
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setSortingEnabled(false);

    auto* delegate = new NameEditDelegate(this);
    setItemDelegate(delegate);
    connect(delegate, &NameEditDelegate::nameAccepted, this,
            [this](const QModelIndex& index, const QString& name) {
                QTreeWidgetItem* item = itemFromIndex(index);
                if (item == nullptr) {
                    return;
                }
                emit memberRenamed(ItemKey(item), ToShiftJis(name).value_or(std::string()));
            });
    connect(delegate, &NameEditDelegate::nameRefused, this, [this](const QString& message) {
        // Shown once the editor has closed: a modal box inside the edit's commit would
        // take the focus from the editor and commit it again.
        QTimer::singleShot(0, this, [this, message] {
            prompts_.Message(this, QString::fromUtf8(kAppTitle), message,
                             Prompts::Icon::Exclamation, QMessageBox::Ok);
        });
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { OnSelectionChanged(); });
}

std::int32_t CLeftView::ItemKey(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kKeyRole).toInt() : 0;
}

QTreeWidgetItem* CLeftView::ItemOf(std::int32_t key) const {
    if (key == ALL_MEMBERS) {
        return allMembersItem_;
    }
    for (QTreeWidgetItem* item : memberItems_) {
        if (ItemKey(item) == key) {
            return item;
        }
    }
    return nullptr;
}

std::optional<std::int32_t> CLeftView::MemberOf(const QTreeWidgetItem* item) const {
    if (item == nullptr || item == membersRoot_) {
        return std::nullopt;
    }
    return ItemKey(item);
}

bool CLeftView::SelectMember(std::int32_t key) {
    QTreeWidgetItem* item = ItemOf(key);
    if (item == nullptr) {
        return false;
    }
    if (currentItem() != item) {
        setCurrentItem(item);
    }
    return true;
}

std::optional<std::int32_t> CLeftView::SelectedMember() const {
    return MemberOf(currentItem());
}

QString CLeftView::SelectedLabel() const {
    return SelectedMember() ? currentItem()->text(0) : QString();
}

std::vector<std::pair<std::int32_t, QString>> CLeftView::MemberLabels() const {
    std::vector<std::pair<std::int32_t, QString>> labels;
    if (allMembersItem_ == nullptr || membersRoot_ == nullptr) {
        return labels;
    }
    labels.emplace_back(ALL_MEMBERS, allMembersItem_->text(0));
    for (int i = 0; i < membersRoot_->childCount(); ++i) {
        const QTreeWidgetItem* item = membersRoot_->child(i);
        labels.emplace_back(ItemKey(item), item->text(0));
    }
    return labels;
}

std::optional<std::int32_t> CLeftView::ContextMember() const {
    return MemberOf(contextItem_);
}

bool CLeftView::IsMemberItem(const QTreeWidgetItem* item) const {
    return item != nullptr && item != membersRoot_ && item != allMembersItem_;
}

void CLeftView::RebuildTree() {
    emit statusTextChanged(QString());
    ClearTree();
    rebuilding_ = true;

    membersRoot_ = new QTreeWidgetItem(this, QStringList(QString::fromUtf8(kMembersRootLabel)));
    membersRoot_->setIcon(0, Icons::Member(0));
    allMembersItem_ = new QTreeWidgetItem(this, QStringList(QString::fromUtf8(kAllMembersLabel)));
    allMembersItem_->setIcon(0, Icons::Member(2));
    allMembersItem_->setData(0, kKeyRole, ALL_MEMBERS);
    AddNewMembers();
    membersRoot_->sortChildren(0, Qt::AscendingOrder);
    membersRoot_->setExpanded(true);
    setCurrentItem(membersRoot_);
    rebuilding_ = false;
}

void CLeftView::ClearTree() {
    rebuilding_ = true;
    clear();
    memberItems_.clear();
    membersRoot_ = nullptr;
    allMembersItem_ = nullptr;
    contextItem_ = nullptr;
    rebuilding_ = false;
}

void CLeftView::AddNewMembers() {
    if (membersRoot_ == nullptr || !database_.loaded()) {
        return;
    }
    std::set<std::int32_t> shown;
    for (const QTreeWidgetItem* item : memberItems_) {
        shown.insert(ItemKey(item));
    }
    // Collect first: the walk's cursor is shared, and nothing may look members up meanwhile.
    std::vector<std::pair<std::int32_t, std::string>> members;
    if (database_.FirstMember()) {
        do {
            if (shown.count(database_.CurrentKey()) == 0) {
                members.emplace_back(database_.CurrentKey(), database_.CurrentName());
            }
        } while (database_.NextMember());
    }
    const bool blocked = blockSignals(true);
    for (const auto& [key, name] : members) {
        auto* item = new QTreeWidgetItem(membersRoot_, QStringList(FromShiftJis(name)));
        item->setIcon(0, Icons::Member(1));
        item->setData(0, kKeyRole, key);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        memberItems_.push_back(item);
    }
    blockSignals(blocked);
    if (!members.empty() && !rebuilding_) {
        membersRoot_->sortChildren(0, Qt::AscendingOrder);
    }
}

void CLeftView::RefreshNames() {
    if (membersRoot_ == nullptr) {
        return;
    }
    const bool blocked = blockSignals(true);
    for (QTreeWidgetItem* item : memberItems_) {
        item->setText(0, FromShiftJis(database_.MemberName(ItemKey(item))));
    }
    blockSignals(blocked);
    membersRoot_->sortChildren(0, Qt::AscendingOrder);
}

void CLeftView::OnSelectionChanged() {
    if (rebuilding_) {
        return;
    }
    QTreeWidgetItem* selected = currentItem();
    if (selected == nullptr || selected == membersRoot_) {
        emit selectionCleared();
        return;
    }
    WaitCursor wait;
    emit memberSelected(ItemKey(selected));
}

void CLeftView::StartRename(std::int32_t key) {
    QTreeWidgetItem* item = ItemOf(key);
    if (!IsMemberItem(item)) {
        return;
    }
    setFocus();
    scrollToItem(item);
    editItem(item, 0);
}

bool CLeftView::PrepareContextMenu(const QPoint& viewportPos) {
    contextItem_ = itemAt(viewportPos);
    if (contextItem_ == nullptr) {
        return false;
    }
    emit contextChanged();
    return true;
}

void CLeftView::mousePressEvent(QMouseEvent* event) {
    // A right click opens the context menu for the item under the pointer; it does not
    // select that item.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CLeftView::contextMenuEvent(QContextMenuEvent* event) {
    // The right click does not change the selection.
    if (!PrepareContextMenu(event->pos())) {
        return;
    }
    QMenu menu(this);
    menu.addAction(commands_.Action(ID_TREE_RENAME));
    menu.addSeparator();
    menu.addAction(commands_.Action(ID_TREE_PROPERTIES));
    menu.exec(event->globalPos());
}

void CLeftView::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 asks for the context menu as the Menu key does: at the current item.
    if (event->key() == Qt::Key_F10 &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
        event->accept();
        if (QTreeWidgetItem* item = currentItem()) {
            const QPoint at = visualItemRect(item).center();
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at),
                                   event->modifiers());
            contextMenuEvent(&menu);
        }
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CLeftView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    // Qt leaves the lines to the style, and the default style draws none.
    const bool reverse = isRightToLeft();
    const int indent = indentation();
    const int outer = rootIsDecorated() ? 0 : 1;
    int level = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
        ++level;
    }
    if (level < outer) {
        return;
    }
    const bool children = model()->hasChildren(index);
    const QRect own(reverse ? rect.left() : rect.right() + 1 - indent, rect.top(), indent,
                    rect.height());
    const QBrush dots(palette().color(QPalette::Dark), Qt::Dense4Pattern);
    const QPoint oldOrigin = painter->brushOrigin();
    // The dots keep their place while the tree scrolls.
    painter->setBrushOrigin(-horizontalOffset(), -verticalOffset());
    DrawOwnBranch(*painter, own, dots,
                  {reverse, children, level > 0 || index.row() > 0, HasNextSibling(index)});
    // Each ancestor that has a sibling further down passes by.
    QRect column = own;
    QModelIndex ancestor = index.parent();
    for (int at = level - 1; at >= outer; --at, ancestor = ancestor.parent()) {
        column.translate(reverse ? indent : -indent, 0);
        if (HasNextSibling(ancestor)) {
            painter->fillRect(column.left() + indent / 2, column.top(), 1, column.height(), dots);
        }
    }
    painter->setBrushOrigin(oldOrigin);

    if (children) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = own;
        option.state = QStyle::State_Children;
        option.state.setFlag(QStyle::State_Open, isExpanded(index));
        option.state.setFlag(QStyle::State_Enabled, isEnabled());
        option.state.setFlag(QStyle::State_Active, hasFocus());
        option.state.setFlag(QStyle::State_Selected, selectionModel()->isSelected(index));
        style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, painter, this);
    }
}
