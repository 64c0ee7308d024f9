#include "docwindow/MenuItems.h"

#include <QMenu>

QMenu *addMenu(QWidget *parent, QList<QMenu *> &menus, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menus.append(menu);
    return menu;
}

QList<QAction *> addMenuItems(QMenu *menu, std::initializer_list<MenuItem> items)
{
    QList<QAction *> actions;
    for (const MenuItem &item : items) {
        QAction *action = item.caption ? menu->addAction(QString::fromLatin1(item.caption)) : menu->addSeparator();
        action->setObjectName(QLatin1String(item.name));
        action->setShortcut(item.shortcut);
        action->setEnabled(item.enabled);
        actions.append(action);
    }
    return actions;
}
