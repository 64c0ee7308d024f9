#include "commands/FileCommands.h"

#include "documents/Document.h"
#include "documents/DocumentSet.h"
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

bool samePath(const QString &left, const QString &right)
{
    return QFileInfo(left).absoluteFilePath() == QFileInfo(right).absoluteFilePath();
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

void FileCommands::open()
{
    const std::optional<QString> chosen = m_dialogs.fileDialog(
        m_owner, fileDialog(FileDialogRequest::Mode::Open, QStringLiteral("Open..."), {FbiFilter, AllFilesFilter},
                            m_options.projectFolder, m_lastFileName));
    if (!chosen)
        return;
    m_lastFileName = *chosen;
    openFile(*chosen);
}

Document *FileCommands::openFile(const QString &path)
{
    const DocumentSet::OpenResult opened = m_documents.open(path);
    if (opened.document && !opened.ok()) {
        m_dialogs.message(m_owner, QStringLiteral("Cannot open ") + path + CheckPathAdvice,
                          QStringLiteral("Error Opening File"), QMessageBox::Ok, QMessageBox::Critical);
    }
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
    if (start.isEmpty()) {
        const QString folder = m_lastFileName.isEmpty() ? m_options.projectFolder
                                                        : QFileInfo(m_lastFileName).absolutePath();
        start = folder.isEmpty() ? document->title() : QDir(folder).filePath(document->title());
    }
    for (;;) {
        const std::optional<QString> chosen = m_dialogs.fileDialog(
            m_owner, fileDialog(FileDialogRequest::Mode::Save, QStringLiteral("Save..."), {FbiFilter},
                                m_options.projectFolder, start));
        if (!chosen)
            return false;
        start = *chosen;
        const bool ownFile = !document->filePath().isEmpty() && samePath(*chosen, document->filePath());
        if (!ownFile && QFileInfo::exists(*chosen) && !confirmReplacing(*chosen))
            continue;
        m_lastFileName = *chosen;
        return write(document, *chosen);
    }
}

void FileCommands::close(Document *document)
{
    m_documents.close(document);
}

bool FileCommands::write(Document *document, const QString &path)
{
    if (!confirmOverwritingChanges(document, path))
        return false;
    const DocumentSet::SaveResult saved = m_documents.save(document, path);
    if (!saved.ok) {
        QString text = QStringLiteral("Cannot save ") + path + CheckPathAdvice;
        if (!saved.reason.isEmpty())
            text += QStringLiteral("\r\n") + saved.reason;
        m_dialogs.message(m_owner, text, QStringLiteral("Error Saving File"), QMessageBox::Ok, QMessageBox::Critical);
    }
    return saved.ok;
}

bool FileCommands::confirmReplacing(const QString &path)
{
    return m_dialogs.message(m_owner,
                             QFileInfo(path).fileName()
                                 + QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                             QStringLiteral("Save..."), QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning,
                             QMessageBox::No)
        == QMessageBox::Yes;
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
