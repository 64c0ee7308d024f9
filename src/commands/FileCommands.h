#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class Dialogs;
class Document;
class DocumentSet;
struct Options;

// Asks before an existing file is replaced; true for Yes. title is that of the dialog that chose it.
bool confirmReplacing(Dialogs &dialogs, QWidget *owner, const QString &path, const QString &title);
// The message of a failed save: the path, the advice, and the system's reason on a line of its own.
QString cannotSaveText(const QString &path, const QString &reason);

// New, Open, Save and Save As, the same from every menu and the toolbar: the file dialogs, the
// questions before a file is replaced, and the messages when a file cannot be read or written.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(DocumentSet &documents, Dialogs &dialogs, const Options &options, QObject *parent = nullptr);

    // The window the dialogs and messages belong to.
    void setDialogOwner(QWidget *owner) { m_owner = owner; }

    // nullptr when every document number is in use.
    Document *newDocument();
    // Asks for files and opens each.
    void open();
    // Opens the file in a document of its own and tells the user when it cannot be read. A file
    // that the program has already (in a window or a table) is not read again: that document is shown.
    Document *openFile(const QString &path);
    // Writes the document to its file, or asks for one. True when the document was written.
    bool save(Document *document);
    bool saveAs(Document *document);
    void close(Document *document);

    // The folder the file dialogs start in: where the user last chose a file, else the project
    // folder of the options, else the user's home.
    QString startFolder() const;
    // The project folder of the options changed: the dialogs start there again.
    void forgetLastFolder() { m_lastFolder.clear(); }

signals:
    void documentShown(Document *document);
    // A word for the status bar about what a command did, or did not do.
    void statusMessage(const QString &text);

private:
    bool write(Document *document, const QString &path);
    bool askForStandardLayout(const QString &path, const QString &reason);
    bool confirmOverwritingChanges(const Document *document, const QString &path);

    DocumentSet &m_documents;
    Dialogs &m_dialogs;
    const Options &m_options;
    QPointer<QWidget> m_owner;
    QString m_lastFolder;
};
