#pragma once

#include "app/Application.h"
#include "commands/FileCommands.h"
#include "documents/DocumentSet.h"
#include "settings/Settings.h"
#include "support/MemorySettings.h"
#include "support/RecordingRegistry.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QObject>

#include <memory>

class DocumentWindow;
class MainWindow;
class QAbstractItemView;

// What the application object hands the windows, made by the test: scripted dialogs, settings in
// memory, a recording registry, a document set with its file commands, and a folder for files.
// The main window over them is made on first use.
class Fixture
{
public:
    Fixture();
    ~Fixture();

    ScriptedDialogs dialogs;
    MemorySettings store;
    RecordingRegistry registry;
    TestFolder files;
    Options options;
    DocumentSet documents;
    FileCommands commands{documents, dialogs, options};

    // A main window over the fixture's documents and commands.
    MainWindow &main();
    DocumentWindow *window(const Document *document);
    // Or the whole program over the fixture's dialogs, settings and registry, with these arguments.
    std::unique_ptr<Application> app;
    Application &start(const QStringList &arguments = {});
    // Writes the file and opens it through the commands.
    Document *open(const QString &name, const QByteArray &bytes);

    // A document's rows as "name=value".
    static QStringList rows(const Document *document);
    static int selectedRow(const QAbstractItemView *list);
    // Clicks a row as a user does; twice is a double-click.
    static void click(QAbstractItemView *list, int row, bool twice = false);
    // False once the program has been told to end, as closing the main window does.
    static bool programRunning();
    // Clicks the toolbar button at this position, 1 to 15.
    static void clickToolbar(MainWindow &main, int position);

private:
    std::unique_ptr<MainWindow> m_main;
};

// A fresh fixture for every test function, ending with the check that every dialog was answered.
class FixtureTestCase : public QObject
{
    Q_OBJECT

protected:
    Fixture *f = nullptr;

private slots:
    void init() { f = new Fixture; }
    void cleanup();
};
