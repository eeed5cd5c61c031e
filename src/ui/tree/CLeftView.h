#pragma once

#include <QTreeWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CommandTable;
class MessageDatabase;
class Prompts;

// The member tree: "メンバー" with one item per member (sorted by label), then
// "全メンバー". Selecting an item says which member to show (memberSelected; the root or no
// item: selectionCleared); member items can be renamed in place (at most 20 bytes of
// Shift-JIS); the context menu offers rename and properties for the item under the pointer.
// The frame tells it what the history did; others go by the intent methods and signals,
// never by its items.
class CLeftView : public QTreeWidget {
    Q_OBJECT
public:
    CLeftView(MessageDatabase& database, CommandTable& commands, Prompts& prompts,
              QWidget* parent = nullptr);

    // Builds the tree from the member table with "メンバー" current. Quiet: it sends no
    // selection signal, for the frame empties the list itself.
    void RebuildTree();
    // Removes every item (no database is loaded), as quietly.
    void ClearTree();
    // Relabels every member item from the table and sorts them again.
    void RefreshNames();
    // Gives members that have no item yet (they came with new entries) their item.
    void AddNewMembers();

    // Selects the item of `key` (a member or ALL_MEMBERS), which shows its events as a
    // click would; false when the tree has no such item (yet).
    bool SelectMember(std::int32_t key);
    // The member (or ALL_MEMBERS) selected; nothing for "メンバー" or no item.
    std::optional<std::int32_t> SelectedMember() const;
    // "全メンバー" and every member item, as (key, label) in the order the tree shows them.
    std::vector<std::pair<std::int32_t, QString>> MemberLabels() const;
    // The label of the selected member's item; empty when none is selected.
    QString SelectedLabel() const;
    // The member under the pointer when the context menu opened.
    std::optional<std::int32_t> ContextMember() const;
    // Starts editing the label of member `key`'s item, giving the tree the focus.
    void StartRename(std::int32_t key);

    QTreeWidgetItem* membersRoot() const { return membersRoot_; }
    QTreeWidgetItem* allMembersItem() const { return allMembersItem_; }
    QTreeWidgetItem* contextItem() const { return contextItem_; }
    // The member key an item carries (0 for "メンバー", -2 for "全メンバー").
    static std::int32_t ItemKey(const QTreeWidgetItem* item);
    bool IsMemberItem(const QTreeWidgetItem* item) const;
    // Takes the item at a point of the viewport as the context menu's item (contextChanged
    // lets the frame set its commands' states); false when there is no item there.
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
    // The context menu is about to open for another item.
    void contextChanged();

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
    QTreeWidgetItem* ItemOf(std::int32_t key) const;
    std::optional<std::int32_t> MemberOf(const QTreeWidgetItem* item) const;

    MessageDatabase& database_;
    CommandTable& commands_;
    Prompts& prompts_;
    QTreeWidgetItem* membersRoot_ = nullptr;
    QTreeWidgetItem* allMembersItem_ = nullptr;
    QTreeWidgetItem* contextItem_ = nullptr;
    std::vector<QTreeWidgetItem*> memberItems_;
    bool rebuilding_ = false;
};
