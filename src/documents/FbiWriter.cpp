#include "documents/FbiWriter.h"

#include "documents/FbiReader.h"
#include "documents/SafeWrite.h"

#include <algorithm>
#include <cstring>

namespace {
// Fills a buffer through a pointer, growing it as needed: appending piece by piece to a QByteArray
// costs more than finding the rows.
class TextBuffer
{
public:
    explicit TextBuffer(qsizetype expected)
        : m_text(expected, Qt::Uninitialized)
    {
    }

    void put(QByteArrayView bytes)
    {
        reserveMore(bytes.size());
        if (!bytes.isEmpty())
            std::memcpy(m_text.data() + m_size, bytes.data(), size_t(bytes.size()));
        m_size += bytes.size();
    }
    void put(char c)
    {
        reserveMore(1);
        m_text.data()[m_size++] = c;
    }
    void tabs(int count)
    {
        for (int tab = 0; tab < count; ++tab)
            put('\t');
    }
    QByteArray take()
    {
        m_text.truncate(m_size);
        return std::move(m_text);
    }

private:
    void reserveMore(qsizetype bytes)
    {
        if (m_size + bytes > m_text.size())
            m_text.resize(std::max(2 * m_text.size(), m_size + bytes));
    }

    QByteArray m_text;
    qsizetype m_size = 0;
};

constexpr QByteArrayView LineEnd("\r\n");

// The rows in the order the standard layout writes them: in each section, its variables first and
// then its sections, each followed by its own rows so ordered.
void appendStandardOrder(const FbiContent &content, qsizetype begin, qsizetype end, QList<qsizetype> &order)
{
    if (begin >= end)
        return;
    const int level = content.depth(begin);
    for (qsizetype row = begin; row < end; ++row) {
        if (content.depth(row) == level && !content.isSection(row))
            order.append(row);
    }
    for (qsizetype row = begin; row < end; ++row) {
        if (content.depth(row) != level || !content.isSection(row))
            continue;
        order.append(row);
        appendStandardOrder(content, row + 1, std::min(content.sectionEnd(row), end), order);
    }
}

QList<qsizetype> standardOrder(const FbiContent &content)
{
    QList<qsizetype> order;
    order.reserve(content.rowCount());
    appendStandardOrder(content, 0, content.rowCount(), order);
    return order;
}

QByteArray writeStandard(const FbiContent &content, const QList<qsizetype> &order)
{
    const bool unit = content.kind() == FbiKind::Unit;
    // A unit's rows stand inside its own braces, one level in.
    const int indent = unit ? 1 : 0;
    TextBuffer text(32 * content.rowCount() + 64);
    if (unit)
        text.put("[UNITINFO]\r\n\t{\r\n");
    QList<int> open; // the levels of the sections written and not yet closed
    auto closeTo = [&](int level) {
        while (!open.isEmpty() && open.constLast() >= level) {
            text.tabs(open.takeLast() + indent + 1);
            text.put("}\r\n");
        }
    };
    for (const qsizetype row : order) {
        const int level = content.depth(row);
        closeTo(content.isSection(row) ? level : level);
        const auto [name, value] = content.rowBytes(row);
        text.tabs(level + indent);
        if (content.isSection(row)) {
            text.put('[');
            text.put(name);
            text.put(']');
            text.put(LineEnd);
            text.tabs(level + indent + 1);
            text.put('{');
            text.put(LineEnd);
            open.append(level);
            continue;
        }
        text.put(name);
        text.put('=');
        text.put(value);
        text.put(';');
        text.put(LineEnd);
    }
    closeTo(0);
    for (const QByteArray &line : content.preserved()) {
        text.put(line);
        text.put(LineEnd);
    }
    if (unit)
        text.put("\t}\r\n");
    return text.take();
}

// Whatever the writer met in the text, the result must read back as the content's rows, in order.
bool readsBack(const QByteArray &text, const FbiContent &content, const QList<qsizetype> *order, FbiContent *readBack = nullptr)
{
    FbiReadResult read = readFbi(text, content.kind());
    if (read.error != FbiReadResult::Error::None || read.content.rowCount() != content.rowCount())
        return false;
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        const qsizetype wanted = order ? order->at(row) : row;
        if (read.content.rowBytes(row) != content.rowBytes(wanted) || read.content.isSection(row) != content.isSection(wanted)
            || read.content.depth(row) != content.depth(wanted))
            return false;
    }
    if (readBack)
        *readBack = std::move(read.content);
    return true;
}

