#pragma once

#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"

#include <QList>
#include <QObject>
#include <QString>

class Document;

// The open documents, by number. A new document takes the lowest number that no open document
// holds, starting at 1. Opening and saving report their outcome; telling the user is the caller's.
class DocumentSet : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxDocumentNumber = 32767;

    struct OpenResult
    {
        Document *document = nullptr;   // nullptr only when every number is in use
        FbiReadResult::Error error = FbiReadResult::Error::None;
        bool ok() const { return document && error == FbiReadResult::Error::None; }
    };

    struct SaveResult
    {
        bool ok = false;
        QString reason;                 // the system's reason for a failure, when it gives one
    };

    using QObject::QObject;
    ~DocumentSet() override;

    // A new empty document; nullptr when every number is in use.
    Document *create();
    // The file in a new document. On a read error the document stays, holding the rows read before
    // the error, and keeps its default title.
    OpenResult open(const QString &path);
    // Writes the document to path in the set's layout; on success the document stands for that
    // file, unmodified. On failure the file on disk and the document are as they were.
    SaveResult save(Document *document, const QString &path);
    // Saves keep each file's own text (the default), or write the standard layout.
    void setSaveLayout(FbiLayout layout) { m_saveLayout = layout; }
    // A document made and owned elsewhere (a whole mod's table) joins the set with the lowest free
    // number, so that it gets a window; nullptr when every number is in use. Closing it leaves it
    // to its owner; its owner deleting it takes it out of the set.
    Document *adopt(Document *document);
    // The document leaves the set; one the set made is deleted once control returns to the event loop.
    void close(Document *document);
    // The document of the file at path, or nullptr.
    Document *findByPath(const QString &path) const;

    QList<Document *> documents() const { return m_documents; }
    bool isEmpty() const { return m_documents.isEmpty(); }

signals:
    void documentAdded(Document *document);
    void documentRemoved(Document *document);

private:
    // The lowest number no document holds, and where it goes in the list; 0 when all are in use.
    std::pair<int, qsizetype> freeNumber() const;
    void insert(Document *document, qsizetype position);

    QList<Document *> m_documents;  // in number order
    FbiLayout m_saveLayout = FbiLayout::Kept;
};
