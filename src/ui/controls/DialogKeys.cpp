#include "ui/controls/DialogKeys.h"

#include <QKeyEvent>
#include <QRadioButton>

bool IsUnusedMnemonic(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier && !key->text().isEmpty() &&
           key->text().at(0).isPrint();
}

bool SwallowUnusedMnemonic(const QWidget& window, const QObject* watched, QEvent* event) {
    if (!IsUnusedMnemonic(event) || !window.isVisible() || !watched->isWidgetType() ||
        static_cast<const QWidget*>(watched)->window() != &window) {
        return false;
    }
    event->accept();
    return true;
}

std::optional<bool> TabDirection(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return std::nullopt;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    if ((key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != Qt::NoModifier) {
        return std::nullopt;
    }
    if (key->key() == Qt::Key_Backtab ||
        (key->key() == Qt::Key_Tab && key->modifiers().testFlag(Qt::ShiftModifier))) {
        return false;
    }
    if (key->key() == Qt::Key_Tab) {
        return true;
    }
    return std::nullopt;
}

bool IsTabStop(const QWidget* widget) {
    if (!widget->isEnabled() || !widget->isVisible()) {
        return false;
    }
    const auto* radio = qobject_cast<const QRadioButton*>(widget);
    if (radio == nullptr || radio->isChecked() || !radio->autoExclusive() ||
        radio->parentWidget() == nullptr) {
        return true;
    }
    for (const QRadioButton* other :
         radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (other->autoExclusive() && other->isChecked()) {
            return false;
        }
    }
    return true;
}

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
