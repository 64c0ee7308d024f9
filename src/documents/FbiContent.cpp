#include "documents/FbiContent.h"

#include <cstring>

QByteArray toFileText(QStringView text)
{
    return text.toLatin1();
}

QString fromFileText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.data(), bytes.size());
}

QByteArrayView FbiContent::nameBytes(qsizetype row) const
{
    const Span &span = m_rows.at(row);
    return QByteArrayView(m_text.constData() + span.name, span.nameLength);
}

QByteArrayView FbiContent::valueBytes(qsizetype row) const
{
    const Span &span = m_rows.at(row);
    return QByteArrayView(m_text.constData() + span.value, span.valueLength);
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

void FbiContent::reserve(qsizetype rows, qsizetype textBytes)
{
    m_rows.reserve(rows);
    if (textBytes > m_text.size())
        m_text.resize(textBytes);
}

quint32 FbiContent::store(QByteArrayView text)
{
    const qsizetype start = m_textSize;
    if (start + text.size() > m_text.size())
        m_text.resize(std::max(2 * m_text.size(), start + text.size()));
    if (!text.isEmpty())
        std::memcpy(m_text.data() + start, text.data(), size_t(text.size()));
    m_textSize += text.size();
    return quint32(start);
}

void FbiContent::appendFileRow(QByteArrayView name, QByteArrayView value)
{
    const quint32 nameStart = store(name);
    const quint32 valueStart = store(value);
    m_rows.append(Span{nameStart, quint32(name.size()), valueStart, quint32(value.size())});
}

void FbiContent::appendRow(const QString &name, const QString &value)
{
    appendFileRow(toFileText(name), toFileText(value));
}

// The old text stays in the buffer unused; edits are few next to the file's own text.
void FbiContent::setValue(qsizetype row, const QString &value)
{
    const QByteArray bytes = toFileText(value);
    Span &span = m_rows[row];
    span.value = store(bytes);
    span.valueLength = quint32(bytes.size());
}

void FbiContent::removeRow(qsizetype row)
{
    m_rows.removeAt(row);
}

void FbiContent::insertRow(qsizetype at, const QString &name, const QString &value)
{
    const QByteArray nameText = toFileText(name);
    const QByteArray valueText = toFileText(value);
    const quint32 nameStart = store(nameText);
    const quint32 valueStart = store(valueText);
    m_rows.insert(at, Span{nameStart, quint32(nameText.size()), valueStart, quint32(valueText.size())});
}

FbiContent::TakenRow FbiContent::takeRow(qsizetype row)
{
    TakenRow taken;
    taken.span = m_rows.takeAt(row);
    return taken;
}

void FbiContent::restoreRow(qsizetype at, const TakenRow &row)
{
    m_rows.insert(at, row.span);
}
