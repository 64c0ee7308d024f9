#include "documents/DocumentSet.h"

#include "documents/Document.h"

#include <QDir>
#include <QFileInfo>

DocumentSet::~DocumentSet()
{
    // The documents are children of the set and go with it; the windows that showed them went first.
    for (Document *document : findChildren<Document *>(Qt::FindDirectChildrenOnly))
        disconnect(document, nullptr, this, nullptr);
}

QString DocumentSet::key(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
#ifdef Q_OS_WIN
    // Windows names files without regard to letter case.
    return absolute.toCaseFolded();
#else
    return absolute;
#endif
}

std::pair<int, qsizetype> DocumentSet::freeNumber() const
{
    int number = 1;
    qsizetype position = 0;
    while (position < m_numbered.size() && m_numbered.at(position)->number() == number) {
        ++number;
        ++position;
    }
    return {number > MaxDocumentNumber ? 0 : number, position};
}

bool DocumentSet::number(Document *document)
{
    if (m_numbered.contains(document))
        return true;
    const auto [number, position] = freeNumber();
    if (number == 0)
        return false;
    document->setNumber(number);
    m_numbered.insert(position, document);
    emit documentAdded(document);
    return true;
}

Document *DocumentSet::make(const QString &path, FbiReadResult read)
{
    auto *document = new Document(0, this);
    document->load(path, std::move(read));
    if (!document->filePath().isEmpty())
        m_byPath.insert(key(document->filePath()), document);
    return document;
}

void DocumentSet::forgetIfUnused(Document *document)
{
    if (m_numbered.contains(document) || m_shares.value(document) > 0)
        return;
    m_shares.remove(document);
    if (!document->filePath().isEmpty() && m_byPath.value(key(document->filePath())) == document)
        m_byPath.remove(key(document->filePath()));
    document->deleteLater();
}

Document *DocumentSet::create()
{
    const auto [number, position] = freeNumber();
    if (number == 0)
        return nullptr;
    auto *document = new Document(number, this);
    m_numbered.insert(position, document);
    emit documentAdded(document);
    return document;
}

DocumentSet::OpenResult DocumentSet::open(const QString &path)
{
    OpenResult result;
    if (Document *known = findByPath(path)) {
        if (number(known))
            result.document = known;
        return result;
    }
    if (freeNumber().first == 0)
        return result;
    FbiReadResult read = readFbiFile(path);
    result.error = read.error;
    result.document = make(path, std::move(read));
    number(result.document);
    return result;
}

Document *DocumentSet::show(Document *document)
{
    return number(document) ? document : nullptr;
}

void DocumentSet::close(Document *document)
{
    if (!m_numbered.removeOne(document))
        return;
    emit documentRemoved(document);
    forgetIfUnused(document);
}

Document *DocumentSet::share(const QString &path, FbiReadResult read)
{
    Document *document = findByPath(path);
    if (!document)
        document = make(path, std::move(read));
    ++m_shares[document];
    return document;
}

void DocumentSet::release(Document *document)
{
    const auto shares = m_shares.find(document);
    if (shares == m_shares.end())
        return;
    if (--*shares <= 0)
        forgetIfUnused(document);
}

Document *DocumentSet::findByPath(const QString &path) const
{
    return path.isEmpty() ? nullptr : m_byPath.value(key(path));
}

DocumentSet::SaveResult DocumentSet::save(Document *document, const QString &path, std::optional<FbiLayout> layout)
{
    const Document *other = findByPath(path);
    if (other && other != document) {
        return SaveResult{false, FbiWriteResult::Failure::Disk, m_saveLayout,
                          QStringLiteral("Another window or table holds that file; close it there first.")};
    }
    const FbiWriteResult written = writeFbiFile(path, document->content(), layout.value_or(m_saveLayout));
    if (written.ok) {
        const QString old = document->filePath();
        if (!old.isEmpty() && m_byPath.value(key(old)) == document)
            m_byPath.remove(key(old));
        document->setFile(path, written.stamp, written.written);
        m_byPath.insert(key(path), document);
    }
    return SaveResult{written.ok, written.failure, written.layout, written.reason};
}
