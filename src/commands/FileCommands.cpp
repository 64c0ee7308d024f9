#include "commands/FileCommands.h"

#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "documents/FbiWriter.h"
#include "platform/Dialogs.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString FbiFilter = QStringLiteral("TA FBI Files(*.fbi)");
const QString AllFilesFilter = QStringLiteral("All Files(*.*)");
const QString CheckPathAdvice = QStringLiteral("\r\nPlease check the file path and try again.");

FileDialogRequest fileDialog(FileDialogRequest::Mode mode, const QString &title, const QStringList &filters,
                             const QString &directory, const QString &fileName)
{
    return FileDialogRequest{mode, title, filters, 0, QStringLiteral("fbi"), directory, fileName};
}
}

FileCommands::FileCommands(DocumentSet &documents, Dialogs &dialogs, const Options &options, QObject *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_options(options)
{
}

Document *FileCommands::newDocument()
{
    return m_documents.create();
}

QString FileCommands::startFolder() const
{
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    if (!m_options.projectFolder.isEmpty())
        return m_options.projectFolder;
    return QDir::homePath();
}

void FileCommands::open()
{
    const QStringList chosen = m_dialogs.fileDialog(
        m_owner, fileDialog(FileDialogRequest::Mode::OpenMany, QStringLiteral("Open..."), {FbiFilter, AllFilesFilter},
                            startFolder(), QString()));
    if (chosen.isEmpty())
        return;
    m_lastFolder = QFileInfo(chosen.constFirst()).absolutePath();
    for (const QString &path : chosen)
        openFile(path);
}

Document *FileCommands::openFile(const QString &path)
{
    const DocumentSet::OpenResult opened = m_documents.open(path);
    if (opened.document && !opened.ok()) {
        m_dialogs.message(m_owner, QStringLiteral("Cannot open ") + path + CheckPathAdvice,
                          QStringLiteral("Error Opening File"), QMessageBox::Ok, QMessageBox::Critical);
    }
    if (opened.document)
        emit documentShown(opened.document);
    return opened.document;
}

bool FileCommands::save(Document *document)
{
    if (!document)
        return false;
    return document->filePath().isEmpty() ? saveAs(document) : write(document, document->filePath());
}

bool FileCommands::saveAs(Document *document)
{
    if (!document)
        return false;
    // The dialog starts with the document's own file, so Enter never picks another document's file.
    QString start = document->filePath();
    if (start.isEmpty())
        start = QDir(startFolder()).filePath(document->title());
    for (;;) {
        const QStringList chosen = m_dialogs.fileDialog(
            m_owner, fileDialog(FileDialogRequest::Mode::Save, QStringLiteral("Save..."), {FbiFilter},
                                QFileInfo(start).absolutePath(), start));
        if (chosen.isEmpty())
            return false;
        const QString path = chosen.constFirst();
        start = path;
        if (!document->isFile(path) && QFileInfo::exists(path)
            && !confirmReplacing(m_dialogs, m_owner, path, QStringLiteral("Save...")))
            continue;
        m_lastFolder = QFileInfo(path).absolutePath();
        return write(document, path);
    }
}

void FileCommands::close(Document *document)
{
    m_documents.close(document);
}

bool FileCommands::write(Document *document, const QString &path)
{
    if (!confirmOverwritingChanges(document, path)) {
        emit statusMessage(document->title() + QStringLiteral(" was not saved: nothing was written."));
        return false;
    }
    DocumentSet::SaveResult saved = m_documents.save(document, path);
    // The file's own layout cannot take the changes: the standard layout only when the user says so.
    if (saved.failure == FbiWriteResult::Failure::Layout) {
        if (!askForStandardLayout(path, saved.reason)) {
            emit statusMessage(document->title() + QStringLiteral(" was not saved: nothing was written."));
            return false;
        }
        saved = m_documents.save(document, path, FbiLayout::Standard);
        if (saved.ok)
            emit statusMessage(document->title() + QStringLiteral(" was saved in the standard layout."));
    }
    if (!saved.ok) {
        m_dialogs.message(m_owner, cannotSaveText(path, saved.reason), QStringLiteral("Error Saving File"),
                          QMessageBox::Ok, QMessageBox::Critical);
    }
    return saved.ok;
}

bool FileCommands::askForStandardLayout(const QString &path, const QString &reason)
{
    const MessageBoxRequest question{
        QStringLiteral("The changes cannot be saved in the file's own layout: ") + path
            + QStringLiteral("\r\nThe file has not been changed. Save it in the standard layout? Its comments and its "
                             "own layout will be lost.\r\n")
            + reason,
        QStringLiteral("Save in the Standard Layout"), QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel,
        QMessageBox::Warning, QMessageBox::Cancel, {{QMessageBox::Save, QStringLiteral("Save in the Standard Layout")}}};
    return m_dialogs.messageBox(m_owner, question) == QMessageBox::Save;
}

bool confirmReplacing(Dialogs &dialogs, QWidget *owner, const QString &path, const QString &title)
{
    return dialogs.message(owner,
                           QFileInfo(path).fileName() + QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                           title, QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning, QMessageBox::No)
        == QMessageBox::Yes;
}

QString cannotSaveText(const QString &path, const QString &reason)
{
    QString text = QStringLiteral("Cannot save ") + path + CheckPathAdvice;
    if (!reason.isEmpty())
        text += QStringLiteral("\r\n") + reason;
    return text;
}

// Another program, or another window holding the same file, may have written it since.
bool FileCommands::confirmOverwritingChanges(const Document *document, const QString &path)
{
    if (!document->fileChangedOnDisk(path))
        return true;
    return m_dialogs.message(m_owner,
                             path + QStringLiteral(" has changed on disk since it was opened. Save anyway?"),
                             QStringLiteral("File Changed on Disk"), QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::Warning, QMessageBox::No)
        == QMessageBox::Yes;
}
