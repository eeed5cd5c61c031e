#pragma once

#include <QStringList>

#include <functional>

// Runs `act` and closes the first popup menu that opens meanwhile (a menu's exec() would
// wait for the user). The texts of the menu's items, "-" for a separator; empty when no
// menu opened.
QStringList MenuOpenedBy(const std::function<void()>& act);
