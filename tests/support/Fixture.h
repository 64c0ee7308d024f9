#pragma once

#include "app/Application.h"
#include "support/MemorySettings.h"
#include "support/RecordingRegistry.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QTimer>

#include <functional>

class QAbstractItemView;

// What the application object hands the windows, made by the test: scripted dialogs, settings in
// memory, a recording registry, a document set with its file commands, and a folder for files.
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
    // The whole program over the fixture's dialogs, settings and registry, made by start().
    std::unique_ptr<Application> app;

    Application &start(const QStringList &arguments = {});
    // A main window over the fixture's documents and commands, made on first use.
    MainWindow &main();
    // Writes the file and opens it with the commands.
    Document *open(const QString &name, const QByteArray &bytes) { return commands.openFile(files.write(name, bytes)); }

    // The folder the last file dialog started in.
    QString fileDialogFolder() const { return dialogs.fileDialogs.isEmpty() ? QString() : dialogs.fileDialogs.constLast().directory; }
    // A document's rows as "name=value".
    static QStringList rows(const Document *document);
    // Clicks a row as a user does; twice is a double-click.
    static void click(QAbstractItemView *list, int row, bool twice = false);
    // The main window's named action, and a click on its toolbar button.
    static QAction *action(MainWindow &main, const char *name);
    static void clickToolbar(MainWindow &main, const char *name);
    // False once the program has been told to end, as closing the main window does.
    static bool programRunning();

    // Acts on the modal dialog that the next exec() shows and counts it in modalsShown. A dialog
    // that act leaves open (a check in it failed) is closed, so a failing test does not hang.
    int modalsShown = 0;
    template<typename Dialog>
    void onNextModal(std::function<void(Dialog *)> act)
    {
        auto *poll = new QTimer(&m_scope);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            ++modalsShown;
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll->start(5);
    }

private:
    std::unique_ptr<MainWindow> m_main;
    QObject m_scope;    // ends the dialog drivers with the test
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
