#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

struct MemberStats;
class QLabel;
class QLineEdit;
class QTreeWidget;

// "全般": the member's icon, UIN and name, and how many events of each type were sent and
// received, with a total row.
class CMemberPage1 : public QWidget {
    Q_OBJECT
public:
    explicit CMemberPage1(QWidget* parent = nullptr);

    // For ALL_MEMBERS: the all-members icon, "全メンバー", and "-" for UIN and name.
    void ShowMember(std::int32_t key, const QString& name, const MemberStats& stats);

    QTreeWidget* countList() const { return countList_; }

private:
    void FillCounts(const MemberStats& stats);

    QLabel* icon_;
    QLabel* kind_;
    QLineEdit* uin_;
    QLineEdit* name_;
    QTreeWidget* countList_;
};
