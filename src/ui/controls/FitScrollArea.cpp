#include "ui/controls/FitScrollArea.h"

#include <QFontMetrics>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

// What a dialog puts around its pages: the title bar, the margins and the buttons.
constexpr int kRoomAround = 120;

}  // namespace

FitScrollArea::FitScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
}

QSize FitScrollArea::sizeHint() const {
    const QWidget* content = widget();
    if (content == nullptr) {
        return QScrollArea::sizeHint();
    }
    const int frame = 2 * frameWidth();
    QSize hint = content->sizeHint().expandedTo(content->minimumSizeHint()) + QSize(frame, frame);
    // On a screen too low for the content the vertical scroll bar will show: room for it,
    // so that the content does not scroll sideways as well.
    const QScreen* screen = this->screen();
    if (screen != nullptr && screen->availableGeometry().height() < hint.height() + kRoomAround) {
        hint.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    return hint;
}

QSize FitScrollArea::minimumSizeHint() const {
    // A few lines of the content and the scroll bars; where the screen has room to spare,
    // the whole height, so that the window's other parts give way first.
    const int line = fontMetrics().height();
    QSize least(12 * line, 6 * line);
    const QWidget* content = widget();
    const QScreen* screen = this->screen();
    if (content != nullptr && screen != nullptr) {
        // With room for a sideways scroll bar, which takes from the height.
        const int height = content->sizeHint().height() + 2 * frameWidth() +
                           style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (screen->availableGeometry().height() >= 2 * height) {
            least.setHeight(std::max(least.height(), height));
        }
    }
    return least;
}
