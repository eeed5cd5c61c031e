#pragma once

#include <QScrollArea>

// Holds pages that may not fit a small screen (a large font, a high scale factor): it asks
// for the whole of its content, so that on an ordinary screen the content shows without
// scroll bars, but it can be made smaller than that, and then scrolls. A dialog built on it
// fits any screen with its buttons outside the scrolled part.
class FitScrollArea : public QScrollArea {
public:
    explicit FitScrollArea(QWidget* content, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};
