#pragma once

#include "commands/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mod/Mod.h"
#include "modwindow/ModTableWindow.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogs.h"

#include <QSignalSpy>

// Waits until a mod has read its folder; false if it has not within ten seconds.
inline bool waitLoaded(Mod &mod)
{
    QSignalSpy loaded(&mod, &Mod::loaded);
    return !mod.isLoading() || loaded.wait(10000);
}

// The program's windows over the test's documents: the main window with its commands, dialogs
// answered from the script.
struct TableProgram
{
    explicit TableProgram(DocumentSet &documents)
        : commands(documents, dialogs, options)
        , main(documents, commands, dialogs)
    {
        main.show();
    }
    // A mod's folder as a table, once read.
    ModTableWindow *openTable(const QString &folder)
    {
        ModTableWindow *window = main.openFolder(folder);
        return waitLoaded(*window->mod()) ? window : nullptr;
    }

    ScriptedDialogs dialogs;
    Options options;
    FileCommands commands;
    MainWindow main;
};
