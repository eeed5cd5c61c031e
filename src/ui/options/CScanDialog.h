#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

#include "database/HistoryScanner.h"

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

// Looks for history pairs under a few folders and lets the user pick one. The walk runs in
// short slices on a timer, so the window stays responsive and the walk can be stopped; the
// rows appear as the pairs are found.
class CScanDialog : public QDialog {
    Q_OBJECT
public:
    explicit CScanDialog(const QStringList& roots, QWidget* parent = nullptr);
    ~CScanDialog() override;

    // The user's home, the Wine prefix named by WINEPREFIX and the mount points of disks.
    static QStringList DefaultRoots();

    // The pair chosen once the dialog was accepted.
    std::optional<FoundHistory> chosen() const;
    QTreeWidget* list() const { return list_; }
    QPushButton* stopButton() const { return stop_; }
    bool scanning() const;
    void Stop();

private:
    void RunSlice();
    void AddRow(const FoundHistory& history);
    void ShowAll();
    void UpdateStatus();

    std::unique_ptr<HistoryScanner> scanner_;
    std::vector<FoundHistory> shown_;  // the rows, in list order
    std::size_t skipped_ = 0;
    bool stopped_ = false;
    QTimer* timer_;
    QTreeWidget* list_;
    QLabel* status_;
    QPushButton* stop_;
    QDialogButtonBox* buttons_;
};
