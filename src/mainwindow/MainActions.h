#pragma once

#include "commands/EditingView.h"

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

// The main window's commands, each one named action that the menus and the toolbar share; their
// captions, shortcuts and enabled states are set here and nowhere else. Which menus the menu bar
// shows follows the active window: the frame's own with none, a document window's, or a table's.
class MainActions : public QObject
{
    Q_OBJECT

public:
    enum class Context { Frame, Document, Table };

    explicit MainActions(QWidget *owner);

    QAction *newFile;
    QAction *open;
    QAction *openFolder;
    QAction *close;
    QAction *save;
    QAction *saveAs;
    QAction *saveAll;
    QAction *exportTable;
    QAction *importTable;
    // The table's tools on its selected rows.
    QAction *addKey;
    QAction *removeKey;
    QAction *compareRows;
    QAction *exit;
    QAction *undo;
    QAction *redo;
    QAction *cut;
    QAction *copy;
    QAction *paste;
    QAction *remove;
    QAction *selectAll;
    QAction *find;
    QAction *findNext;
    QAction *replace;
    QAction *goToDefinition;
    QAction *options;
    QAction *cascade;
    QAction *tileHorizontally;
    QAction *tileVertically;
    QAction *arrangeIcons;
    QAction *helpTopics;
    QAction *about;

    // The menus the menu bar shows in a context, in order.
    QList<QMenu *> menus(Context context) const;
    // The Window menu, whose list of windows its owner fills as it opens.
    QMenu *windowMenu() const { return m_windowMenu; }
    // The shortcuts of a context: the frame's own menus have none but the table's commands.
    void setContext(Context context);
    Context context() const { return m_context; }
    // The editing commands as the active window can carry them out; all greyed without one.
    void showState(const EditingView::State &state, Context context);
    void fillToolbar(QToolBar *toolbar) const;

private:
    QAction *make(const char *name, const QString &caption, const QString &tip = {}, const char *icon = nullptr);
    QMenu *menu(const char *name, const QString &caption, const QList<QAction *> &items);

    QWidget *m_owner;
    QList<QMenu *> m_frameMenus;
    QList<QMenu *> m_documentMenus;
    QList<QMenu *> m_tableMenus;
    QMenu *m_windowMenu = nullptr;
    Context m_context = Context::Frame;
};
