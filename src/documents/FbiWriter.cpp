#include "documents/FbiWriter.h"

#include "documents/FbiReader.h"
#include "documents/SafeWrite.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

    void reserveMore(qsizetype bytes)
    {
        if (m_size + bytes > m_text.size())
            m_text.resize(std::max(2 * m_text.size(), m_size + bytes));
    }
    void put(QByteArrayView bytes)
    {
        if (!bytes.isEmpty())
            std::memcpy(m_text.data() + m_size, bytes.data(), size_t(bytes.size()));
        m_size += bytes.size();
    }
    void put(char c) { m_text.data()[m_size++] = c; }
    QByteArray take()
    {
        m_text.truncate(m_size);
        return std::move(m_text);
    }

private:
    QByteArray m_text;
    qsizetype m_size = 0;
};

QByteArray writeStandard(const FbiContent &content)
{
    static constexpr QByteArrayView Header("[UNITINFO]\r\n\t{\r\n");
    static constexpr QByteArrayView Footer("\t}\r\n");
    static constexpr QByteArrayView LineEnd("\r\n");
    TextBuffer text(Header.size() + 32 * content.rowCount() + Footer.size());
    text.put(Header);
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        const auto [name, value] = content.rowBytes(row);
        text.reserveMore(name.size() + value.size() + 5);
        text.put('\t');
        text.put(name);
        text.put('=');
        text.put(value);
        text.put(';');
        text.put(LineEnd);
    }
    for (const QByteArray &line : content.preserved()) {
        text.reserveMore(line.size() + LineEnd.size());
        text.put(line);
        text.put(LineEnd);
    }
    text.reserveMore(Footer.size());
    text.put(Footer);
    return text.take();
}
}

// Writes the file's text with the rows' changes made in it. The rows that keep their line are those
// in file order; a row taken out, or put back out of that order, leaves its line, and a row that
// has none comes on a new line after the row before it.
class FbiKeptWriter
{
public:
    explicit FbiKeptWriter(const FbiContent &content)
        : m_content(content)
        , m_file(content.m_file)
        , m_textBegin(m_file.startsWith("\xEF\xBB\xBF") ? 3 : 0)
    {
    }

    // Empty when the changes cannot be placed in the text.
    std::optional<QByteArray> write();

private:
    struct Edit
    {
        qint64 begin;
        qint64 end;
        QByteArray text;
    };

    qint64 lineBegin(qint64 at) const;
    qint64 lineTextEnd(qint64 at) const;
    qint64 nextLine(qint64 textEnd) const;
    QByteArrayView indentation(qint64 lineStart) const;
    QByteArray rowText(qsizetype row) const;
    void leaveOut(qint64 origin);
    void addRows(qint64 anchor, qint64 firstKept, const QList<qsizetype> &rows);
    bool readsBack(const QByteArray &text) const;

