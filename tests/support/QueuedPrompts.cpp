#include "support/QueuedPrompts.h"

#include <utility>

namespace {

// Takes the next answer of a queue; false when the queue is empty.
template <typename T>
bool TakeNext(std::deque<T>& queue, T& answer) {
    if (queue.empty()) {
        return false;
    }
    answer = std::move(queue.front());
    queue.pop_front();
    return true;
}

}  // namespace

void QueuedPrompts::QueueButton(QMessageBox::StandardButton button) {
    buttons_.push_back(button);
}

void QueuedPrompts::QueueSaveFileName(std::optional<QString> name, QString filter) {
    saveNames_.push_back(std::move(name));
    saveFilters_.push_back(std::move(filter));
}

void QueuedPrompts::QueueOpenFileName(std::optional<QString> name) {
    openNames_.push_back(std::move(name));
}

void QueuedPrompts::QueueColor(std::optional<QColor> color) {
    colors_.push_back(color);
}

void QueuedPrompts::QueueFolder(std::optional<QString> folder) {
    folders_.push_back(std::move(folder));
}

std::vector<QueuedPrompts::Call> QueuedPrompts::CallsOf(Kind kind) const {
    std::vector<Call> selected;
    for (const Call& call : calls_) {
        if (call.kind == kind) {
            selected.push_back(call);
        }
    }
    return selected;
}

std::vector<QUrl> QueuedPrompts::OpenedUrls() const {
    std::vector<QUrl> urls;
    for (const Call& call : calls_) {
        if (call.kind == Kind::OpenUrl) {
            urls.push_back(call.url);
        }
    }
    return urls;
}

std::size_t QueuedPrompts::PendingAnswers() const {
    return buttons_.size() + saveNames_.size() + openNames_.size() + colors_.size() +
           folders_.size();
}

QMessageBox::StandardButton QueuedPrompts::CancelButton(QMessageBox::StandardButtons buttons) {
    for (QMessageBox::StandardButton escape :
         {QMessageBox::Cancel, QMessageBox::Close, QMessageBox::Abort, QMessageBox::No,
          QMessageBox::Ok}) {
        if (buttons.testFlag(escape)) {
            return escape;
        }
    }
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit))) {
            return static_cast<QMessageBox::StandardButton>(bit);
        }
    }
    return QMessageBox::Ok;  // a box given no buttons shows Ok
}

QueuedPrompts::Call& QueuedPrompts::Record(Kind kind, QWidget* parent) {
    Call& call = calls_.emplace_back();
    call.kind = kind;
    call.parent = parent;
    return call;
}

QMessageBox::StandardButton QueuedPrompts::Message(QWidget* parent, const QString& caption,
                                                   const QString& text, Icon icon,
                                                   QMessageBox::StandardButtons buttons) {
    Call& call = Record(Kind::Message, parent);
    call.caption = caption;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    QMessageBox::StandardButton answer = CancelButton(buttons);
    call.queued = TakeNext(buttons_, answer);
    return answer;
}

std::optional<QString> QueuedPrompts::SaveFileName(QWidget* parent, const QString& filter,
                                                   const QString& defaultSuffix,
                                                   QString* selectedFilter) {
    Call& call = Record(Kind::SaveFileName, parent);
    call.filter = filter;
    call.defaultSuffix = defaultSuffix;
    std::optional<QString> answer;
    call.queued = TakeNext(saveNames_, answer);
    QString chosen;
    TakeNext(saveFilters_, chosen);
    if (selectedFilter != nullptr) {
        *selectedFilter = chosen;
    }
    return answer;
}

std::optional<QString> QueuedPrompts::OpenFileName(QWidget* parent, const QString& filter) {
    Call& call = Record(Kind::OpenFileName, parent);
    call.filter = filter;
    std::optional<QString> answer;
    call.queued = TakeNext(openNames_, answer);
    return answer;
}

std::optional<QColor> QueuedPrompts::Color(QWidget* parent, const QColor& initial) {
    Call& call = Record(Kind::Color, parent);
    call.initialColor = initial;
    std::optional<QColor> answer;
    call.queued = TakeNext(colors_, answer);
    return answer;
}

std::optional<QString> QueuedPrompts::Folder(QWidget* parent, const QString& prompt,
                                             const QString& initial) {
    Call& call = Record(Kind::Folder, parent);
    call.prompt = prompt;
    call.initialFolder = initial;
    std::optional<QString> answer;
    call.queued = TakeNext(folders_, answer);
    return answer;
}

void QueuedPrompts::OpenUrl(const QUrl& url) {
    Call& call = Record(Kind::OpenUrl, nullptr);
    call.url = url;
}
