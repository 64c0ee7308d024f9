#include "documents/DocumentSet.h"

#include "documents/Document.h"
#include "documents/FbiWriter.h"

DocumentSet::~DocumentSet()
{
    qDeleteAll(m_documents);
}

Document *DocumentSet::create()
{
    int number = 1;
    qsizetype position = 0;
    while (position < m_documents.size() && m_documents.at(position)->number() == number) {
        ++number;
        ++position;
    }
    if (number > MaxDocumentNumber)
        return nullptr;
    auto *document = new Document(number);
    m_documents.insert(position, document);
    emit documentAdded(document);
    return document;
}

DocumentSet::OpenResult DocumentSet::open(const QString &path)
{
    OpenResult result;
    result.document = create();
    if (!result.document)
        return result;
    FbiReadResult read = readFbiFile(path);
    result.document->setContent(std::move(read.content));
    result.error = read.error;
    if (result.error == FbiReadResult::Error::None)
        result.document->setFile(path);
    return result;
}

DocumentSet::SaveResult DocumentSet::save(Document *document, const QString &path)
{
    SaveResult result;
    result.ok = writeFbiFile(path, document->content());
    if (!result.ok)
        return result;
    document->setFile(path);
    return result;
}

void DocumentSet::close(Document *document)
{
    if (!m_documents.removeOne(document))
        return;
    emit documentRemoved(document);
    document->deleteLater();
}
