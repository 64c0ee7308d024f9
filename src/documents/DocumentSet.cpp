#include "documents/DocumentSet.h"

#include "documents/Document.h"
#include "documents/FbiWriter.h"


DocumentSet::~DocumentSet()
{
    for (Document *document : std::as_const(m_documents))
        disconnect(document, nullptr, this, nullptr);
}

std::pair<int, qsizetype> DocumentSet::freeNumber() const
{
    int number = 1;
    qsizetype position = 0;
    while (position < m_documents.size() && m_documents.at(position)->number() == number) {
        ++number;
        ++position;
    }
    return {number > MaxDocumentNumber ? 0 : number, position};
}

void DocumentSet::insert(Document *document, qsizetype position)
{
    m_documents.insert(position, document);
    connect(document, &QObject::destroyed, this, [this, document] {
        if (m_documents.removeOne(document))
            emit documentRemoved(document);
    });
    emit documentAdded(document);
}

Document *DocumentSet::create()
{
    const auto [number, position] = freeNumber();
    if (number == 0)
        return nullptr;
    auto *document = new Document(number, this);
    insert(document, position);
    return document;
}

Document *DocumentSet::adopt(Document *document)
{
    if (m_documents.contains(document))
        return document;
    const auto [number, position] = freeNumber();
    if (number == 0)
        return nullptr;
    document->setNumber(number);
    insert(document, position);
    return document;
}

Document *DocumentSet::findByPath(const QString &path) const
{
    for (Document *document : m_documents) {
        if (document->isFile(path))
            return document;
    }
    return nullptr;
}

DocumentSet::OpenResult DocumentSet::open(const QString &path)
{
    OpenResult result;
    result.document = create();
    if (!result.document)
        return result;
    FbiReadResult read = readFbiFile(path);
    result.error = read.error;
    result.document->load(path, std::move(read));
    return result;
}

DocumentSet::SaveResult DocumentSet::save(Document *document, const QString &path)
{
    const FbiWriteResult written = writeFbiFile(path, document->content(), m_saveLayout);
    if (written.ok)
        document->setFile(path, written.stamp);
    return SaveResult{written.ok, written.reason};
}

void DocumentSet::close(Document *document)
{
    if (!m_documents.removeOne(document))
        return;
    disconnect(document, nullptr, this, nullptr);
    emit documentRemoved(document);
    if (document->parent() == this)
        document->deleteLater();
}
