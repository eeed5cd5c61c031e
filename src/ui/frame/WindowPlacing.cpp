#include "ui/frame/WindowPlacing.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace {

constexpr int kOpeningHeight = 640;
// The part of a window's top edge that must be on a screen to drag it (its title bar).
constexpr int kReachableStrip = 24;

QRect AvailableArea(const QScreen* screen) {
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace

QSize OpeningSize(const QTableView& list, int treeWidth) {
    const int listWidth = list.horizontalHeader()->length() + 2 * list.frameWidth() +
                          list.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // A few pixels to spare so that rounding in the layouts never asks for a scroll bar.
    const QSize wanted(treeWidth + listWidth + 8, kOpeningHeight);
    const QRect available = AvailableArea(QGuiApplication::primaryScreen());
    return available.isEmpty() ? wanted : wanted.boundedTo(available.size());
}

WindowPlacement PlacementOf(const QWidget& window) {
    const bool maximized = window.isMaximized();
    const QRect normal =
        (maximized || window.isFullScreen()) ? window.normalGeometry() : window.geometry();
    return WindowPlacement{normal.x(), normal.y(), normal.width(), normal.height(), maximized};
}

void PlaceWindow(QWidget& window, const WindowPlacement& placement) {
    const QRect wanted(placement.left, placement.top, placement.width, placement.height);
    const QRect topEdge(wanted.left(), wanted.top(), wanted.width(), kReachableStrip);
    const QScreen* home = nullptr;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(topEdge)) {
            home = screen;
            break;
        }
    }
    const QRect area = AvailableArea(home != nullptr ? home : QGuiApplication::primaryScreen());
    if (area.isEmpty()) {
        window.resize(wanted.size());
    } else {
        const QSize size = wanted.size().boundedTo(area.size());
        QPoint at = home != nullptr ? wanted.topLeft()
                                    : area.center() - QPoint(size.width() / 2, size.height() / 2);
        at.setX(std::clamp(at.x(), area.left(), area.right() + 1 - size.width()));
        at.setY(std::clamp(at.y(), area.top(), area.bottom() + 1 - size.height()));
        window.setGeometry(QRect(at, size));
    }
    if (placement.maximized) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
}

QRect BesideOrBelow(const QRect& main, QSize wanted, QSize minimum, const QRect& area) {
    wanted = wanted.boundedTo(area.size());
    minimum = minimum.boundedTo(wanted);
    const auto inside = [](int at, int length, int first, int last) {
        return std::clamp(at, first, std::max(first, last + 1 - length));
    };
    const int right = area.right() - main.right();
    const int left = main.left() - area.left();
    if (right >= minimum.width() || left >= minimum.width()) {
        const int width = std::min(wanted.width(), std::max(right, left));
        const int x = right >= minimum.width() ? main.right() + 1 : main.left() - width;
        const int height = std::min(wanted.height(), area.height());
        return {x, inside(main.top(), height, area.top(), area.bottom()), width, height};
    }
    const int below = area.bottom() - main.bottom();
    const int above = main.top() - area.top();
    const int x = inside(main.left(), wanted.width(), area.left(), area.right());
    if (below >= minimum.height() || above >= minimum.height()) {
        const int height = std::min(wanted.height(), std::max(below, above));
        const int y = below >= minimum.height() ? main.bottom() + 1 : main.top() - height;
        return {x, y, wanted.width(), height};
    }
    const int height = std::max(minimum.height(), std::min(wanted.height(), area.height() * 3 / 5));
    return {x, area.bottom() + 1 - height, wanted.width(), height};
}

void OpenWithFrameAt(QWidget& window, const QRect& frame, const QWidget& reference) {
    const QRect outer = reference.frameGeometry();
    const QRect inner = reference.geometry();
    const QSize decorations = outer.size() - inner.size();
    window.resize((frame.size() - decorations).expandedTo(window.minimumSizeHint()));
    window.move(frame.topLeft());
}
