#include "ui/find/SearchStep.h"

#include <optional>

#include "search/FindNext.h"
#include "search/SearchList.h"
#include "ui/controls/WaitCursor.h"

namespace {

// The list as the step sees it, with the wait cursor shown until the step ends or the
// end of the search is told.
class WaitingList final : public SearchList {
public:
    explicit WaitingList(SearchList& list) : list_(list) { wait_.emplace(); }

    std::int32_t RowCount() override { return list_.RowCount(); }
    std::int32_t FirstSelectedRow() override { return list_.FirstSelectedRow(); }
    std::int32_t MemberKey() override { return list_.MemberKey(); }
    std::int32_t RowsPerPage() override { return list_.RowsPerPage(); }
    void SelectRow(std::int32_t row) override { list_.SelectRow(row); }
    void ShowRowAt(std::int32_t row, std::int32_t line) override { list_.ShowRowAt(row, line); }
    void SearchFinished() override {
        wait_.reset();
        list_.SearchFinished();
    }

private:
    SearchList& list_;
    std::optional<WaitCursor> wait_;
};

}  // namespace

bool RunSearchStep(MessageDatabase& database, SearchCriteria& criteria, bool downward,
                   SearchList& list) {
    WaitingList waiting(list);
    return FindNext(database, criteria, downward, waiting);
}
