#pragma once

#include "commands/FileCommands.h"
#include "documents/DocumentSet.h"
#include "settings/Settings.h"

#include <QObject>
#include <QStringList>

#include <memory>

class Dialogs;
class FileTypeRegistry;
class MainWindow;

// The program: its options, its documents, the file commands and the main window, owned here and
// handed to each piece that needs them. Everything that happens once per start is in start().
class Application : public QObject
{
    Q_OBJECT

public:
    // What the program takes from the platform; tests hand in their own, nullptr means the real one.
    struct Platform
    {
        Dialogs *dialogs = nullptr;
        Settings::Store *settings = nullptr;
        FileTypeRegistry *registry = nullptr;
    };

    Application();
    explicit Application(const Platform &platform);
    ~Application() override;

    // The first-start set-up, the settings, the main window with its first document (or the files
    // named by the arguments), and the list of known variables.
    void start(const QStringList &arguments);

    MainWindow *mainWindow() const { return m_mainWindow.get(); }
    DocumentSet &documents() { return m_documents; }
    const Options &options() const { return m_options; }

private:
    void firstStart();
    void restoreWindowSettings();
    void loadKnownVariables();
    void showOptions();
    void reportSettingsFailure();

    std::unique_ptr<Dialogs> m_platformDialogs;
    std::unique_ptr<FileTypeRegistry> m_platformRegistry;
    Dialogs &m_dialogs;
    FileTypeRegistry &m_registry;
    Settings m_settings;
    Options m_options;
    DocumentSet m_documents;
    FileCommands m_commands;
    std::unique_ptr<MainWindow> m_mainWindow;
    bool m_settingsFailureReported = false;
};
