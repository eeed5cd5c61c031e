#pragma once

#include <charconv>
#include <cstdint>
#include <string>

// Decimal numbers written straight into text, for the hot paths of the list and the exports:
// dates and times are mostly numbers below 100, and years have four digits.
namespace digits {

// Whether `value` fits two digits (0 to 99).
constexpr bool IsTwoDigit(std::int64_t value) {
    return value >= 0 && value < 100;
}

// Writes `value` (0 to 99) as two digits at `p`; returns the position after them.
inline char* PutTwo(char* p, std::int64_t value) {
    *p++ = static_cast<char>('0' + value / 10);
    *p++ = static_cast<char>('0' + value % 10);
    return p;
}

// Writes `value` without leading zeros (room for 20 characters); returns the position after.
inline char* PutNumber(char* p, std::int64_t value) {
    if (value >= 0 && value < 10) {
        *p++ = static_cast<char>('0' + value);
        return p;
    }
    if (value >= 10 && value < 100) {
        return PutTwo(p, value);
    }
    if (value >= 1000 && value < 10000) {
        return PutTwo(PutTwo(p, value / 100), value % 100);
    }
    return std::to_chars(p, p + 20, value).ptr;
}

inline void AppendNumber(std::int64_t value, std::string& out) {
    char text[20];
    out.append(text, PutNumber(text, value));
}

// At least `width` digits, zeros in front, a minus sign before them.
inline void AppendPadded(std::int64_t value, int width, std::string& out) {
    char text[20];
    const bool negative = value < 0;
    char* const end = std::to_chars(text, text + sizeof text, negative ? -value : value).ptr;
    if (negative) {
        out += '-';
    }
    for (auto length = end - text; length < width; ++length) {
        out += '0';
    }
    out.append(text, end);
}

// "09:07:03" for a time whose fields have two digits each; false (nothing written) else.
inline bool AppendClockTime(int hour, int minute, int second, std::string& out) {
    if (!IsTwoDigit(hour) || !IsTwoDigit(minute) || !IsTwoDigit(second)) {
        return false;
    }
    char text[8];
    char* p = PutTwo(text, hour);
    *p++ = ':';
    p = PutTwo(p, minute);
    *p++ = ':';
    PutTwo(p, second);
    out.append(text, sizeof text);
    return true;
}

}  // namespace digits
