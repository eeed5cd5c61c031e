// The member properties and options commands of the application, and the options sheet
// that start-up shows when no location is set.
#include "app/CTalvoraApp.h"

#include "search/DayRow.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/options/COptionSheet.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/tree/CLeftView.h"

OptionTargets CTalvoraApp::OptionSheetTargets() {
    HistoryDocument& document = *document_;
    return OptionTargets{
        location(),
        database(),
        document.colors(),
        prompts(),
        [this](const LocationSettings& chosen) { return OpenLocation(chosen); },
        [&document](const LocationSettings& chosen) { document.KeepLocation(chosen); },
        [&document](const ListColors& colors) { document.SetColors(colors); },
        [&document](const std::map<std::int32_t, std::string>& names) {
            document.SetMemberNames(names);
        }};
}

namespace {

int RunOptionSheet(CTalvoraApp& app) {
    COptionSheet sheet(app.OptionSheetTargets(), app.mainFrame());
    return sheet.DoModal();
}

}  // namespace

void CTalvoraApp::ShowMemberProperties(std::optional<std::int32_t> key) {
    // The root "メンバー" stands for no member.
    if (!key) {
        return;
    }
    CMemberSheet sheet(database(), frame_.get());
    sheet.SetMember(*key);
    if (sheet.exec() != QDialog::Accepted || !sheet.chosenMonth()) {
        return;
    }
    // A month double-clicked on the timeline: the list shows the member at the month's
    // newest event, as going to a date does.
    const CalendarMonth month = *sheet.chosenMonth();
    if (!treeView()->SelectMember(*key)) {
        return;
    }
    if (const auto row = FindMonthRow(database(), *key, month.year, month.month)) {
        listView()->RevealRow(*row);
    }
}

void CTalvoraApp::ShowOptions() {
    RunOptionSheet(*this);
}

bool CTalvoraApp::RunStartupOptions() {
    return RunOptionSheet(*this) == QDialog::Accepted;
}
