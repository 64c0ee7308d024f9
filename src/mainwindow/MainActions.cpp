#include "mainwindow/MainActions.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {
QAction *separator(QObject *owner, const char *name)
{
    auto *action = new QAction(owner);
    action->setSeparator(true);
    action->setObjectName(QLatin1String(name));
    return action;
}
}

MainActions::MainActions(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
{
    newFile = make("mnuFile_New", QStringLiteral("&New"), QStringLiteral("New"), "new");
    open = make("mnuFile_Open", QStringLiteral("&Open..."), QStringLiteral("Open"), "open");
    openFolder = make("mnuFile_OpenFolder", QStringLiteral("Open &Folder..."));
    close = make("mnuFile_Close", QStringLiteral("&Close"));
    save = make("mnuFile_Save", QStringLiteral("&Save"), QStringLiteral("Save"), "save");
    saveAs = make("mnuFile_SaveAs", QStringLiteral("Save &As..."));
    saveAll = make("mnuFile_SaveAll", QStringLiteral("Save A&ll"));
    exportTable = make("mnuFile_Export", QStringLiteral("&Export Table..."));
    importTable = make("mnuFile_Import", QStringLiteral("&Import Table..."));
    addKey = make("mnuTable_AddKey", QStringLiteral("&Add Key..."));
    removeKey = make("mnuTable_RemoveKey", QStringLiteral("&Remove Key..."));
    compareRows = make("mnuTable_Compare", QStringLiteral("&Compare Rows..."));
    exit = make("mnuFile_Exit", QStringLiteral("E&xit"));
    undo = make("mnuEdit_Undo", QStringLiteral("&Undo"), QStringLiteral("Undo"), "undo");
    redo = make("mnuEdit_Redo", QStringLiteral("R&edo"), QStringLiteral("Redo"), "redo");
    cut = make("mnuEdit_Cut", QStringLiteral("Cu&t"), QStringLiteral("Cut"), "cut");
    copy = make("mnuEdit_Copy", QStringLiteral("&Copy"), QStringLiteral("Copy"), "copy");
    paste = make("mnuEdit_Paste", QStringLiteral("&Paste"), QStringLiteral("Paste"), "paste");
    remove = make("mnuEdit_Delete", QStringLiteral("&Delete"), QStringLiteral("Delete"), "delete");
    selectAll = make("mnuEdit_All", QStringLiteral("Select &All"));
    find = make("mnuEdit_Find", QStringLiteral("&Find..."), QStringLiteral("Find"), "find");
    findNext = make("mnuEdit_Next", QStringLiteral("Find &Next"));
    replace = make("mnuEdit_Replace", QStringLiteral("&Replace..."));
    goToDefinition = make("mnuEdit_Definition", QStringLiteral("&Go to Definition"),
                          QStringLiteral("Open the definition the value names (F12, or Ctrl+click on the value)"));
    options = make("mnuEdit_Options", QStringLiteral("&Options..."), QStringLiteral("Options"), "options");
    cascade = make("mnuWindow_Cascade", QStringLiteral("&Cascade"));
    tileHorizontally = make("mnuWindow_TileHorizontal", QStringLiteral("Tile &Horizontal"));
    tileVertically = make("mnuWindow_TileVertical", QStringLiteral("Tile &Vertical"));
    arrangeIcons = make("mnuWindow_ArrangeIcons", QStringLiteral("Arrange &Icons"));
    helpTopics = make("mnuHelp_Help", QStringLiteral("Help &Topics..."), QStringLiteral("Help"), "help");
    about = make("mnuHelp_About", QStringLiteral("&About..."));

    auto editItems = [this](const char *afterRedo, const char *afterAll, const char *afterReplace) {
        return QList<QAction *>{undo, redo, separator(this, afterRedo), cut, copy, paste, remove, selectAll,
                                separator(this, afterAll), find, findNext, replace, goToDefinition, separator(this, afterReplace), options};
    };
    m_windowMenu = menu("mnuWindow", QStringLiteral("&Window"), {cascade, tileHorizontally, tileVertically, arrangeIcons});

    m_frameMenus = {
        menu("mnuFile", QStringLiteral("&File"),
             {newFile, open, openFolder, saveAll, exportTable, importTable, separator(this, "Seperator1"), exit}),
        // The editing commands are here too, greyed, so the menus do not change shape with a window.
        menu("mnuEdit", QStringLiteral("&Edit"), editItems("Seperator4", "Seperator5", "Seperator6")),
        menu("mnuHelp", QStringLiteral("&Help"), {helpTopics, separator(this, "Seperator3"), about}),
    };
    QMenu *edit = menu("mnuEdit", QStringLiteral("&Edit"), editItems("Seperator4", "Seperator5", "Seperator6"));
    QMenu *help = menu("mnuHelp", QStringLiteral("&Help"), {helpTopics, separator(this, "Seperator7"), about});
    m_documentMenus = {
        menu("mnuFile", QStringLiteral("&File"),
             {newFile, open, openFolder, close, separator(this, "Seperator2"), save, saveAs, separator(this, "Seperator3"), exit}),
        edit, m_windowMenu, help,
    };
    m_tableMenus = {
        menu("mnuFile", QStringLiteral("&File"),
             {newFile, open, openFolder, close, separator(this, "Seperator2"), saveAll, exportTable, importTable,
              separator(this, "Seperator3"), exit}),
        edit, menu("mnuTable", QStringLiteral("&Table"), {addKey, removeKey, compareRows}), m_windowMenu, help,
    };
    setContext(Context::Frame);
}

QAction *MainActions::make(const char *name, const QString &caption, const QString &tip, const char *icon)
{
    auto *action = new QAction(caption, m_owner);
    action->setObjectName(QLatin1String(name));
    if (!tip.isEmpty())
        action->setToolTip(tip);
    if (icon) {
        action->setIcon(QIcon(QStringLiteral(":/toolbar/%1.png").arg(QLatin1String(icon))));
        action->setIconVisibleInMenu(false);
    }
    // The shortcuts work wherever the keyboard is in the main window, its document windows included.
    action->setShortcutContext(Qt::WindowShortcut);
    m_owner->addAction(action);
    return action;
}

QMenu *MainActions::menu(const char *name, const QString &caption, const QList<QAction *> &items)
{
    auto *menu = new QMenu(caption, m_owner);
    menu->setObjectName(QLatin1String(name));
    menu->addActions(items);
    return menu;
}

QList<QMenu *> MainActions::menus(Context context) const
{
    switch (context) {
    case Context::Frame:
        return m_frameMenus;
    case Context::Document:
        return m_documentMenus;
    case Context::Table:
        return m_tableMenus;
    }
    return {};
}

void MainActions::setContext(Context context)
{
    m_context = context;
    const bool window = context != Context::Frame;
    auto keys = [window](QAction *action, const QList<QKeySequence> &shortcuts) {
        action->setShortcuts(window ? shortcuts : QList<QKeySequence>());
    };
    keys(newFile, {QKeySequence(Qt::CTRL | Qt::Key_N)});
    keys(open, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    keys(save, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    keys(undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    keys(redo, {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    keys(cut, {QKeySequence(Qt::CTRL | Qt::Key_X)});
    keys(copy, {QKeySequence(Qt::CTRL | Qt::Key_C)});
    keys(paste, {QKeySequence(Qt::CTRL | Qt::Key_V)});
    keys(remove, {QKeySequence(Qt::Key_Delete)});
    keys(selectAll, {QKeySequence(Qt::CTRL | Qt::Key_A)});
    keys(find, {QKeySequence(Qt::CTRL | Qt::Key_F)});
    keys(findNext, {QKeySequence(Qt::Key_F4)});
    keys(replace, {QKeySequence(Qt::CTRL | Qt::Key_H)});
    keys(goToDefinition, {QKeySequence(Qt::Key_F12)});
    // The table's commands keep their keys in the frame's menus too.
    openFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    saveAll->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

void MainActions::showState(const EditingView::State &state, Context context)
{
    auto set = [](QAction *action, bool enabled) { action->setEnabled(enabled); };
    set(undo, state.undo);
    set(redo, state.redo);
    undo->setText(state.undo ? QStringLiteral("&Undo ") + state.undoText : QStringLiteral("&Undo"));
    undo->setToolTip(state.undo ? QStringLiteral("Undo ") + state.undoText : QStringLiteral("Undo"));
    redo->setText(state.redo ? QStringLiteral("R&edo ") + state.redoText : QStringLiteral("R&edo"));
    redo->setToolTip(state.redo ? QStringLiteral("Redo ") + state.redoText : QStringLiteral("Redo"));
    set(cut, state.cut);
    set(copy, state.copy);
    set(paste, state.paste);
    set(remove, state.remove);
    set(selectAll, state.selectAll);
    set(find, state.find);
    set(findNext, state.find);
    set(replace, state.replace);
    set(goToDefinition, state.goToDefinition);
    set(save, state.save);
    set(saveAs, context == Context::Document);
    set(close, context != Context::Frame);
    set(saveAll, context == Context::Table);
    set(exportTable, context == Context::Table);
    set(importTable, context == Context::Table);
    for (QAction *tool : {addKey, removeKey, compareRows})
        set(tool, context == Context::Table);
}

void MainActions::fillToolbar(QToolBar *toolbar) const
{
    toolbar->addActions({newFile, open, save});
    toolbar->addSeparator();
    toolbar->addActions({cut, copy, paste, remove, find});
    toolbar->addSeparator();
    toolbar->addActions({undo, redo});
    toolbar->addSeparator();
    toolbar->addActions({options, helpTopics});
}
