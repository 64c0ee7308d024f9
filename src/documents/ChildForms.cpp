#include "documents/ChildForms.h"

#include "docwindow/frmChild.h"
#include "documents/FbiDocument.h"
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"
#include "startup/Globals.h"

#include <QDir>

using namespace Globals;

namespace {
const QString FbiFilter = QStringLiteral("TA FBI Files(*.fbi)");
const QString AllFilesFilter = QStringLiteral("All Files(*.*)");
const QString CheckPathAdvice = QStringLiteral("\r\nPlease check the file path and try again.");

// The caption a document gets when it is read from or written to path.
void captionFromPath(frmChild *window, const QString &path)
{
    const QString caption = ChildForms::captionForPath(path);
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

QString ChildForms::captionForPath(const QString &path)
{
    const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    if (separator < 0)
        return {};
    return path.mid(separator + 1);
}

frmChild *ChildForms::NewDocument()
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

    auto *window = new frmChild(int(number));
    DocWindows[number] = window;
    window->setWindowTitle(QStringLiteral("Default%1.fbi").arg(number));
    frmMain *main = frmMain::instance();
    main->addDocumentWindow(window);
    main->setDocumentCommandsEnabled(true);
    return window;
}

void ChildForms::OpenDocument(const QString &path)
{
    SectionEnded = false;
    frmChild *window = NewDocument();
    if (!window)
        return;
    CurrentDoc = qint16(window->documentNumber());

    FbiReadResult read = readFbiFile(path);
    SectionEnded = read.sectionEnded;
    window->document()->setContent(std::move(read.content));
    if (read.error != FbiReadResult::Error::None) {
        showMessage(frmMain::instance(), QStringLiteral("Cannot open ") + path + CheckPathAdvice,
                    QStringLiteral("Error Opening File"), QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    captionFromPath(window, path);
    DocStates[CurrentDoc].Changed = false;
    DocStates[CurrentDoc].FilePath = path;
}

bool ChildForms::SaveDocument(frmChild *window, const QString &path)
{
    CurrentDoc = qint16(window->documentNumber());
    if (!writeFbiFile(path, window->document()->content(), FbiLayout::Standard).ok) {
        showMessage(frmMain::instance(), QStringLiteral("Cannot save ") + path + CheckPathAdvice,
                    QStringLiteral("Error Saving File"), QMessageBox::Ok, QMessageBox::Critical);
        return false;
    }
    DocStates[CurrentDoc].Changed = false;
    DocStates[CurrentDoc].FilePath = path;
    captionFromPath(window, path);
    return true;
}

void ChildForms::DocumentClosed()
{
    for (qsizetype number = 1; number < DocStates.size(); ++number) {
        if (!DocStates[number].Closed)
            return;
    }
    frmMain::instance()->setDocumentCommandsEnabled(false);
}

void ChildForms::OpenCommand()
{
    frmMain *main = frmMain::instance();
    CommonDialog &dialog = main->comDlg;
    prepareFileDialog(dialog, QStringLiteral("Open..."), {FbiFilter, AllFilesFilter});
    dialog.filterIndex = 0;
    if (dialog.showOpen(main))
        OpenDocument(dialog.fileName);
}

bool ChildForms::SaveCommand(frmChild *window)
{
    if (!window)
        return false;
    CurrentDoc = qint16(window->documentNumber());
    const QString path = DocStates[CurrentDoc].FilePath;
    return path.isEmpty() ? SaveAsCommand(window) : SaveDocument(window, path);
}

bool ChildForms::SaveAsCommand(frmChild *window)
{
    if (!window)
        return false;
    frmMain *main = frmMain::instance();
    CommonDialog &dialog = main->comDlg;
    prepareFileDialog(dialog, QStringLiteral("Save..."), {FbiFilter});
    return dialog.showSave(main) && SaveDocument(window, dialog.fileName);
}
