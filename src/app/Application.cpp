#include "app/Application.h"

#include "association/FileTypeRegistry.h"
#include "dialogs/AssociateFiles.h"
#include "dialogs/OptionsDialog.h"
#include "docwindow/DocumentWindow.h"
#include "help/KnownVariables.h"
#include "help/VariableHelp.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StatusPanels.h"
#include "platform/QtDialogs.h"
#include "settings/CommandLine.h"
#include "settings/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

namespace {
const QString Version = QStringLiteral("4.00");

// A relative path is taken from the folder the program was started in, so the caption shows its name.
QString absolutePath(const QString &path)
{
    const QFileInfo info(path);
    return info.isRelative() ? info.absoluteFilePath() : path;
}

// The piece a test handed in, or the platform's own, made here and kept in platform.
template<typename T>
T &givenOrPlatform(T *given, std::unique_ptr<T> &platform, std::unique_ptr<T> (*make)())
{
    if (given)
        return *given;
    platform = make();
    return *platform;
}

std::unique_ptr<Dialogs> makeQtDialogs()
{
    return std::make_unique<QtDialogs>();
}
}

Application::Application()
    : Application(Platform{})
{
}

Application::Application(const Platform &platform)
    : m_dialogs(givenOrPlatform(platform.dialogs, m_platformDialogs, &makeQtDialogs))
    , m_registry(givenOrPlatform(platform.registry, m_platformRegistry, &FileTypeRegistry::platform))
    , m_settings(platform.settings)
    , m_commands(m_documents, m_dialogs, m_options)
{
}

Application::~Application()
{
    // The windows go before the documents and commands they show.
    m_mainWindow.reset();
}

void Application::start(const QStringList &arguments)
{
    const QStringList files = CommandLine::filesToOpen(arguments);

    if (!m_settings.isSet(Settings::FirstRun))
        firstStart();
    else
        m_options = Options::read(m_settings);

    m_documents.setSaveLayout(m_options.keepLayout ? FbiLayout::Kept : FbiLayout::Standard);
    m_mainWindow = std::make_unique<MainWindow>(m_documents, m_commands, m_dialogs);
    m_commands.setDialogOwner(m_mainWindow.get());
    restoreWindowSettings();
    connect(m_mainWindow.get(), &MainWindow::optionsRequested, this, &Application::showOptions);
    // The program ends when its main window has closed every window and itself.
    connect(m_mainWindow.get(), &MainWindow::closed, this, [this] {
        m_settings.write(Settings::MainWindowGeometry, QString::fromLatin1(m_mainWindow->saveGeometry().toBase64()));
        QCoreApplication::exit(0);
    });
    m_commands.newDocument();
    m_mainWindow->arrange(WindowArrangement::Arrangement::Cascade);

    if (!files.isEmpty()) {
        if (DocumentWindow *first = m_mainWindow->activeDocumentWindow())
            first->close();
        for (const QString &file : files)
            m_commands.openFile(absolutePath(file));
    }

    m_mainWindow->setWindowTitle(QStringLiteral("Korvid Version ") + Version);
    m_mainWindow->statusPanels().version->setText(QStringLiteral("Version: ") + Version);
    loadKnownVariables();
}

// The main window opens where the user left it, and Find and Replace match as they did.
void Application::restoreWindowSettings()
{
    const QByteArray geometry = QByteArray::fromBase64(m_settings.read(Settings::MainWindowGeometry).toLatin1());
    if (!geometry.isEmpty())
        m_mainWindow->restoreGeometry(geometry);
    m_mainWindow->setMatchOptions(
        MatchOptions{m_settings.isSet(Settings::ReplaceWholeValue), m_settings.isSet(Settings::ReplaceMatchCase)});
    m_mainWindow->setSaveAllPreview(m_settings.read(Settings::SaveAllPreview) != Settings::UnsetValue);
    connect(m_mainWindow.get(), &MainWindow::saveAllPreviewTurnedOff, this,
            [this] { m_settings.write(Settings::SaveAllPreview, Settings::UnsetValue); });
    connect(m_mainWindow.get(), &MainWindow::matchOptionsChanged, this, [this](const MatchOptions &options) {
        m_settings.write(Settings::ReplaceWholeValue, options.wholeValue ? Settings::SetValue : Settings::UnsetValue);
        m_settings.write(Settings::ReplaceMatchCase, options.matchCase ? Settings::SetValue : Settings::UnsetValue);
    });
}