QString limitsReason()
{
    return QStringLiteral("The file would have a line longer than %1 characters or more than %2 lines, which the "
                          "reader does not open.")
        .arg(Fbi::MaxLineLength)
        .arg(Fbi::MaxLinesWithoutClosingBrace);
}
}

// Writes the file's text with the rows' changes made in it. The rows that keep their line are those
// in file order; a row taken out, or put back out of that order, leaves its line, and a row that
// has none comes on a new line after the row before it in its section.
class FbiKeptWriter
{
public:
    explicit FbiKeptWriter(const FbiContent &content)
        : m_content(content)
        , m_file(content.m_file)
        , m_textBegin(m_file.startsWith("\xEF\xBB\xBF") ? 3 : 0)
    {
    }

    FbiText write();

private:
    struct Edit
    {
        qint64 begin;
        qint64 end;
        QByteArray text;
    };
    // Where a row without a line of its own goes: after the line that ends at a place (each row
    // then starts with a line end) or before the line that starts there (each row ends with one).
    struct Place
    {
        qint64 at = -1;
        bool afterLine = true;
        QByteArray indent;
    };

    qint64 lineBegin(qint64 at) const;
    qint64 lineTextEnd(qint64 at) const;
    qint64 nextLine(qint64 textEnd) const;
    QByteArray indentation(qint64 lineStart) const;
    QByteArray rowText(qsizetype row) const;
    void leaveOut(qint64 origin);
    bool place(qsizetype row, Place &place) const;
    Place outermostPlace() const;
    void addRows(const Place &place, const QList<qsizetype> &rows);
    FbiText fail(const QString &reason) const { return FbiText{{}, false, FbiLayout::Kept, reason, {}}; }

    const FbiContent &m_content;
    QByteArrayView m_file;
    qint64 m_textBegin; // after a UTF-8 byte-order mark, which stays
    QList<Edit> m_edits;
    QList<qint64> m_keptOrigin; // by row: where a row that keeps its line stands, else -1
    QList<Place> m_placed;      // by row: where a row without a line of its own went
};

qint64 FbiKeptWriter::lineBegin(qint64 at) const
{
    while (at > m_textBegin && m_file[at - 1] != '\n' && m_file[at - 1] != '\r')
        --at;
    return at;
}

qint64 FbiKeptWriter::lineTextEnd(qint64 at) const
{
    while (at < m_file.size() && m_file[at] != '\n' && m_file[at] != '\r')
        ++at;
    return at;
}

qint64 FbiKeptWriter::nextLine(qint64 textEnd) const
{
    if (textEnd < m_file.size() && m_file[textEnd] == '\r' && textEnd + 1 < m_file.size() && m_file[textEnd + 1] == '\n')
        return textEnd + 2;
    return std::min<qint64>(textEnd + 1, m_file.size());
}

QByteArray FbiKeptWriter::indentation(qint64 lineStart) const
{
    qint64 end = lineStart;
    while (end < m_file.size() && Fbi::isBlank(m_file[end]))
        ++end;
    return m_file.sliced(lineStart, end - lineStart).toByteArray();
}

QByteArray FbiKeptWriter::rowText(qsizetype row) const
{
    const auto [name, value] = m_content.rowBytes(row);
    QByteArray text;
    text.reserve(name.size() + value.size() + 2);
    text.append(name).append('=').append(value).append(';');
    return text;
}

// A row alone on its line takes the line with it, line end included; a row that shares its line
// with a block comment, after the comment's end or before its start, takes only its own text, so
// the comment stays whole.
void FbiKeptWriter::leaveOut(qint64 origin)
{
    const Fbi::RowSpan span = Fbi::rowSpan(m_file, origin);
    const qint64 begin = lineBegin(origin);
    const qint64 textEnd = lineTextEnd(origin);
    qint64 after = span.end;
    while (after < textEnd && (Fbi::isBlank(m_file[after]) || m_file[after] == ';'))
        ++after;
    const bool commentFollows = after + 1 < textEnd && m_file[after] == '/' && m_file[after + 1] == '*';
    const QByteArrayView before = m_file.sliced(begin, origin - begin);
    if (std::all_of(before.begin(), before.end(), Fbi::isBlank) && !commentFollows)
        m_edits.append(Edit{begin, nextLine(textEnd), {}});
    else
        m_edits.append(Edit{origin, span.end, {}});
}

