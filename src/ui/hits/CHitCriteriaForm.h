#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

#include "search/HitSearch.h"
#include "ui/controls/SearchCriteriaControls.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The criteria of the hit list: the text, the find dialog's date limit (all events, one
// day, a period of days) and directions, the members to search (all, or the one selected
// in the tree), the switches, and how the text is read (whole, all words, an expression).
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
    QLineEdit* textEdit() const { return controls_.textEdit(); }

signals:
    // A criterion changed (IsComplete may have changed with it).
    void changed();
    // Enter in the text box.
    void startRequested();

private:
    QWidget* CreateMembersGroup();
    QWidget* CreateOptionsGroup();

    std::optional<std::int32_t> selectedKey_;
    SearchCriteriaControls controls_;
    QRadioButton* allMembers_ = nullptr;
    QRadioButton* selectedMember_ = nullptr;
    QCheckBox* ignoreCase_ = nullptr;
    QCheckBox* ignoreWidth_ = nullptr;
    QCheckBox* ignoreKana_ = nullptr;
    QCheckBox* allWords_ = nullptr;
    QCheckBox* regex_ = nullptr;
};
