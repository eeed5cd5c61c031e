#include "support/PopupMenus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

QStringList MenuOpenedBy(const std::function<void()>& act) {
    QStringList items;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&items, &watch] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (const QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        watch.stop();
        menu->close();
    });
    watch.start();
    act();
    return items;
}
