#pragma once

#include <QString>

// Test texts are UTF-8 literals; QString would read plain char strings as Latin-1.
inline QString U(const char* text) {
    return QString::fromUtf8(text);
}
