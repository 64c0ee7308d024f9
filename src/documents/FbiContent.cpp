#include "documents/FbiContent.h"

#include <algorithm>
#include <cstring>

QByteArray toFileText(QStringView text)
{
    return text.toLatin1();
}

QString fromFileText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.data(), bytes.size());
}

namespace {
// A row of the file text, its name starting at offset: the name without its tabs at the end, the
// value as the reader reads it.
std::pair<QByteArrayView, QByteArrayView> rowIn(QByteArrayView file, qint64 offset)
{
    const Fbi::RowSpan span = Fbi::rowSpan(file, offset);
    const char *data = file.data();
    return {QByteArrayView(data + offset, span.nameEnd - offset), QByteArrayView(data + span.valueBegin, span.valueEnd - span.valueBegin)};
}
}

bool FbiContent::isSection(qsizetype row) const
{
    const quint32 entry = m_rows.at(row);
    return isOwn(entry) && own(entry).section >= 0;
}

qsizetype FbiContent::sectionOf(qsizetype row) const
{
    const int level = depth(row);
    if (level == 0)
        return -1;
    for (qsizetype before = row - 1; before >= 0; --before) {
        if (depth(before) < level)
            return isSection(before) ? before : -1;
    }
    return -1;
}

qsizetype FbiContent::sectionEnd(qsizetype header) const
{
    const int level = depth(header);
    qsizetype row = header + 1;
    while (row < rowCount() && depth(row) > level)
        ++row;
    return row;
}

int FbiContent::depthAt(qsizetype at) const
{
    if (at <= 0)
        return 0;
    return depth(at - 1) + (isSection(at - 1) ? 1 : 0);
}

QByteArrayView FbiContent::nameBytes(qsizetype row) const
{
    return rowBytes(row).first;
}

QByteArrayView FbiContent::valueBytes(qsizetype row) const
{
    return rowBytes(row).second;
}

std::pair<QByteArrayView, QByteArrayView> FbiContent::rowBytes(qsizetype row) const
{
    const quint32 entry = m_rows.at(row);
    if (isOwn(entry))
        return {own(entry).name, own(entry).value};
    return rowIn(m_file, entry);
}

QString FbiContent::name(qsizetype row) const
{
    return fromFileText(nameBytes(row));
}

QString FbiContent::value(qsizetype row) const
{
    return fromFileText(valueBytes(row));
}

FbiRow FbiContent::row(qsizetype row) const
{
    const auto [name, value] = rowBytes(row);
    return FbiRow{fromFileText(name), fromFileText(value), isSection(row), depth(row)};
}

