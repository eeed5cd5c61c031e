#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class CHitCriteriaForm;
class HitListModel;
class HitSearch;
class MessageDatabase;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

// "すべて検索": a window beside the main one that searches the whole history, or the
// selected member's events, and lists every hit as it is found. The search runs in slices
// between the events of the window, so both windows stay usable; it can be stopped, and
// events appended while the window is open are searched too. Selecting a hit asks for
// that member and event to be shown.
class CHitListWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHitListWindow(MessageDatabase& database, QWidget* parent = nullptr);
    ~CHitListWindow() override;

    CHitCriteriaForm* form() const { return form_; }
    HitListModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    bool searching() const;
    QString statusText() const;

    // Starts a new search with the criteria shown (the hits so far are dropped).
    void StartSearch();
    void StopSearch();
    // The history was opened again or closed: the hits point nowhere now.
    void ForgetHits();
    // Searches what was appended since the search went through the history.
    void TakeUpAppended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A hit was selected: the member it belongs to and its row in that member's list.
    void hitSelected(std::int32_t key, std::int32_t row);

private:
    void RunSlice();
    void ShowProgress();
    void UpdateButtons();
    bool HistoryChanged() const;

    MessageDatabase& database_;
    CHitCriteriaForm* form_;
    HitListModel* model_;
    QTableView* table_;
    QPushButton* start_;
    QPushButton* stop_;
    QLabel* status_;
    QProgressBar* progress_;
    QTimer* slices_;
    std::unique_ptr<HitSearch> search_;
    bool stopped_ = false;
    // What the search started on, to notice a history opened in its place.
    std::string dataPath_;
    std::int32_t entryCount_ = 0;
};
