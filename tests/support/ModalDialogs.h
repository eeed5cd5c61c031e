#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

// What happens to a dialog that the action leaves open.
enum class LeftOpen {
    Fails,   // the test fails and the dialog is closed
    Closed,  // the dialog is closed (rejected) quietly
    Stays,   // the action closes it later, as a file dialog's accept does
};

// Runs `act` on the modal dialog of type T as soon as it is shown, checking every 10 ms.
// When none is shown within `waitMs`, the test fails and any other modal dialog is closed,
// so a test cannot hang. That no dialog opens is checked with a ModalRejecter.
template <typename T>
void WhenShown(std::function<void(T*)> act, LeftOpen leftOpen = LeftOpen::Fails,
               int waitMs = 5000) {
    auto* timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(waitMs);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, act, leftOpen]() {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<T*>(modal);
        if (dialog == nullptr && !deadline->hasExpired()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (dialog == nullptr) {
            ADD_FAILURE() << "the expected dialog was not shown";
            if (auto* other = qobject_cast<QDialog*>(modal)) {
                other->reject();
            }
            return;
        }
        act(dialog);
        if (leftOpen != LeftOpen::Stays && dialog->isVisible()) {
            if (leftOpen == LeftOpen::Fails) {
                ADD_FAILURE() << "the dialog was left open";
            }
            dialog->reject();
        }
    });
    timer->start(10);
}

// Rejects every modal dialog that shows while it lives, counting them.
class ModalRejecter {
public:
    ModalRejecter() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
                ++rejected_;
            }
        });
        timer_.start();
    }
    int rejected() const { return rejected_; }

private:
    QTimer timer_;
    int rejected_ = 0;
};
