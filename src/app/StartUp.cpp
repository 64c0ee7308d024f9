#include "app/StartUp.h"

#include "docwindow/DocumentWindow.h"
#include "commands/FileCommands.h"
#include "documents/FbiContent.h"
#include "documents/LineReader.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"
#include "association/FileAssociation.h"
#include "platform/Dialogs.h"
#include "settings/CommandLine.h"
#include "app/Globals.h"
#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>

using namespace Globals;

namespace {
const QString ProgramTitle = QStringLiteral("Korvid4");
const QString Version = QStringLiteral("4.00");

void firstStart()
{
    Settings::write(Settings::FirstRun, Settings::SetValue);
    Settings::write(Settings::VariableDir, ProgramFolder::file(QStringLiteral("Variables.dat")));
    Settings::write(Settings::ProjectDir, ProgramFolder::path());
    const QMessageBox::StandardButton answer = showMessage(
        nullptr,
        QStringLiteral("This is the first time that you have run Korvid! Do you wish to associate all .FBI files with Korvid?"),
        QStringLiteral("Welcome to Korvid!"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Information,
        QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    FileAssociation::AssociateFileType(ProgramTitle, QStringLiteral("fbi"), QStringLiteral("FBI File"),
                                       ProgramFolder::file(QStringLiteral("Korvid.ico")));
    showMessage(nullptr, QStringLiteral("You will need to restart your computer for settings to take affect."),
                QStringLiteral("Restart"), QMessageBox::Ok, QMessageBox::Information);
    Settings::write(Settings::Associated, Settings::SetValue);
}

// A relative path is taken from the folder the program was started in, so the caption shows its name.
QString absolutePath(const QString &path)
{
    const QFileInfo info(path);
    return info.isRelative() ? info.absoluteFilePath() : path;
}
}

bool StartUp::Main(const QStringList &arguments)
{
    const QString commandLine = CommandLine::fileArgument(arguments);

    if (!Settings::isSet(Settings::FirstRun))
        firstStart();

    IsAssociated = Settings::isSet(Settings::Associated);
    VariableDir = Settings::read(Settings::VariableDir);
    ProjectDir = Settings::read(Settings::ProjectDir);

    auto *main = new MainWindow;
    DocStates = {DocState{}};
    DocWindows = {nullptr};
    FileCommands::NewDocument();
    main->arrange(MainWindow::Arrangement::Cascade);

    if (!commandLine.isEmpty()) {
        if (DocumentWindow *first = main->activeDocumentWindow())
            first->close();
        FileCommands::OpenDocument(absolutePath(commandLine));
    }

    main->setWindowTitle(QStringLiteral("Korvid Version ") + Version);
    main->statusPanel(6)->setText(QStringLiteral("Version: ") + Version);

    if (!LoadKnownVariables(VariableDir)) {
        showMessage(main,
                    QStringLiteral("Error loading the variables data file please check the file path in the options "
                                   "or specify a new one."),
                    QStringLiteral("Error Loading..."), QMessageBox::Ok, QMessageBox::Critical);
    }
    return true;
}

bool StartUp::LoadKnownVariables(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QListWidget *list = MainWindow::instance()->variablePanel()->lstAdd();
    LineReader reader(file);
    QByteArrayView line;
    for (;;) {
        switch (reader.next(line)) {
        case LineReader::Status::Line:
            list->addItem(fromFileText(line));
            break;
        case LineReader::Status::End:
            return true;
        case LineReader::Status::TooLong:
        case LineReader::Status::ReadError:
            return false;
        }
    }
}
