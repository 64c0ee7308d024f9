#pragma once

#include "support/MemorySettings.h"
#include "support/RecordingRegistry.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>

class frmChild;
class frmMain;

// Starts the program as a user would, with scripted dialogs and settings in memory, and takes it
// down again, leaving no window and no program state behind.
class AppFixture
{
public:
    AppFixture();
    ~AppFixture();

    ScriptedDialogs dialogs;
    MemorySettings settings;
    // The association is recorded, never made on the machine running the tests.
    RecordingRegistry registry;
    QTemporaryDir dir;

    // The settings of a user who has started the program before, with a small variables data file.
    void setReturningUser();
    // Runs start-up with these arguments after the program's name.
    void start(const QStringList &arguments = {});
    void stop();

    QString path(const QString &name) const { return dir.filePath(name); }
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

    static frmMain *main();
    static frmChild *window(int number);
    // The document windows in the order they were created.
    static QList<frmChild *> windows();
};
