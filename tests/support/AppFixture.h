#pragma once

#include "support/MemorySettings.h"
#include "support/RecordingRegistry.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>

class QAbstractItemView;
class QAction;
class QMenu;
class DocumentWindow;
class MainWindow;

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

    static MainWindow *main();
    static DocumentWindow *window(int number);
    // The document windows in the order they were created, and their captions.
    static QList<DocumentWindow *> windows();
    static QStringList captions();
    // A document's rows as "name=value".
    static QStringList rows(const DocumentWindow *window);

    // A list's selected row, or -1; clicks as a user makes them.
    static int selectedRow(const QAbstractItemView *list);
    static void clickRow(QAbstractItemView *list, int row);
    static void doubleClickRow(QAbstractItemView *list, int row);
    static QAction *menuItem(const QList<QMenu *> &menus, const QString &name);
};