// The defaults are used from here on even when the settings cannot keep them.
void Application::firstStart()
{
    m_options.variableFile = ProgramFolder::file(QStringLiteral("Variables.dat"));
    m_options.projectFolder = ProgramFolder::path();
    m_settings.write(Settings::FirstRun, Settings::SetValue);
    m_settings.write(Settings::VariableDir, m_options.variableFile);
    m_settings.write(Settings::ProjectDir, m_options.projectFolder);
    reportSettingsFailure();
    const QMessageBox::StandardButton answer = m_dialogs.message(
        nullptr,
        QStringLiteral("This is the first time that you have run Korvid! Do you wish to associate all .FBI files with Korvid?"),
        QStringLiteral("Welcome to Korvid!"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Information,
        QMessageBox::Yes);
    if (answer == QMessageBox::Yes && associateFbiFiles(m_registry, m_dialogs, nullptr)) {
        m_settings.write(Settings::Associated, Settings::SetValue);
        m_options.associated = true;
        reportSettingsFailure();
    }
}

void Application::loadKnownVariables()
{
    const KnownVariablesResult known = readKnownVariables(m_options.variableFile);
    // The file still adds its own names; every key with help is offered beside them.
    m_mainWindow->setKnownVariables(Help::addList(known.names));
    if (!known.ok) {
        m_dialogs.message(m_mainWindow.get(),
                          QStringLiteral("Error loading the variables data file please check the file path in the "
                                         "options or specify a new one."),
                          QStringLiteral("Error Loading..."), QMessageBox::Ok, QMessageBox::Critical);
    }
}

void Application::showOptions()
{
    const Options before = m_options;
    OptionsDialog dialog(m_options, m_dialogs, m_mainWindow.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const OptionsDialog::Choice choice = dialog.choice();
    m_options.variableFile = choice.variableFile;
    m_options.projectFolder = choice.projectFolder;
    m_options.keepLayout = choice.keepLayout;
    m_settings.write(Settings::VariableDir, m_options.variableFile);
    m_settings.write(Settings::ProjectDir, m_options.projectFolder);
    m_settings.write(Settings::KeepLayout, m_options.keepLayout ? Settings::SetValue : Settings::UnsetValue);
    // Recorded only once it worked, so that a failed association can be tried again.
    if (choice.associate && associateFbiFiles(m_registry, m_dialogs, m_mainWindow.get())) {
        m_settings.write(Settings::Associated, Settings::SetValue);
        m_options.associated = true;
    }
    reportSettingsFailure();
    // The options apply at once: the file dialogs read the folder when they open, the list reloads here.
    m_documents.setSaveLayout(m_options.keepLayout ? FbiLayout::Kept : FbiLayout::Standard);
    if (m_options.projectFolder != before.projectFolder)
        m_commands.forgetLastFolder();
    if (m_options.variableFile != before.variableFile)
        loadKnownVariables();
}

// Said once: the program goes on with the values it holds, which last until it ends.
void Application::reportSettingsFailure()
{
    if (!m_settings.writeFailed() || m_settingsFailureReported)
        return;
    m_settingsFailureReported = true;
    m_dialogs.message(m_mainWindow.get(),
                      QStringLiteral("Korvid cannot save its settings to ") + m_settings.location()
                          + QStringLiteral(".\r\nThey are kept until Korvid is closed."),
                      QStringLiteral("Error Saving Settings"), QMessageBox::Ok, QMessageBox::Warning);
}
