#pragma once

#include <optional>

class QEvent;
class QObject;
class QWidget;

// Keys that dialogs of the program take before Qt's own handling.

// Alt with a letter that no enabled mnemonic took (that of a disabled button): Qt would
// hand it on as typing.
bool IsUnusedMnemonic(const QEvent* event);
// For an application-wide event filter: takes such a key when it is meant for a control of
// `window` while it shows (true), so that it types nothing.
bool SwallowUnusedMnemonic(const QWidget& window, const QObject* watched, QEvent* event);

// A key-down of Enter or Return.
bool IsEnterKey(const QEvent* event);

// Tab (true) or Shift+Tab (false); nothing for any other event.
std::optional<bool> TabDirection(const QEvent* event);

// A radio button is a Tab stop only while it is the checked one of its group (or no
// button of the group is checked); the arrow keys move within the group. Other controls
// are Tab stops while enabled and visible.
bool IsTabStop(const QWidget* widget);
