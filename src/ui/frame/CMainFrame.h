#pragma once

#include <QMainWindow>

class CLeftView;
class CommandTable;
class CTalvoraView;
class HistoryDocument;
struct HistoryChange;
class Prompts;
class QSplitter;
class QToolBar;

// The main window: title "Talvora" alone, the menu bar, a toolbar that docks on any side,
// a one-pane status bar, and a splitter with the member tree (200 pixels wide at start) and
// the event list. The status bar shows a command's prompt while its menu item is
// highlighted or the pointer rests on its button, and the remembered status text otherwise.
//
// The frame is the one coordinator of the views: it takes each change of the history
// document and passes it on, the tree first, then the list, and it sets every command's
// enabled state in one place. No view listens to the document on its own.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(HistoryDocument& document, Prompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLeftView* leftPane() const { return tree_; }
    CTalvoraView* rightPane() const { return list_; }
    CommandTable& commands() const { return *commands_; }
    QToolBar* toolBar() const { return toolBar_; }
    QSplitter* splitter() const { return splitter_; }

    // Remembers `text` as the status text shown when no prompt is.
    void SetStatusText(const QString& text);
    const QString& statusText() const { return statusText_; }

    // Whether a search is set up for F3 and Shift+F3.
    void SetSearchReady(bool ready);
    // Sets the enabled state of every command from what the views show.
    void UpdateCommandStates();
    // The File menu's list of the histories opened last (labels, newest first), between the
    // menu's own items and the exit command.
    void SetRecentHistories(const QStringList& labels);

signals:
    // The window is being closed (close box or the exit command).
    void closing();
    // An entry of the recent list was chosen (0 for the newest).
    void recentChosen(int number);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    void FollowDocument(HistoryDocument& document);
    void OnOpened();
    void OnReopened();
    void OnClosed();
    void OnAppended(const HistoryChange& change);
    void OnNamesChanged();

    CommandTable* commands_;
    QSplitter* splitter_;
    CLeftView* tree_;
    CTalvoraView* list_;
    QToolBar* toolBar_ = nullptr;
    // The File menu, and its separator before the exit command: the recent list goes above.
    QMenu* fileMenu_ = nullptr;
    QAction* exitSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QString statusText_;
    bool searchReady_ = false;
};
