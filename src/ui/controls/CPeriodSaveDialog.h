#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QDateEdit;
class QPushButton;

// "期間を指定して保存": which member's events (or all members'), of which days, in which
// format and cut into files by year, month or day. The file itself is chosen afterwards.
class CPeriodSaveDialog : public QDialog {
    Q_OBJECT
public:
    struct MemberItem {
        std::int32_t key;
        QString label;
    };
    // The first and last day of a member's events, which the pickers start on.
    using DaysOf = std::function<std::pair<QDate, QDate>(std::int32_t key)>;
    // The ways to cut, in the order of the split list (ExportSplit's order).
    enum Split { NoSplit, ByYear, ByMonth, ByDay };

    CPeriodSaveDialog(std::vector<MemberItem> members, std::int32_t selected,
                      const QStringList& formats, DaysOf daysOf, QWidget* parent = nullptr);

    std::int32_t member() const;
    QDate first() const;
    QDate last() const;
    // The position of the chosen format in `formats`.
    int format() const;
    Split split() const;

private:
    void ShowMemberDays();
    void CheckDays();

    std::vector<MemberItem> members_;
    DaysOf daysOf_;
    QComboBox* member_ = nullptr;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
    QComboBox* format_ = nullptr;
    QComboBox* split_ = nullptr;
    QPushButton* ok_ = nullptr;
};
