#pragma once

#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <string>

#include "app/CTalvoraApp.h"
#include "historywriter/HistoryWriter.h"
#include "support/QueuedPrompts.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

class CLeftView;
class CTalvoraView;
class QTreeWidgetItem;

// A history in a fresh folder and a settings file that points at it, and the application
// started on them (offscreen, answers to dialogs queued).
//   member 100: three received messages; 200 (stored name 花子): two sent; 300: one URL.
class AppFixture : public ::testing::Test {
protected:
    static constexpr std::int32_t kOwner = 4242;

    void SetUp() override;
    void TearDown() override;

    void WriteSettings(const std::string& extra = std::string());
    void Start();
    std::int32_t Append(std::int32_t key, const std::string& text, std::int32_t stamp,
                        std::uint32_t direction = 0);

    CLeftView& tree() const;
    CTalvoraView& list() const;
    QTreeWidgetItem* MemberItem(std::int32_t key) const;
    bool Enabled(int id) const;
    void Trigger(int id) const;

    ScopedTimeZone utc_{"UTC0"};
    TempFolder folder_;
    HistoryPaths paths_;
    std::string settingsPath_;
    QueuedPrompts prompts_;
    std::unique_ptr<CTalvoraApp> app_;
};
