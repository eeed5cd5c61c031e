#pragma once

#include <QTreeWidget>

#include <cstdint>
#include <string>
#include <vector>

class CommandTable;
class HistoryDocument;
struct HistoryChange;
class MessageDatabase;
class Prompts;

// The member tree: "メンバー" with one item per member (sorted by label), then
// "全メンバー". Selecting an item says which member to show (memberSelected; the root or no
// item: selectionCleared); member items can be renamed in place (at most 20 bytes of
// Shift-JIS); the context menu offers rename and properties for the item under the pointer.
class CLeftView : public QTreeWidget {
    Q_OBJECT
public:
    CLeftView(MessageDatabase& database, CommandTable& commands, Prompts& prompts,
              QWidget* parent = nullptr);

    // Follows the document: rebuilt when a pair is opened or reopened, emptied when it is
    // closed, new members added and names relabelled as they change; renames go to it.
    void Follow(HistoryDocument& document);

    // Builds the tree from the member table and selects "メンバー" (the list is emptied).
    void RebuildTree();
    // The same, then selects the item of `key` again when it is still there.
    void RebuildTreeKeeping(std::int32_t key);
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
    // The selected item is a member or "全メンバー": its events are to be shown.
    void memberSelected(std::int32_t key);
    // The root or no item is selected: no events are shown.
    void selectionCleared();
    // A new name was typed for a member (Shift-JIS, at most 20 bytes; empty: the default).
    void memberRenamed(std::int32_t key, const std::string& name);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Dotted lines join each item to its parent and to its next sibling, the roots too;
    // the style only adds its expand/collapse indicator.
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    void OnSelectionChanged();
    void OnAppended(const HistoryChange& change);

    MessageDatabase& database_;
    CommandTable& commands_;
    Prompts& prompts_;
    QTreeWidgetItem* membersRoot_ = nullptr;
    QTreeWidgetItem* allMembersItem_ = nullptr;
    QTreeWidgetItem* contextItem_ = nullptr;
    std::vector<QTreeWidgetItem*> memberItems_;
    bool rebuilding_ = false;
};
