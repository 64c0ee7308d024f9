#include "commands/FileCommands.h"

#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "mainwindow/MainWindow.h"
#include "platform/Dialogs.h"
#include "app/Globals.h"

#include <QDir>

using namespace Globals;

namespace {
const QString FbiFilter = QStringLiteral("TA FBI Files(*.fbi)");
const QString AllFilesFilter = QStringLiteral("All Files(*.*)");
const QString CheckPathAdvice = QStringLiteral("\r\nPlease check the file path and try again.");

// The caption a document gets when it is read from or written to path.
void captionFromPath(DocumentWindow *window, const QString &path)
{
    const QString caption = FileCommands::captionForPath(path);
    if (!caption.isNull())
        window->setWindowTitle(caption);
}

void prepareFileDialog(CommonDialog &dialog, const QString &title, const QStringList &filters)
{
    dialog.title = title;
    dialog.filters = filters;
    dialog.defaultSuffix = QStringLiteral("fbi");
    dialog.directory = ProjectDir;
}
}

QString FileCommands::captionForPath(const QString &path)
{
    const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    if (separator < 0)
        return {};
    return path.mid(separator + 1);
}

DocumentWindow *FileCommands::NewDocument()
{
    // The lowest closed number is reused; the tables grow only when every number is in use.
    qsizetype number = 0;
    for (;; ++number) {
        if (DocStates[number].Closed)
            break;
        if (number == DocStates.size() - 1) {
            if (number >= MaxDocumentNumber)
                return nullptr;
            DocStates.append(DocState{});
            DocWindows.append(nullptr);
            ++number;
            break;
        }
    }
    CurrentDoc = qint16(number);
    DocStates[number] = DocState{};

    auto *window = new DocumentWindow(int(number));
    DocWindows[number] = window;
    window->setWindowTitle(QStringLiteral("Default%1.fbi").arg(number));
    MainWindow *main = MainWindow::instance();
    main->addDocumentWindow(window);
    main->setDocumentCommandsEnabled(true);
    return window;
}

void FileCommands::OpenDocument(const QString &path)
{
    SectionEnded = false;
    DocumentWindow *window = NewDocument();
    if (!window)
        return;
    CurrentDoc = qint16(window->documentNumber());

    FbiReadResult read = readFbiFile(path);
    SectionEnded = read.sectionEnded;
    window->document()->setContent(std::move(read.content));
    if (read.error != FbiReadResult::Error::None) {
        showMessage(MainWindow::instance(), QStringLiteral("Cannot open ") + path + CheckPathAdvice,
                    QStringLiteral("Error Opening File"), QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    captionFromPath(window, path);
    DocStates[CurrentDoc].Changed = false;
    DocStates[CurrentDoc].FilePath = path;
}

bool FileCommands::SaveDocument(DocumentWindow *window, const QString &path)
{
    CurrentDoc = qint16(window->documentNumber());
    if (!writeFbiFile(path, window->document()->content())) {
        showMessage(MainWindow::instance(), QStringLiteral("Cannot save ") + path + CheckPathAdvice,
                    QStringLiteral("Error Saving File"), QMessageBox::Ok, QMessageBox::Critical);
        return false;
    }
    DocStates[CurrentDoc].Changed = false;
    DocStates[CurrentDoc].FilePath = path;
    captionFromPath(window, path);
    return true;
}

void FileCommands::DocumentClosed()
{
    for (qsizetype number = 1; number < DocStates.size(); ++number) {
        if (!DocStates[number].Closed)
            return;
    }
    MainWindow::instance()->setDocumentCommandsEnabled(false);
}

void FileCommands::OpenCommand()
{
    MainWindow *main = MainWindow::instance();
    CommonDialog &dialog = main->comDlg;
    prepareFileDialog(dialog, QStringLiteral("Open..."), {FbiFilter, AllFilesFilter});
    dialog.filterIndex = 0;
    if (dialog.showOpen(main))
        OpenDocument(dialog.fileName);
}

bool FileCommands::SaveCommand(DocumentWindow *window)
{
    if (!window)
        return false;
    CurrentDoc = qint16(window->documentNumber());
    const QString path = DocStates[CurrentDoc].FilePath;
    return path.isEmpty() ? SaveAsCommand(window) : SaveDocument(window, path);
}

bool FileCommands::SaveAsCommand(DocumentWindow *window)
{
    if (!window)
        return false;
    MainWindow *main = MainWindow::instance();
    CommonDialog &dialog = main->comDlg;
    prepareFileDialog(dialog, QStringLiteral("Save..."), {FbiFilter});
    return dialog.showSave(main) && SaveDocument(window, dialog.fileName);
}
