#pragma once

#include <cstdint>
#include <functional>

#include "settings/Settings.h"
#include "ui/options/COptionPage.h"

class CColorLabel;
class Prompts;
class QPushButton;

// "色": the six colours of the event list, text and background of sent events, received
// events and the selected row, each pair shown on a sample. Edits a copy of `current`; the
// commit hands it to `apply`.
class COptionPage2 : public COptionPage {
    Q_OBJECT
public:
    COptionPage2(const ListColors& current, std::function<void(const ListColors&)> apply,
                 Prompts& prompts, QWidget* parent = nullptr);

    void Commit() override;
    // Asks, then sets the copy to the platform's colours. Not a change for Apply: OK still
    // hands the restored colours to the list.
    void RestoreStandardColors();

    const ListColors& colors() const { return colors_; }
    CColorLabel* sample(int row) const;

protected:
    void InitPage() override;

private:
    struct Row {
        std::uint32_t ListColors::*text;
        std::uint32_t ListColors::*background;
        CColorLabel* sample = nullptr;
    };

    void ChooseColor(Row& row, bool background);
    void ShowSamples();

    const ListColors& current_;
    std::function<void(const ListColors&)> apply_;
    Prompts& prompts_;
    ListColors colors_;
    Row rows_[3];
};
