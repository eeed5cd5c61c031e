#include <QImage>
#include <QTreeWidgetItem>

#include "app/AppFixture.h"
#include "ui/tree/CLeftView.h"

namespace {

class MemberTree : public AppFixture {
protected:
    enum class Part { Above, Below, Across };
    // Pixels other than the background on a middle line of the branch column `level`
    // beside `item`: above its middle, below it, or across to the icon (clear of the
    // indicator).
    int Ink(const QTreeWidgetItem* item, int level, Part part) const {
        const QRect row = tree().visualItemRect(item);
        const int indent = tree().indentation();
        const QPoint mid(level * indent + indent / 2, row.top() + row.height() / 2);
        const QRect area =
            part == Part::Above   ? QRect(QPoint(mid.x(), row.top()), mid - QPoint(0, 5))
            : part == Part::Below ? QRect(mid + QPoint(0, 5), QPoint(mid.x(), row.bottom()))
                                  : QRect(mid + QPoint(5, 0), mid + QPoint(indent / 2 - 1, 0));
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                count += shot_.pixelColor(x, y) != tree().palette().color(QPalette::Base);
            }
        }
        return count;
    }
    QImage shot_;
};

TEST_F(MemberTree, DottedLinesJoinItemsToTheirParentsAndSiblings) {
    Start();
    QTreeWidgetItem* root = tree().membersRoot();
    QTreeWidgetItem* first = root->child(0);
    QTreeWidgetItem* last = root->child(root->childCount() - 1);
    QTreeWidgetItem* all = tree().allMembersItem();
    tree().setCurrentItem(root->child(1));
    shot_ = tree().viewport()->grab().toImage();

    // "メンバー" runs down beside its members to "全メンバー", which ends the line.
    EXPECT_EQ(Ink(root, 0, Part::Above), 0);
    EXPECT_GT(Ink(root, 0, Part::Below), 0);
    EXPECT_GT(Ink(last, 0, Part::Above), 0);
    EXPECT_GT(Ink(all, 0, Part::Above), 0);
    EXPECT_EQ(Ink(all, 0, Part::Below), 0);
    // Each member: a line across to its icon, and down only to a later sibling.
    EXPECT_GT(Ink(first, 1, Part::Across), 0);
    EXPECT_GT(Ink(first, 1, Part::Below), 0);
    EXPECT_EQ(Ink(last, 1, Part::Below), 0);
}

}  // namespace
