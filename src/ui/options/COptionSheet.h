#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "settings/Settings.h"

class COptionPage;
class COptionPage1;
class COptionPage2;
class COptionPage3;
class MessageDatabase;
class Prompts;
class QPushButton;
class QTabWidget;

// What the options sheet works on. The pages hand what the user chose to the three
// callbacks; the application applies it.
struct OptionTargets {
    LocationSettings location;  // the file page starts from it
    MessageDatabase& database;  // the members the members page lists
    const ListColors& colors;   // the colours the colour page starts from
    Prompts& prompts;
    // Keeps the location the file page commits and opens the pair it names. True when a
    // new pair was opened.
    std::function<bool(const LocationSettings&)> openLocation;
    // Keeps a location without opening it: the folder mode the file page takes at once
    // when it opens on an unset location.
    std::function<void(const LocationSettings&)> keepLocation;
    std::function<void(const ListColors&)> applyColors;
    // Every listed member's name (Shift-JIS; empty: the default name).
    std::function<void(const std::map<std::int32_t, std::string>&)> applyNames;
};

// "環境設定": the file, colour and members pages with OK, Cancel and Apply. Apply is enabled
// while a page reports a change; OK and Apply commit every page shown so far, the file page
// first; Cancel commits nothing.
class COptionSheet : public QDialog {
    Q_OBJECT
public:
    explicit COptionSheet(const OptionTargets& targets, QWidget* parent = nullptr);
    ~COptionSheet() override;

    // Initialises the first page (its questions come before the sheet appears), then runs
    // the sheet modally.
    int DoModal();
    // Shows page `index`, initialising it when it is shown for the first time.
    void SetActivePage(int index);
    // Ends the edits still open, then commits every initialised page; the pages are
    // unchanged afterwards. Commits nothing and returns false when a page refused what an
    // open edit held.
    bool Apply();

    QTabWidget* tabs() const { return tabs_; }
    QPushButton* applyButton() const { return applyButton_; }
    COptionPage1* filePage() const { return page1_; }
    COptionPage2* colorPage() const { return page2_; }
    COptionPage3* membersPage() const { return page3_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateApplyButton();

    QTabWidget* tabs_;
    COptionPage1* page1_;
    COptionPage2* page2_;
    COptionPage3* page3_;
    QPushButton* applyButton_ = nullptr;
};
