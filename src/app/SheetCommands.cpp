// The member properties and options commands of the application, and the options sheet
// that start-up shows when no location is set.
#include "app/CTalvoraApp.h"

#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/options/COptionSheet.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/tree/CLeftView.h"

OptionTargets CTalvoraApp::OptionSheetTargets() {
    HistoryDocument& document = *document_;
    return OptionTargets{location(),
                         database(),
                         document.colors(),
                         prompts(),
                         [this] { return OpenLocation(); },
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

void CTalvoraApp::ShowMemberProperties(QTreeWidgetItem* item) {
    // The root "メンバー" stands for no member.
    if (item == nullptr || item == treeView()->membersRoot()) {
        return;
    }
    CMemberSheet sheet(database(), frame_.get());
    sheet.SetMember(CLeftView::ItemKey(item));
    sheet.exec();
}

void CTalvoraApp::ShowOptions() {
    RunOptionSheet(*this);
}

bool CTalvoraApp::RunStartupOptions() {
    return RunOptionSheet(*this) == QDialog::Accepted;
}
