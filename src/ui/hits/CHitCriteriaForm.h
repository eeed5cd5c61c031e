#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

#include "search/HitSearch.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;

// The criteria of the hit list: the text, the find dialog's date limit (all events, one
// day, a period of days) and directions, the members to search (all, or the one selected
// in the tree), and the two switches.
class CHitCriteriaForm : public QWidget {
    Q_OBJECT
public:
    explicit CHitCriteriaForm(QWidget* parent = nullptr);

    // The member the tree has selected (none for the root item) and its label: the choice
    // "selected" is offered only with one.
    void SetSelectedMember(std::optional<std::int32_t> key, const QString& label);
    // Complete criteria: a text, a direction, and a period that does not end before it starts.
    bool IsComplete() const;
    HitQuery Query() const;
    QLineEdit* textEdit() const { return text_; }

signals:
    // A criterion changed (IsComplete may have changed with it).
    void changed();
    // Enter in the text box.
    void startRequested();

private:
    QWidget* CreateDateGroup();
    QWidget* CreateTargetGroup();
    QWidget* CreateMembersGroup();
    QWidget* CreateOptionsGroup();
    void UpdatePickers();

    std::optional<std::int32_t> selectedKey_;
    QLineEdit* text_ = nullptr;
    QRadioButton* allEvents_ = nullptr;
    QRadioButton* oneDay_ = nullptr;
    QRadioButton* period_ = nullptr;
    QDateEdit* day_ = nullptr;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
    QCheckBox* received_ = nullptr;
    QCheckBox* sent_ = nullptr;
    QRadioButton* allMembers_ = nullptr;
    QRadioButton* selectedMember_ = nullptr;
    QCheckBox* ignoreCase_ = nullptr;
    QCheckBox* ignoreWidth_ = nullptr;
};
