#include "documents/FbiContent.h"

#include <cstring>

qsizetype storableLength(QStringView text)
{
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text[index];
        if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return index;
    }
    return text.size();
}

QByteArray toFileText(QStringView text)
{
    return text.toLatin1();
}

QString fromFileText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.data(), bytes.size());
}

// The reader's rules, applied again to a row of the file text whose name starts at offset: the
// name runs to the first "=", tabs before it dropped (the reader keeps rows whose name holds a tab
// anywhere else as rows of their own); the value runs from after the "=" and its tabs to the ";",
// or to the line end less the blanks there, and loses the tabs at its end.
FbiContent::RowSpan FbiContent::spanIn(QByteArrayView file, qint64 offset)
{
    const char *data = file.data();
    const qint64 size = file.size();
    RowSpan span;
    span.equals = static_cast<const char *>(std::memchr(data + offset, '=', size_t(size - offset))) - data;
    qint64 begin = span.equals + 1;
    while (begin < size && data[begin] == '\t')
        ++begin;
    qint64 end = begin;
    while (end < size && data[end] != ';' && data[end] != '\n' && data[end] != '\r')
        ++end;
    const bool semicolon = end < size && data[end] == ';';
    span.end = semicolon ? end + 1 : end;
    if (!semicolon) {
        while (end > begin && data[end - 1] == ' ')
            --end;
    }
    while (end > begin && data[end - 1] == '\t')
        --end;
    span.valueBegin = begin;
    span.valueEnd = end;
    return span;
}

namespace {
QByteArrayView nameIn(QByteArrayView file, qint64 offset)
{
    const char *start = file.data() + offset;
    const char *end = static_cast<const char *>(std::memchr(start, '=', size_t(file.size() - offset)));
    while (end > start && end[-1] == '\t')
        --end;
    return QByteArrayView(start, end - start);
}
}

QByteArrayView FbiContent::fileName(qint64 offset) const
{
    return nameIn(m_file, offset);
}

QByteArrayView FbiContent::fileValue(qint64 offset) const
{
    const RowSpan span = spanIn(m_file, offset);
    return QByteArrayView(m_file.constData() + span.valueBegin, span.valueEnd - span.valueBegin);
}

QByteArrayView FbiContent::nameBytes(qsizetype row) const
{
    const quint32 entry = m_rows.at(row);
    return isOwn(entry) ? QByteArrayView(own(entry).name) : fileName(entry);
}

QByteArrayView FbiContent::valueBytes(qsizetype row) const
{
    const quint32 entry = m_rows.at(row);
    return isOwn(entry) ? QByteArrayView(own(entry).value) : fileValue(entry);
}

std::pair<QByteArrayView, QByteArrayView> FbiContent::rowBytes(qsizetype row) const
{
    const quint32 entry = m_rows.at(row);
    if (isOwn(entry))
        return {own(entry).name, own(entry).value};
    const RowSpan span = spanIn(m_file, entry);
    qint64 nameEnd = span.equals;
    while (nameEnd > qint64(entry) && m_file.at(nameEnd - 1) == '\t')
        --nameEnd;
    const char *data = m_file.constData();
    return {QByteArrayView(data + entry, nameEnd - entry), QByteArrayView(data + span.valueBegin, span.valueEnd - span.valueBegin)};
}

QString FbiContent::name(qsizetype row) const
{
    return fromFileText(nameBytes(row));
}

QString FbiContent::value(qsizetype row) const
{
    return fromFileText(valueBytes(row));
}

QList<FbiRow> FbiContent::rows() const
{
    QList<FbiRow> result;
    result.reserve(rowCount());
    for (qsizetype row = 0; row < rowCount(); ++row)
        result.append(FbiRow{name(row), value(row)});
    return result;
}

quint32 FbiContent::addOwn(OwnRow row)
{
    if (!m_freeOwn.isEmpty()) {
        const quint32 index = m_freeOwn.takeLast();
        m_own[index] = std::move(row);
        return index | OwnFlag;
    }
    m_own.append(std::move(row));
    return quint32(m_own.size() - 1) | OwnFlag;
}

void FbiContent::releaseOwn(quint32 entry)
{
    const quint32 index = entry & ~OwnFlag;
    m_own[index] = OwnRow{};
    m_freeOwn.append(index);
}

qint64 FbiContent::originOf(quint32 entry) const
{
    return isOwn(entry) ? own(entry).origin : qint64(entry);
}

void FbiContent::setValue(qsizetype row, const QString &value)
{
    QByteArray bytes = toFileText(value);
    const quint32 entry = m_rows.at(row);
    if (isOwn(entry)) {
        m_own[entry & ~OwnFlag].value = std::move(bytes);
        return;
    }
    if (bytes == fileValue(entry))
        return;
    m_rows[row] = addOwn(OwnRow{fileName(entry).toByteArray(), std::move(bytes), qint64(entry)});
}

void FbiContent::insertRow(qsizetype at, const QString &name, const QString &value)
{
    m_rows.insert(at, addOwn(OwnRow{toFileText(name), toFileText(value), -1}));
}

void FbiContent::appendRow(const QString &name, const QString &value)
{
    insertRow(rowCount(), name, value);
}

FbiContent::TakenRow FbiContent::takeRow(qsizetype row)
{
    TakenRow taken;
    taken.m_entry = m_rows.takeAt(row);
    taken.m_origin = originOf(taken.m_entry);
    taken.m_file = m_file;
    if (taken.m_origin >= 0)
        m_taken.append(quint32(taken.m_origin));
    if (isOwn(taken.m_entry)) {
        taken.m_name = own(taken.m_entry).name;
        taken.m_value = own(taken.m_entry).value;
        releaseOwn(taken.m_entry);
    }
    return taken;
}

void FbiContent::restoreRow(qsizetype at, const TakenRow &row)
{
    // The taken row holds its file text, so the same buffer means the same file.
    const bool sameFile = row.m_origin >= 0 && row.m_file.constData() == m_file.constData();
    if (sameFile)
        m_taken.removeOne(quint32(row.m_origin));
    if (sameFile && !isOwn(row.m_entry)) {
        m_rows.insert(at, row.m_entry);
        return;
    }
    OwnRow restored;
    if (isOwn(row.m_entry)) {
        restored = OwnRow{row.m_name, row.m_value, row.m_origin};
    } else {
        const RowSpan span = spanIn(row.m_file, row.m_origin);
        restored = OwnRow{nameIn(row.m_file, row.m_origin).toByteArray(),
                          row.m_file.sliced(span.valueBegin, span.valueEnd - span.valueBegin), row.m_origin};
    }
    if (!sameFile)
        restored.origin = -1;
    m_rows.insert(at, addOwn(std::move(restored)));
}

qsizetype FbiContent::memoryUsage() const
{
    qsizetype bytes = m_file.capacity() + m_rows.capacity() * qsizetype(sizeof(quint32))
        + m_own.capacity() * qsizetype(sizeof(OwnRow)) + (m_freeOwn.capacity() + m_taken.capacity()) * qsizetype(sizeof(quint32))
        + m_preserved.capacity() * qsizetype(sizeof(QByteArray));
    for (const OwnRow &row : m_own)
        bytes += row.name.capacity() + row.value.capacity();
    for (const QByteArray &line : m_preserved)
        bytes += line.capacity();
    return bytes;
}
