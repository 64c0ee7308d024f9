#pragma once

#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class Document;

// The one owner of every document, whoever shows it: a file is one document in the whole program,
// with one history, whether a window, a mod's table or both show it.
//
// A document is open on its own (a window shows it) or shared (a table holds it), or both; it lives
// while either holds. A document open on its own has a number: a new one takes the lowest number no
// such document holds, starting at 1. Opening and saving report their outcome; telling the user is
// the caller's.
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
        FbiWriteResult::Failure failure = FbiWriteResult::Failure::None;
        FbiLayout layout = FbiLayout::Standard; // the layout written
        QString reason;                 // why the layout could not be written, or the system's reason
    };

    using QObject::QObject;
    ~DocumentSet() override;

    // A new empty document, open on its own; nullptr when every number is in use.
    Document *create();
    // The file's document, open on its own: the one any part of the program has for it, else read
    // from the file. On a read error the new document stays, holding the rows read before the
    // error, and keeps its default title.
    OpenResult open(const QString &path);
    // A document shared by the set: open on its own too, so a window shows it.
    Document *show(Document *document);
    // No longer open on its own; it goes when nothing shares it.
    void close(Document *document);

    // The file's document for a holder that shows many files: the one the set has for it, else one
    // made from what was read. Each share is given back with release().
    Document *share(const QString &path, FbiReadResult read);
    void release(Document *document);
    // Something besides its window holds the document.
    bool isShared(const Document *document) const { return m_shares.value(document) > 0; }

    // Writes the document to path in the set's layout (or the one given); on success the document
    // stands for that file, unmodified. On failure the file on disk and the document are as they
    // were. A path that another document stands for is refused: it would make two documents of one file.
    SaveResult save(Document *document, const QString &path, std::optional<FbiLayout> layout = {});
    // Saves keep each file's own text (the default), or write the standard layout.
    void setSaveLayout(FbiLayout layout) { m_saveLayout = layout; }
    FbiLayout saveLayout() const { return m_saveLayout; }

    // The document of the file at path, or nullptr.
    Document *findByPath(const QString &path) const;

    // The documents open on their own, by number.
    QList<Document *> documents() const { return m_numbered; }
    bool isEmpty() const { return m_numbered.isEmpty(); }
    bool isOpen(const Document *document) const { return m_numbered.contains(document); }

signals:
    // A document became open on its own, or is no longer.
    void documentAdded(Document *document);
    void documentRemoved(Document *document);

private:
    // The lowest number no document holds, and where it goes in the list; 0 when all are in use.
    std::pair<int, qsizetype> freeNumber() const;
    bool number(Document *document);
    Document *make(const QString &path, FbiReadResult read);
    void forgetIfUnused(Document *document);
    static QString key(const QString &path);

    QList<Document *> m_numbered;       // in number order
    QHash<const Document *, int> m_shares;
    QHash<QString, Document *> m_byPath;
    FbiLayout m_saveLayout = FbiLayout::Kept;
};
