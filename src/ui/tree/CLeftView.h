#pragma once

#include <QTreeWidget>

#include <cstdint>
#include <vector>

class CommandTable;
class CTalvoraView;
class MessageDatabase;
class Prompts;

// The member tree: "メンバー" with one item per member (sorted by label), then
// "全メンバー". Selecting an item decides what the event list shows; member items can be
// renamed in place (at most 20 bytes of Shift-JIS); the context menu offers rename and
// properties for the item under the pointer.
class CLeftView : public QTreeWidget {
    Q_OBJECT
public:
    CLeftView(MessageDatabase& database, CommandTable& commands, CTalvoraView& list,
              Prompts& prompts, QWidget* parent = nullptr);

    // Builds the tree from the member table and selects "メンバー" (the list is emptied).
    void RebuildTree();
    // Removes every item (no database is loaded).
    void ClearTree();
    // Relabels every member item from the table and sorts them again.
    void RefreshNames();
    // Gives members that have no item yet (they came with new entries) their item.
    void AddNewMembers();

    QTreeWidgetItem* membersRoot() const { return membersRoot_; }
    QTreeWidgetItem* allMembersItem() const { return allMembersItem_; }
    QTreeWidgetItem* contextItem() const { return contextItem_; }
    // The member key an item carries (0 for "メンバー", -2 for "全メンバー").
    static std::int32_t ItemKey(const QTreeWidgetItem* item);
    bool IsMemberItem(const QTreeWidgetItem* item) const;
    // Starts editing the label of `item` (a member item), giving the tree the focus.
    void StartRename(QTreeWidgetItem* item);
    // Takes the item at a point of the viewport as the context menu's item and sets the
    // enabled state of its two commands; false when there is no item there (no menu).
    bool PrepareContextMenu(const QPoint& viewportPos);

signals:
    // The status text to remember (RebuildTree sends the empty text).
    void statusTextChanged(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnSelectionChanged();

    MessageDatabase& database_;
    CommandTable& commands_;
    CTalvoraView& list_;
    Prompts& prompts_;
    QTreeWidgetItem* membersRoot_ = nullptr;
    QTreeWidgetItem* allMembersItem_ = nullptr;
    QTreeWidgetItem* contextItem_ = nullptr;
    std::vector<QTreeWidgetItem*> memberItems_;
    bool rebuilding_ = false;
};
