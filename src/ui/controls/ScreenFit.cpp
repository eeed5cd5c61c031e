#include "ui/controls/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

// Once the window manager has framed a window, its frame is known before it is measured on
// the next one: every window gets the same decorations.
QMargins lastFrame;

// Long enough for the window manager to frame a new window and say so.
constexpr int kFramedAfterMs = 150;

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    if (!margins.isNull()) {
        lastFrame = margins;
        return margins;
    }
    return lastFrame;
}

bool IsFittedWindow(const QWidget& widget) {
    const Qt::WindowType type = widget.windowType();
    return widget.isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

class ScreenFitter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (IsFittedWindow(*widget)) {
                FitOnScreen(*widget);
                QTimer::singleShot(kFramedAfterMs, widget, [window = QPointer<QWidget>(widget)] {
                    if (window && window->isVisible()) {
                        FitOnScreen(*window);
                    }
                });
            }
        }
        return false;
    }
};

}  // namespace

void FitOnScreen(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen() || window.screen() == nullptr) {
        return;
    }
    const QRect area = window.screen()->availableGeometry();
    if (area.isEmpty()) {
        return;
    }
    const QMargins frame = FrameOf(window);
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = window.size().boundedTo(room).expandedTo(window.minimumSize());
    if (size != window.size()) {
        window.resize(size);
    }
    const QSize outer = size.grownBy(frame);
    // The top left edge wins where the window cannot shrink enough: its title and menus.
    const QPoint at(std::max(area.left(), std::min(window.x(), area.right() + 1 - outer.width())),
                    std::max(area.top(), std::min(window.y(), area.bottom() + 1 - outer.height())));
    if (at != window.pos()) {
        window.move(at);
    }
}

void KeepWindowsOnScreen(QApplication& application) {
    static ScreenFitter* fitter = nullptr;
    if (fitter == nullptr) {
        fitter = new ScreenFitter(&application);
        application.installEventFilter(fitter);
    }
}
