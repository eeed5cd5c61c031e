#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QUrl>

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "ui/controls/Prompts.h"

// Prompts for tests: nothing is shown. Each kind of question takes its answers from its own
// queue, filled by the test; every call is recorded so that the test can check what the
// user would have seen. With nothing queued a call answers as the user cancelling would:
// a message box gives its cancelling button (see CancelButton), the choosers give nothing.
class QueuedPrompts : public Prompts {
public:
    enum class Kind { Message, SaveFileName, OpenFileName, Color, Folder, OpenUrl };

    // One call, with the arguments of its kind; the others stay empty.
    struct Call {
        Kind kind = Kind::Message;
        QWidget* parent = nullptr;
        QString caption;                       // Message
        QString text;                          // Message
        Icon icon = Icon::Information;         // Message
        QMessageBox::StandardButtons buttons;  // Message
        QString filter;                        // SaveFileName, OpenFileName
        QString defaultSuffix;                 // SaveFileName
        QString prompt;                        // Folder
        QString initialFolder;                 // Folder
        QColor initialColor;                   // Color
        QUrl url;                              // OpenUrl
        bool queued = false;  // the answer came from the queue, not from the cancel rule
    };

    void QueueButton(QMessageBox::StandardButton button);
    // std::nullopt queues a cancel; `filter` is the filter the user chose with the name.
    void QueueSaveFileName(std::optional<QString> name, QString filter = {});
    void QueueOpenFileName(std::optional<QString> name);
    void QueueColor(std::optional<QColor> color);
    void QueueFolder(std::optional<QString> folder);

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> CallsOf(Kind kind) const;
    std::vector<QUrl> OpenedUrls() const;
    // Answers queued and not yet asked for: a test can check that each was used.
    std::size_t PendingAnswers() const;
    // Forgets the calls; queued answers stay.
    void ClearCalls() { calls_.clear(); }

    // The button a message box answers with when nothing is queued: the one Escape would
    // press (Cancel, Close, Abort, No), else Ok, else the first button it has.
    static QMessageBox::StandardButton CancelButton(QMessageBox::StandardButtons buttons);

    QMessageBox::StandardButton Message(QWidget* parent, const QString& caption,
                                        const QString& text, Icon icon,
                                        QMessageBox::StandardButtons buttons) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix,
                                        QString* selectedFilter = nullptr) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& filter) override;
    std::optional<QColor> Color(QWidget* parent, const QColor& initial) override;
    std::optional<QString> Folder(QWidget* parent, const QString& prompt,
                                  const QString& initial) override;
    void OpenUrl(const QUrl& url) override;

private:
    Call& Record(Kind kind, QWidget* parent);

    std::deque<QMessageBox::StandardButton> buttons_;
    std::deque<std::optional<QString>> saveNames_;
    std::deque<QString> saveFilters_;
    std::deque<std::optional<QString>> openNames_;
    std::deque<std::optional<QColor>> colors_;
    std::deque<std::optional<QString>> folders_;
    std::vector<Call> calls_;
};
