#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "ui/options/COptionPage.h"

class MessageDatabase;
class Prompts;
class QTreeWidget;

// "メンバー": every member with its display name and UIN; names are edited in place in a
// working copy (at most 20 Shift-JIS bytes, only characters Shift-JIS has; an empty name
// stands for the default name). The commit hands every row's name to `apply`.
class COptionPage3 : public COptionPage {
    Q_OBJECT
public:
    using ApplyNames = std::function<void(const std::map<std::int32_t, std::string>&)>;
    COptionPage3(MessageDatabase& database, ApplyNames apply, Prompts& prompts,
                 QWidget* parent = nullptr);

    void Commit() override;
    bool FinishEditing() override;
    // Starts editing the selected row's name; nothing without a selection.
    void RenameSelected();

    QTreeWidget* memberList() const { return list_; }

protected:
    void InitPage() override;
    void showEvent(QShowEvent* event) override;

private:
    class NameColumnDelegate;

    void FitColumns();
    void RefuseName(const QString& message);
    // Shows the message of a refused name that has not been shown yet; false when none.
    bool ShowRefusal();

    MessageDatabase& database_;
    ApplyNames apply_;
    Prompts& prompts_;
    QTreeWidget* list_;
    NameColumnDelegate* delegate_ = nullptr;
    QString refusal_;  // the message of a refused name, until it is shown
    bool columnsFitted_ = false;
    bool refused_ = false;  // the edit that is ending was refused
};
