// The find, event-details and about commands of the application.
#include "app/CTalvoraApp.h"

#include "app/ListSearchAdapter.h"
#include "ui/controls/CAboutDlg.h"
#include "ui/details/CEventDetailDialog.h"
#include "ui/find/CFindDialog.h"
#include "ui/find/SearchStep.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"

void CTalvoraApp::OpenFindDialog() {
    {
        ListSearchAdapter list(*listView(), prompts_);
        CFindDialog dialog(database(), search_, list, frame_.get());
        dialog.KeepHitsInSightOf(listView());
        dialog.exec();
    }
    // F3 and Shift+F3 follow what the dialog left in the criteria.
    frame_->SetSearchReady(search_.ready);
}

void CTalvoraApp::FindDown() {
    Find(true);
}

void CTalvoraApp::FindUp() {
    Find(false);
}

void CTalvoraApp::Find(bool downward) {
    ListSearchAdapter list(*listView(), prompts_);
    RunSearchStep(database(), search_, downward, list);
}

void CTalvoraApp::ShowEventDetails() {
    CTalvoraView* list = listView();
    if (list->FirstSelectedRow() < 0) {
        return;
    }
    CEventDetailDialog dialog(*list, database(), prompts_);
    details_ = &dialog;
    dialog.exec();
}

void CTalvoraApp::ShowAbout() {
    CAboutDlg dialog(frame_.get());
    dialog.exec();
}