// Outside every section of a unit: after the unit's "{" line, or before the line of the first row
// that keeps its line, or before the unit's "}" line, or at the end.
FbiKeptWriter::Place FbiKeptWriter::outermostPlace() const
{
    if (m_content.m_openBraceLineEnd >= 0)
        return Place{m_content.m_openBraceLineEnd, true, "\t"};
    for (qsizetype row = 0; row < m_content.rowCount(); ++row) {
        if (m_keptOrigin[row] >= 0) {
            const qint64 at = lineBegin(m_keptOrigin[row]);
            return Place{at, false, indentation(at)};
        }
    }
    if (m_content.m_closeBraceLine >= 0)
        return Place{m_content.m_closeBraceLine, false, "\t"};
    return Place{m_file.size(), false, {}};
}

// A row without a line goes after the nearest row before it that is no deeper: after that row's
// line when it is a variable beside it, after the closing brace of a section beside it, or after
// the "{" of its own section.
bool FbiKeptWriter::place(qsizetype row, Place &where) const
{
    const int level = m_content.depth(row);
    qsizetype before = row - 1;
    while (before >= 0 && m_content.depth(before) > level)
        --before;
    if (before < 0) {
        if (level > 0)
            return false;
        where = outermostPlace();
        return where.at >= 0;
    }
    if (m_keptOrigin[before] < 0) {
        // A row without a line itself: this one goes after it.
        where = m_placed[before];
        return where.at >= 0;
    }
    const qint64 origin = m_keptOrigin[before];
    if (!m_content.isSection(before)) {
        where = Place{lineTextEnd(origin), true, indentation(lineBegin(origin))};
        return true;
    }
    const FbiContent::Section &section = m_content.m_sections[m_content.own(m_content.m_rows[before]).section];
    const QByteArray headerIndent = indentation(lineBegin(origin));
    if (m_content.depth(before) == level) {
        where = Place{section.closeLineEnd, true, headerIndent};
        return section.closeLineEnd >= 0;
    }
    where = Place{section.openLineEnd, true, headerIndent + '\t'};
    return section.openLineEnd >= 0;
}

void FbiKeptWriter::addRows(const Place &where, const QList<qsizetype> &rows)
{
    const QByteArray lineEnd = m_content.m_addedLineEnd.toByteArray();
    QByteArray text;
    qint64 at = where.at;
    if (!where.afterLine && at == m_file.size() && at > m_textBegin && m_file.back() != '\n' && m_file.back() != '\r')
        text += lineEnd;
    for (qsizetype row : rows)
        text += where.afterLine ? lineEnd + where.indent + rowText(row) : where.indent + rowText(row) + lineEnd;
    m_edits.append(Edit{at, at, text});
}

