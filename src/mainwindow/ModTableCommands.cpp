#include "mainwindow/ModTableCommands.h"

#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "mod/ModTable.h"
#include "modwindow/ModTableWindow.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QMdiArea>

ModTableCommands::ModTableCommands(QMdiArea &area, DocumentSet &documents, Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_documents(documents)
    , m_dialogs(dialogs)
{
    connect(&m_area, &QMdiArea::subWindowActivated, this, [this] { emit tableActive(activeTable() != nullptr); });
}

void ModTableCommands::openFolder()
{
    if (const std::optional<QString> folder = m_dialogs.folderDialog(m_area.window(), QStringLiteral("Open Folder...")))
        openFolder(*folder);
}

ModTableWindow *ModTableCommands::openFolder(const QString &folder)
{
    const QString wanted = QFileInfo(folder).canonicalFilePath();
    for (ModTableWindow *table : tables()) {
        if (!wanted.isEmpty() && QFileInfo(table->table()->folder()).canonicalFilePath() == wanted) {
            m_area.setActiveSubWindow(table);
            return table;
        }
    }
    auto *table = new ModTableWindow(m_documents, m_dialogs);
    connect(table, &ModTableWindow::helpRequested, this, &ModTableCommands::helpRequested);
    connect(table, &ModTableWindow::documentRequested, this, &ModTableCommands::showDocument);
    m_area.addSubWindow(table);
    // A table wants all the room the document area has.
    table->resize(m_area.viewport()->size());
    table->move(0, 0);
    table->show();
    m_area.setActiveSubWindow(table);
    table->load(folder);
    return table;
}

ModTableWindow *ModTableCommands::activeTable() const
{
    return qobject_cast<ModTableWindow *>(m_area.currentSubWindow());
}

QList<ModTableWindow *> ModTableCommands::tables() const
{
    QList<ModTableWindow *> tables;
    for (QMdiSubWindow *window : m_area.subWindowList(QMdiArea::CreationOrder)) {
        if (auto *table = qobject_cast<ModTableWindow *>(window))
            tables.append(table);
    }
    return tables;
}

void ModTableCommands::saveAll()
{
    if (ModTableWindow *table = activeTable())
        table->saveAll();
}

void ModTableCommands::exportTable()
{
    if (ModTableWindow *table = activeTable())
        table->exportTable();
}

void ModTableCommands::showDocument(Document *document)
{
    for (QMdiSubWindow *window : m_area.subWindowList()) {
        auto *documentWindow = qobject_cast<DocumentWindow *>(window);
        if (documentWindow && documentWindow->document() == document) {
            if (documentWindow->isMinimized())
                documentWindow->showNormal();
            m_area.setActiveSubWindow(documentWindow);
            return;
        }
    }
    // The main window gives every document that joins the set a window.
    m_documents.adopt(document);
}
