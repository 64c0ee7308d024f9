#pragma once

#include <QKeySequence>
#include <QList>

#include <initializer_list>

class QAction;
class QMenu;
class QWidget;

// One item of a menu as the designs list it.
struct MenuItem
{
    const char *name;
    const char *caption;            // nullptr for a separator
    QKeySequence shortcut = {};
    bool enabled = true;
};

// A menu with the design's object name, owned by parent and appended to menus.
QMenu *addMenu(QWidget *parent, QList<QMenu *> &menus, const char *name, const QString &caption);
// The menu's items in order, separators included, so a caller can connect them by position.
QList<QAction *> addMenuItems(QMenu *menu, std::initializer_list<MenuItem> items);

// The Edit menu's items in the design's order, separators included; Options... is the last.
QList<QAction *> addEditMenuItems(QMenu *menu);
