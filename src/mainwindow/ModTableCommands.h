#pragma once

#include <QObject>

class Dialogs;
class Document;
class DocumentSet;
class ModTableWindow;
class QMdiArea;

// Open Folder, Save All and Export Table: a mod's folder as one table window in the document area,
// and the unit documents that the table asks to show in windows of their own.
class ModTableCommands : public QObject
{
    Q_OBJECT

public:
    ModTableCommands(QMdiArea &area, DocumentSet &documents, Dialogs &dialogs, QObject *parent = nullptr);

    // Asks for a folder and opens it.
    void openFolder();
    // A folder that a table shows already activates that table.
    ModTableWindow *openFolder(const QString &folder);
    ModTableWindow *activeTable() const;
    QList<ModTableWindow *> tables() const;
    // On the active table.
    void saveAll();
    void exportTable();
    // Activates the document's window, or gives it one.
    void showDocument(Document *document);

signals:
    void helpRequested(const QString &name);
    // Save All and Export Table have a table to act on.
    void tableActive(bool active);

private:
    QMdiArea &m_area;
    DocumentSet &m_documents;
    Dialogs &m_dialogs;
};
