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

QList<QAction *> addEditMenuItems(QMenu *menu)
{
    QList<QAction *> items = addMenuItems(menu, {
        {"mnuEdit_Undo", "&Undo", QKeySequence::Undo},
        {"mnuEdit_Redo", "R&edo"},
        {"Seperator4", nullptr},
        {"mnuEdit_Cut", "C&ut", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"mnuEdit_Copy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"mnuEdit_Paste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"mnuEdit_Delete", "&Delete", QKeySequence(Qt::Key_Delete)},
        {"mnuEdit_All", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"Seperator5", nullptr},
        {"mnuEdit_Find", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"mnuEdit_Next", "Find &Next", QKeySequence(Qt::Key_F4)},
        {"mnuEdit_Replace", "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_H)},
        {"Seperator6", nullptr},
        {"mnuEdit_Options", "O&ptions..."},
    });
    items[1]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    return items;
}
