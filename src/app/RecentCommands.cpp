#include <QMessageBox>
#include <QStringList>

#include "app/CTalvoraApp.h"
#include "ui/controls/Prompts.h"
#include "ui/frame/CMainFrame.h"

namespace {

// "FOLDER (UIN)" or "INDEX, DATA", as the File menu shows an entry.
QString RecentLabel(const LocationSettings& location) {
    if (location.location == DatabaseFolder) {
        return QStringLiteral("%1 (%2)").arg(location.dbPath).arg(location.uin);
    }
    return QStringLiteral("%1, %2").arg(location.msgIdxFile, location.msgDatFile);
}

}  // namespace

void CTalvoraApp::FollowRecentHistories() {
    recent_ = settingsFile_->LoadRecentHistories();
    connect(document_.get(), &HistoryDocument::opened, this, [this] {
        recent_ = SettingsFile::WithRecent(recent_, document_->location());
        ShowRecentHistories();
    });
    connect(frame_.get(), &CMainFrame::recentChosen, this, &CTalvoraApp::OpenRecent);
    ShowRecentHistories();
}

void CTalvoraApp::ShowRecentHistories() {
    QStringList labels;
    for (const LocationSettings& location : recent_) {
        labels.append(RecentLabel(location));
    }
    frame_->SetRecentHistories(labels);
}

void CTalvoraApp::OpenRecent(int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= recent_.size()) {
        return;
    }
    // A copy: a successful open reorders the list.
    const LocationSettings location = recent_[static_cast<std::size_t>(number)];
    const OpenResult opened = document_->Open(location);
    if (!opened && opened.error != OpenError::AlreadyOpen) {
        prompts_.Message(frame_.get(), QStringLiteral("Talvora"),
                         QStringLiteral("履歴を開けませんでした。\n%1").arg(RecentLabel(location)),
                         Prompts::Icon::Exclamation, QMessageBox::Ok);
    }
}
