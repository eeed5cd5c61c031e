#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

#include "settings/Settings.h"

// Colours are stored with red in the lowest byte (0x00BBGGRR).
inline QColor ToQColor(std::uint32_t ref) {
    return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                  static_cast<int>((ref >> 16) & 0xFF));
}
inline std::uint32_t FromQColor(const QColor& color) {
    return ColorRef(static_cast<std::uint8_t>(color.red()),
                    static_cast<std::uint8_t>(color.green()),
                    static_cast<std::uint8_t>(color.blue()));
}
// The standard list colours: the palette's Base, Text, Highlight and HighlightedText.
inline ListColors PaletteListColors(const QPalette& palette) {
    return DefaultListColors(
        FromQColor(palette.color(QPalette::Active, QPalette::Base)),
        FromQColor(palette.color(QPalette::Active, QPalette::Text)),
        FromQColor(palette.color(QPalette::Active, QPalette::Highlight)),
        FromQColor(palette.color(QPalette::Active, QPalette::HighlightedText)));
}
