#include "app/AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QTreeWidgetItem>

#include <cstdlib>
#include <fstream>

#include "database/LocalTime.h"
#include "support/ModalDialogs.h"
#include "support/QtApp.h"
#include "ui/controls/CommandTable.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

void AppFixture::SetUp() {
    EnsureQApplication();
    // The messenger's settings are looked for in a Wine prefix of the test's own.
    setenv("WINEPREFIX", folder_.File("wine").c_str(), 1);
    paths_ = HistoryPathsFor(folder_.Path(), kOwner);
    settingsPath_ = folder_.File("Talvora.ini");
    auto writer = HistoryWriter::Create(paths_.data, paths_.index);
    ASSERT_TRUE(writer);
    for (int i = 0; i < 3; ++i) {
        WriterRecord r;
        r.uin = 100;
        r.text = "hello " + std::to_string(i);
        r.stamp = 1000000 + i * 3600;
        writer->AppendEvent(100, r);
    }
    for (int i = 0; i < 2; ++i) {
        WriterRecord r;
        r.uin = 200;
        r.text = "sent " + std::to_string(i);
        r.direction = 1;
        r.stamp = 2000000 + i;
        writer->AppendEvent(200, r);
    }
    WriterRecord url;
    url.type = 4;
    url.uin = 300;
    url.text = "page\xFEhttp://example.com/";
    url.stamp = 3000000;
    writer->AppendEvent(300, url);
    WriteSettings();
}

void AppFixture::TearDown() {
    app_.reset();
    unsetenv("WINEPREFIX");
}

void AppFixture::WriteSettings(const std::string& extra) {
    std::ofstream ini(settingsPath_, std::ios::binary);
    ini << "[Log File]\nLocation=0\nDB Path=" << folder_.Path() << "\nUIN=" << kOwner
        << "\n[Member Name]\n200=花子\n"
        << extra;
}

void AppFixture::Start() {
    app_ = std::make_unique<CTalvoraApp>(QString::fromStdString(settingsPath_), prompts_);
    // Start-up shows the options sheet when no location is set: cancel it, as a user who
    // closes it would.
    ModalRejecter closer;
    ASSERT_TRUE(app_->InitInstance());
}

std::int32_t AppFixture::Append(std::int32_t key, const std::string& text, std::int32_t stamp,
                                std::uint32_t direction) {
    auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
    if (!writer) {
        return -1;
    }
    WriterRecord r;
    r.uin = key;
    r.text = text;
    r.stamp = stamp;
    r.direction = direction;
    return writer->AppendEvent(key, r);
}

CLeftView& AppFixture::tree() const {
    return *app_->treeView();
}

CTalvoraView& AppFixture::list() const {
    return *app_->listView();
}

QTreeWidgetItem* AppFixture::MemberItem(std::int32_t key) const {
    QTreeWidgetItem* root = tree().membersRoot();
    for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
        if (CLeftView::ItemKey(root->child(i)) == key) {
            return root->child(i);
        }
    }
    return nullptr;
}

bool AppFixture::Enabled(int id) const {
    return app_->mainFrame()->commands().IsEnabled(id);
}

void AppFixture::Trigger(int id) const {
    app_->mainFrame()->commands().Action(id)->trigger();
}
