#pragma once

#include "search/SearchList.h"

class CTalvoraView;
class Prompts;

// The event list as the search step sees it; the end of a search is told in a message box.
class ListSearchAdapter final : public SearchList {
public:
    ListSearchAdapter(CTalvoraView& list, Prompts& prompts) : list_(list), prompts_(prompts) {}

    std::int32_t RowCount() override;
    std::int32_t FirstSelectedRow() override;
    std::int32_t MemberKey() override;
    std::int32_t RowsPerPage() override;
    void SelectRow(std::int32_t row) override;
    void ShowRowAt(std::int32_t row, std::int32_t line) override;
    void SearchFinished() override;

private:
    CTalvoraView& list_;
    Prompts& prompts_;
};