    const FbiContent &m_content;
    QByteArrayView m_file;
    qint64 m_textBegin; // after a UTF-8 byte-order mark, which stays
    QList<Edit> m_edits;
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

QByteArrayView FbiKeptWriter::indentation(qint64 lineStart) const
{
    qint64 end = lineStart;
    while (end < m_file.size() && (m_file[end] == ' ' || m_file[end] == '\t'))
        ++end;
    return m_file.sliced(lineStart, end - lineStart);
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
    const FbiContent::RowSpan span = FbiContent::spanIn(m_file, origin);
    const qint64 begin = lineBegin(origin);
    const qint64 textEnd = lineTextEnd(origin);
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    qint64 after = span.end;
    while (after < textEnd && (isBlank(m_file[after]) || m_file[after] == ';'))
        ++after;
    const bool commentFollows = after + 1 < textEnd && m_file[after] == '/' && m_file[after + 1] == '*';
    const QByteArrayView before = m_file.sliced(begin, origin - begin);
    if (std::all_of(before.begin(), before.end(), isBlank) && !commentFollows)
        m_edits.append(Edit{begin, nextLine(textEnd), {}});
    else
        m_edits.append(Edit{origin, span.end, {}});
}

// Rows without a line of their own: after the line of the row they follow (anchor), or before the
// line of the first row that keeps its line, or, in a file with no such row, after the unit's
// "{" line, before its "}" line or at the end.
void FbiKeptWriter::addRows(qint64 anchor, qint64 firstKept, const QList<qsizetype> &rows)
{
    const QByteArrayView lineEnd = m_content.m_addedLineEnd;
    QByteArray text;
    if (anchor >= 0 || (firstKept < 0 && m_content.m_openBraceLineEnd >= 0)) {
        // After a line: each new row starts with a line end, so a missing final one stays missing.
        const qint64 at = anchor >= 0 ? lineTextEnd(anchor) : m_content.m_openBraceLineEnd;
        const QByteArray indent = anchor >= 0 ? indentation(lineBegin(anchor)).toByteArray() : QByteArray("\t");
        for (qsizetype row : rows)
            text += lineEnd.toByteArray() + indent + rowText(row);
        m_edits.append(Edit{at, at, text});
        return;
    }
    qint64 at = firstKept >= 0 ? lineBegin(firstKept) : m_content.m_closeBraceLine;
    const QByteArray indent = firstKept >= 0 ? indentation(at).toByteArray() : QByteArray("\t");
    if (at < 0) {
        at = m_file.size();
        if (at > m_textBegin && m_file.back() != '\n' && m_file.back() != '\r')
            text += lineEnd;
    }
    for (qsizetype row : rows)
        text += indent + rowText(row) + lineEnd.toByteArray();
    m_edits.append(Edit{at, at, text});
}

std::optional<QByteArray> FbiKeptWriter::write()
{
    QList<qint64> kept; // the origins of the rows that keep their line, in file order
    QList<qint64> leftOut(m_content.m_taken.begin(), m_content.m_taken.end());
    QList<qsizetype> waiting; // rows without a line, after the last kept row
    qint64 anchor = -1;
    for (qsizetype row = 0; row < m_content.rowCount(); ++row) {
        const quint32 entry = m_content.m_rows.at(row);
        const qint64 origin = m_content.originOf(entry);
        if (origin < 0 || (!kept.isEmpty() && origin <= kept.last())) {
            if (origin >= 0)
                leftOut.append(origin);
            waiting.append(row);
            continue;
        }
        if (!waiting.isEmpty()) {
            addRows(anchor, origin, waiting);
            waiting.clear();
        }
        kept.append(origin);
        anchor = origin;
        if (FbiContent::isOwn(entry)) {
            const FbiContent::RowSpan span = FbiContent::spanIn(m_file, origin);
            const QByteArrayView value = m_content.valueBytes(row);
            if (value != m_file.sliced(span.valueBegin, span.valueEnd - span.valueBegin))
                m_edits.append(Edit{span.valueBegin, span.valueEnd, value.toByteArray()});
        }
    }
    if (!waiting.isEmpty())
        addRows(anchor, -1, waiting);
    std::sort(leftOut.begin(), leftOut.end());
    leftOut.erase(std::unique(leftOut.begin(), leftOut.end()), leftOut.end());
    for (qint64 origin : leftOut) {
        if (!std::binary_search(kept.begin(), kept.end(), origin))
            leaveOut(origin);
    }
    if (m_edits.isEmpty())
        return m_content.m_file;

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
            return std::nullopt;
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
    if (!readsBack(text))
        return std::nullopt;
    return text;
}

// Whatever the edits met in the text, the result must read back as the content's rows.
bool FbiKeptWriter::readsBack(const QByteArray &text) const
{
    const FbiReadResult read = readFbi(text);
    if (read.error != FbiReadResult::Error::None || read.content.rowCount() != m_content.rowCount())
        return false;
    for (qsizetype row = 0; row < m_content.rowCount(); ++row) {
        if (read.content.rowBytes(row) != m_content.rowBytes(row))
            return false;
    }
    return true;
}

QByteArray writeFbi(const FbiContent &content, FbiLayout layout)
{
    if (layout == FbiLayout::Kept && content.hasFileText()) {
        if (const std::optional<QByteArray> text = FbiKeptWriter(content).write())
            return *text;
    }
    return writeStandard(content);
}

FbiWriteResult writeFbiFile(const QString &path, const FbiContent &content, FbiLayout layout)
{
    const QByteArray text = writeFbi(content, layout);
    const WriteOutcome outcome = writeFileSafely(path, text);
    FbiWriteResult result{outcome.ok, outcome.reason, {}};
    if (outcome.ok)
        result.stamp = FileStamp::ofBytes(path, text);
    return result;
}