QList<FbiRow> FbiContent::rows() const
{
    QList<FbiRow> result;
    result.reserve(rowCount());
    for (qsizetype index = 0; index < rowCount(); ++index)
        result.append(row(index));
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

void FbiContent::keepDepths()
{
    if (m_depth.isEmpty())
        m_depth.resize(m_rows.size(), 0);
}

void FbiContent::setDepth(qsizetype row, int depth)
{
    if (depth == 0 && m_depth.isEmpty())
        return;
    keepDepths();
    m_depth[row] = quint16(depth);
}

void FbiContent::setValue(qsizetype row, const QString &value)
{
    if (isSection(row))
        return;
    QByteArray bytes = toFileText(value);
    const quint32 entry = m_rows.at(row);
    if (isOwn(entry)) {
        m_own[entry & ~OwnFlag].value = std::move(bytes);
        return;
    }
    const auto [name, old] = rowIn(m_file, entry);
    if (bytes == old)
        return;
    m_rows[row] = addOwn(OwnRow{name.toByteArray(), std::move(bytes), qint64(entry)});
}

void FbiContent::insertRows(qsizetype at, const QList<FbiRow> &rows, int depth)
{
    if (rows.isEmpty())
        return;
    m_rows.insert(at, rows.size(), 0);
    if (depth > 0)
        keepDepths();
    if (!m_depth.isEmpty())
        m_depth.insert(at, rows.size(), quint16(depth));
    for (qsizetype index = 0; index < rows.size(); ++index)
        m_rows[at + index] = addOwn(OwnRow{toFileText(rows[index].name), toFileText(rows[index].value), -1});
}

QList<FbiContent::TakenRow> FbiContent::takeRows(const QList<qsizetype> &rows)
{
    QList<TakenRow> taken;
    taken.reserve(rows.size());
    qsizetype kept = 0;
    qsizetype next = 0;
    for (qsizetype row = 0; row < rowCount(); ++row) {
        const bool take = next < rows.size() && rows[next] == row && !isSection(row);
        if (next < rows.size() && rows[next] == row)
            ++next;
        if (!take) {
            m_rows[kept] = m_rows[row];
            if (!m_depth.isEmpty())
                m_depth[kept] = m_depth[row];
            ++kept;
            continue;
        }
        TakenRow &out = taken.emplace_back();
        out.m_entry = m_rows[row];
        out.m_depth = quint16(depth(row));
        out.m_origin = originOf(out.m_entry);
        out.m_file = m_file;
        if (out.m_origin >= 0)
            m_taken.append(quint32(out.m_origin));
        if (isOwn(out.m_entry)) {
            out.m_name = own(out.m_entry).name;
            out.m_value = own(out.m_entry).value;
            releaseOwn(out.m_entry);
        }
    }
    m_rows.resize(kept);
    if (!m_depth.isEmpty())
        m_depth.resize(kept);
    return taken;
}

void FbiContent::restoreRows(const QList<qsizetype> &rows, const QList<TakenRow> &taken)
{
    const qsizetype count = std::min(rows.size(), taken.size());
    if (count == 0)
        return;
    // Each taken row goes to its place; the rows that stayed fill the places between, in order.
    const qsizetype total = rowCount() + count;
    QList<quint32> entries(total);
    QList<quint16> depths;
    const bool anyDeep = std::any_of(taken.begin(), taken.begin() + count, [](const TakenRow &row) { return row.m_depth > 0; });
    if (anyDeep)
        keepDepths();
    if (!m_depth.isEmpty())
        depths.resize(total);
    qsizetype next = 0;
    qsizetype stayed = 0;
    for (qsizetype at = 0; at < total; ++at) {
        if (next < count && rows[next] == at) {
            const TakenRow &row = taken[next++];
            // The taken row holds its file text, so the same buffer means the same file.
            const bool sameFile = row.m_origin >= 0 && row.m_file.constData() == m_file.constData();
            if (sameFile)
                m_taken.removeOne(quint32(row.m_origin));
            if (sameFile && !isOwn(row.m_entry)) {
                entries[at] = row.m_entry;
            } else {
                OwnRow restored;
                if (isOwn(row.m_entry)) {
                    restored = OwnRow{row.m_name, row.m_value, row.m_origin};
                } else {
                    const auto [name, value] = rowIn(row.m_file, row.m_origin);
                    restored = OwnRow{name.toByteArray(), value.toByteArray(), row.m_origin};
                }
                if (!sameFile)
                    restored.origin = -1;
                entries[at] = addOwn(std::move(restored));
            }
            if (!depths.isEmpty())
                depths[at] = row.m_depth;
        } else {
            entries[at] = m_rows.at(stayed);
            if (!depths.isEmpty())
                depths[at] = m_depth.at(stayed);
            ++stayed;
        }
    }
    m_rows = std::move(entries);
    if (!depths.isEmpty())
        m_depth = std::move(depths);
}

bool FbiContent::endsWithSemicolon(qsizetype row) const
{
    const quint32 entry = m_rows.at(row);
    const qint64 origin = originOf(entry);
    if (origin < 0 || isSection(row))
        return true;
    // A ";" before the end of the row's line: two quick searches over a short line.
    const char *begin = m_file.constData() + origin;
    const size_t rest = size_t(m_file.size() - origin);
    const char *lineFeed = static_cast<const char *>(std::memchr(begin, '\n', rest));
    const size_t line = lineFeed ? size_t(lineFeed - begin) : rest;
    const char *semicolon = static_cast<const char *>(std::memchr(begin, ';', line));
    const char *carriageReturn = static_cast<const char *>(std::memchr(begin, '\r', semicolon ? size_t(semicolon - begin) : line));
    return semicolon && !carriageReturn;
}

QList<qsizetype> FbiContent::lineNumbers() const
{
    QList<qsizetype> lines(rowCount(), 0);
    QList<std::pair<qint64, qsizetype>> origins; // where each row of the file stands, and the row
    origins.reserve(rowCount());
    for (qsizetype row = 0; row < rowCount(); ++row) {
        if (const qint64 origin = originOf(m_rows.at(row)); origin >= 0)
            origins.append({origin, row});
    }
    std::sort(origins.begin(), origins.end());
    // A line ends at CR LF, at CR or at LF.
    const char *data = m_file.constData();
    qint64 at = 0;
    qsizetype line = 1;
    for (const auto &[origin, row] : std::as_const(origins)) {
        for (; at < origin; ++at) {
            if (data[at] == '\n' || (data[at] == '\r' && (at + 1 >= m_file.size() || data[at + 1] != '\n')))
                ++line;
        }
        lines[row] = line;
    }
    return lines;
}

qsizetype FbiContent::lineLength(QByteArrayView name, QByteArrayView value, int depth)
{
    return depth + 1 + name.size() + 1 + value.size() + 1;
}

qsizetype FbiContent::linesNeeded() const
{
    qsizetype added = 0;
    for (const quint32 entry : m_rows) {
        if (isOwn(entry) && own(entry).origin < 0)
            ++added;
    }
    const qsizetype sections = m_sections.size();
    const qsizetype standard = rowCount() + 2 * sections + m_preserved.size() + (m_kind == FbiKind::Unit ? 3 : 0);
    return m_hasFileText ? std::max(standard, m_fileLines + added) : standard;
}

qsizetype FbiContent::memoryUsage() const
{
    qsizetype bytes = m_file.capacity() + m_rows.capacity() * qsizetype(sizeof(quint32))
        + m_depth.capacity() * qsizetype(sizeof(quint16)) + m_own.capacity() * qsizetype(sizeof(OwnRow))
        + (m_freeOwn.capacity() + m_taken.capacity()) * qsizetype(sizeof(quint32))
        + m_sections.capacity() * qsizetype(sizeof(Section)) + m_preserved.capacity() * qsizetype(sizeof(QByteArray));
    for (const OwnRow &row : m_own)
        bytes += row.name.capacity() + row.value.capacity();
    for (const QByteArray &line : m_preserved)
        bytes += line.capacity();
    return bytes;
}