FbiText FbiKeptWriter::write()
{
    const qsizetype rowCount = m_content.rowCount();
    m_keptOrigin.fill(-1, rowCount);
    m_placed.resize(rowCount);
    QList<qint64> leftOut(m_content.m_taken.begin(), m_content.m_taken.end());
    qint64 last = -1; // the origin of the last row that keeps its line
    for (qsizetype row = 0; row < rowCount; ++row) {
        const qint64 origin = m_content.originOf(m_content.m_rows.at(row));
        if (origin >= 0 && origin > last) {
            m_keptOrigin[row] = origin;
            last = origin;
        } else if (origin >= 0) {
            if (m_content.isSection(row))
                return fail(QStringLiteral("A section stands out of the order of the file."));
            leftOut.append(origin);
        }
    }
    QList<qint64> kept;
    for (qsizetype row = 0; row < rowCount; ++row) {
        if (m_keptOrigin[row] >= 0) {
            kept.append(m_keptOrigin[row]);
            const quint32 entry = m_content.m_rows.at(row);
            if (FbiContent::isOwn(entry) && !m_content.isSection(row)) {
                const Fbi::RowSpan span = Fbi::rowSpan(m_file, m_keptOrigin[row]);
                const QByteArrayView value = m_content.valueBytes(row);
                if (value != m_file.sliced(span.valueBegin, span.valueEnd - span.valueBegin))
                    m_edits.append(Edit{span.valueBegin, span.valueEnd, value.toByteArray()});
            }
            continue;
        }
        // A run of rows without lines, at one depth, goes to one place.
        qsizetype end = row + 1;
        while (end < rowCount && m_keptOrigin[end] < 0 && m_content.depth(end) == m_content.depth(row))
            ++end;
        Place where;
        if (!place(row, where))
            return fail(QStringLiteral("A new row has no place in the file's own text: its section has no braces there."));
        QList<qsizetype> run;
        for (qsizetype added = row; added < end; ++added) {
            run.append(added);
            m_placed[added] = where;
        }
        addRows(where, run);
        row = end - 1;
    }
    std::sort(leftOut.begin(), leftOut.end());
    leftOut.erase(std::unique(leftOut.begin(), leftOut.end()), leftOut.end());
    std::sort(kept.begin(), kept.end());
    for (qint64 origin : leftOut) {
        if (!std::binary_search(kept.begin(), kept.end(), origin))
            leaveOut(origin);
    }
    if (m_edits.isEmpty())
        return FbiText{m_content.m_file, true, FbiLayout::Kept, {}, {}};

    // Edits at the same place keep the order they were made in: a value before the rows after it.
    std::stable_sort(m_edits.begin(), m_edits.end(), [](const Edit &a, const Edit &b) { return a.begin < b.begin; });
    qsizetype size = m_file.size();
    for (const Edit &edit : m_edits)
        size += edit.text.size() - (edit.end - edit.begin);
    QByteArray text;
    text.reserve(size);
    qint64 copied = 0;
    for (const Edit &edit : m_edits) {
        if (edit.begin < copied)
            return fail(QStringLiteral("Two changes meet in one place of the file's own text."));
        text.append(m_file.sliced(copied, edit.begin - copied));
        text.append(edit.text);
        copied = edit.end;
    }
    text.append(m_file.sliced(copied));
    // A file without a final line end keeps it missing when its last line is left out.
    const bool hadFinalLineEnd = m_file.endsWith('\n') || m_file.endsWith('\r');
    if (!hadFinalLineEnd && m_file.size() > m_textBegin) {
        if (text.endsWith("\r\n"))
            text.chop(2);
        else if (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
    }
    FbiContent readBack;
    if (!readsBack(text, m_content, nullptr, &readBack)) {
        return fail(QStringLiteral("In the file's own text the changes would not read back as they stand: a new row "
                                   "would fall into a comment or outside its section, or a line would grow past the "
                                   "reader's limits."));
    }
    return FbiText{text, true, FbiLayout::Kept, {}, std::move(readBack)};
}

FbiText writeFbi(const FbiContent &content, FbiLayout layout)
{
    if (layout == FbiLayout::Kept && content.hasFileText())
        return FbiKeptWriter(content).write();
    const QList<qsizetype> order = standardOrder(content);
    FbiText written{writeStandard(content, order), true, FbiLayout::Standard, {}, {}};
    if (!readsBack(written.text, content, &order)) {
        written.ok = false;
        written.reason = limitsReason();
        written.text.clear();
    }
    return written;
}

FbiWriteResult writeFbiFile(const QString &path, const FbiContent &content, FbiLayout layout)
{
    const FbiText text = writeFbi(content, layout);
    FbiWriteResult result;
    result.layout = text.layout;
    if (!text.ok) {
        result.failure = FbiWriteResult::Failure::Layout;
        result.reason = text.reason;
        return result;
    }
    const WriteOutcome outcome = writeFileSafely(path, text.text);
    result.ok = outcome.ok;
    result.reason = outcome.reason;
    if (!outcome.ok) {
        result.failure = FbiWriteResult::Failure::Disk;
        return result;
    }
    result.stamp = FileStamp::ofBytes(path, text.text);
    if (text.layout == FbiLayout::Kept && text.readBack.hasFileText())
        result.written = text.readBack;
    return result;
}
