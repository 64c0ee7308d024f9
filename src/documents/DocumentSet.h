#pragma once

#include "documents/FbiReader.h"

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
    // Writes the document to path; on success the document stands for that file, unmodified.
    // On failure the file on disk and the document are as they were.
    SaveResult save(Document *document, const QString &path);
    // The document leaves the set and is deleted once control returns to the event loop.
    void close(Document *document);

    QList<Document *> documents() const { return m_documents; }
    bool isEmpty() const { return m_documents.isEmpty(); }

signals:
    void documentAdded(Document *document);
    void documentRemoved(Document *document);

private:
    QList<Document *> m_documents;  // in number order
};
