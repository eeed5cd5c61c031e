#pragma once

#include <QFontMetrics>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>

// Column widths of the program are measured for a font whose digits are 6 pixels wide
// (the date "0000/00/00" takes 60). With a larger font a width grows alike, so that a date,
// a time or a type name is not cut; it never shrinks.
inline int ScaledWidth(const QWidget& widget, int width) {
    const double scale =
        std::max(1.0, widget.fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) / 60.0);
    return static_cast<int>(std::lround(width * scale));
}
