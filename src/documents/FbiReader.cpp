#include "documents/FbiReader.h"

#include "documents/FileBytes.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {
// The most the reader can use of a file: the limits stop it within this many bytes.
constexpr qint64 MaxReadBytes = qint64(Fbi::MaxLinesWithoutClosingBrace) * (Fbi::MaxLineLength + 2);
// Text files hold no NUL bytes; UTF-16 text of Latin letters is half NUL bytes.
constexpr qsizetype FirstBlock = 4096;

QByteArrayView trimBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin);
}

bool isUnitHeader(QByteArrayView normalized)
{
    static constexpr QByteArrayView Header("[UNITINFO]");
    return normalized.size() == Header.size() && normalized.compare(Header, Qt::CaseInsensitive) == 0;
}

bool contains(QByteArrayView text, char c)
{
    return !text.isEmpty() && std::memchr(text.data(), c, size_t(text.size()));
}

ParsedLine::Kind classify(QByteArrayView normalized)
{
    if (normalized.isEmpty() || normalized == QByteArrayView("{") || isUnitHeader(normalized))
        return ParsedLine::Kind::Skip;
    if (normalized == QByteArrayView("}"))
        return ParsedLine::Kind::SectionEnd;
    return contains(normalized, '=') ? ParsedLine::Kind::Row : ParsedLine::Kind::Skip;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    const QByteArrayView block = bytes.first(std::min(bytes.size(), FirstBlock));
    return std::count(block.begin(), block.end(), '\0') * 4 < block.size() || block.isEmpty();
}

// The value of a row: after the first "=" and its tabs, to the first ";" or to the end of the
// line less its blanks, without the tabs at its end.
QByteArrayView valueOf(QByteArrayView line)
{
    const qsizetype equals = line.indexOf('=');
    qsizetype begin = equals + 1;
    while (begin < line.size() && line[begin] == '\t')
        ++begin;
    const qsizetype semicolon = line.indexOf(';', begin);
    qsizetype end = semicolon < 0 ? line.size() : semicolon;
    if (semicolon < 0) {
        while (end > begin && line[end - 1] == ' ')
            --end;
    }
    while (end > begin && line[end - 1] == '\t')
        --end;
    return line.sliced(begin, end - begin);
}

// What one pass over a line finds: where it ends (at a CR, an LF or the end of the text) and,
// before that, its first ";", "=" and tab.
struct LineScan
{
    qsizetype end;
    qsizetype semicolon = -1;
    qsizetype equals = -1;
    qsizetype tab = -1;
};

// Sixteen bytes at a time where the processor can: most lines of a unit file take two steps.
LineScan scanLine(const char *data, qsizetype from, qsizetype size)
{
    LineScan scan{size};
    qsizetype at = from;
#ifdef __SSE2__
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i semicolon = _mm_set1_epi8(';');
    const __m128i equals = _mm_set1_epi8('=');
    const __m128i tab = _mm_set1_epi8('\t');
    auto note = [&](qsizetype &found, __m128i bytes, __m128i c, unsigned before) {
        const unsigned hits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c))) & before;
        if (found < 0 && hits)
            found = at + std::countr_zero(hits);
    };
    for (; at + 16 <= size; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const unsigned ends = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, carriageReturn), _mm_cmpeq_epi8(bytes, lineFeed))));
        const unsigned before = ends ? (ends & (0u - ends)) - 1 : 0xFFFFu;
        note(scan.semicolon, bytes, semicolon, before);
        note(scan.equals, bytes, equals, before);
        note(scan.tab, bytes, tab, before);
        if (ends) {
            scan.end = at + std::countr_zero(ends);
            return scan;
        }
    }
#endif
    for (; at < size; ++at) {
        const char c = data[at];
        if (c == '\r' || c == '\n') {
            scan.end = at;
            break;
        }
        qsizetype &found = c == ';' ? scan.semicolon : c == '=' ? scan.equals : scan.tab;
        if (found < 0 && (c == ';' || c == '=' || c == '\t'))
            found = at;
    }
    return scan;
}

// Follows the braces of a nested section so that all of it, and only it, is kept verbatim.
class NestedSection
{
public:
    bool isOpen() const { return m_open; }
    // The braces of the section that the file has opened and not yet closed.
    int unclosedBraces() const { return m_open ? m_depth : 0; }

    void start(QByteArrayView normalizedHeader)
    {
        m_open = true;
        m_braceSeen = trimBlanks(normalizedHeader).endsWith('{');
        m_depth = m_braceSeen ? 1 : 0;
    }

    // Returns false when the line does not belong to the section: a closing brace before any
    // opening one closes the unit section, not this one.
    bool take(QByteArrayView normalized)
    {
        const QByteArrayView text = trimBlanks(normalized);
        // A section nested in this one may open its brace on its header line, as "[inner] {".
        if (text == QByteArrayView("{") || (text.endsWith('{') && Fbi::isNestedSectionHeader(text))) {
            ++m_depth;
            m_braceSeen = true;
        } else if (text == QByteArrayView("}")) {
            if (!m_braceSeen) {
                m_open = false;
                return false;
            }
            if (--m_depth == 0)
                m_open = false;
        }
        return true;
    }

private:
    bool m_open = false;
    bool m_braceSeen = false;
    int m_depth = 0;
};
}

QByteArrayView Fbi::normalizeLine(QByteArrayView line, QByteArray &scratch)
{
    // Cut first, then trim: the same text, but the work stops at the first ";" of a long line
    // that holds several rows between block comments.
    QByteArrayView text = line;
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    if (const void *semicolon = text.isEmpty() ? nullptr : std::memchr(text.data(), ';', size_t(text.size())))
        text.truncate(static_cast<const char *>(semicolon) - text.data());
    else
        text = trimBlanks(text);
    // Tabs at either end are the common case (indentation); dropping them is the same as removing
    // them, and only a tab inside the text needs a copy.
    while (!text.isEmpty() && text.front() == '\t')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == '\t')
        text.chop(1);
    if (!contains(text, '\t'))
        return text;
    scratch.clear();
    scratch.reserve(text.size());
    for (char c : text) {
        if (c != '\t')
            scratch.append(c);
    }
    return scratch;
}

bool Fbi::isNestedSectionHeader(QByteArrayView normalized)
{
    const QByteArrayView text = trimBlanks(normalized);
    if (!text.startsWith('['))
        return false;
    const qsizetype close = text.indexOf(']');
    if (close < 0)
        return false;
    const QByteArrayView rest = trimBlanks(text.sliced(close + 1));
    return rest.isEmpty() || rest == QByteArrayView("{");
}

ParsedLine ParseLine(QByteArrayView line, QByteArray &scratch)
{
    ParsedLine parsed;
    const QByteArrayView normalized = Fbi::normalizeLine(line, scratch);
    parsed.kind = classify(normalized);
    if (parsed.kind == ParsedLine::Kind::Row) {
        parsed.name = normalized.first(normalized.indexOf('='));
        parsed.value = valueOf(line);
    }
    return parsed;
}

// Reads a whole file's text into an FbiContent, whose rows then point into that text.
//
// A line is read in pieces: the text outside block comments, each piece as if it were a line of
// its own, and the comments. The unit section's rows become rows; nested sections and block
// comments go to the preserved lines, pieces of one line joined again.
class FbiScanner
{
public:
    FbiScanner(FbiReadResult &result, bool snippet)
        : m_result(result)
        , m_content(result.content)
        , m_data(result.content.m_file.constData())
        , m_unit(snippet ? Unit::Unknown : Unit::Before)
    {
    }

    static FbiReadResult scan(const QByteArray &bytes, bool snippet, bool whole);

private:
    void run();
    enum class Unit { Before, Inside, Unknown };
    enum class Next { Go, Stop };

    bool commonLine(qsizetype name, qsizetype first, const LineScan &scan);
    // The row table is filled through a pointer: a list's append costs more than the rest of a line.
    void addFileRow(quint32 entry)
    {
        if (m_rowCount == m_content.m_rows.size())
            growRows(2 * m_rowCount + 16);
        m_rowData[m_rowCount++] = entry;
    }
    void growRows(qsizetype size)
    {
        m_content.m_rows.resize(size);
        m_rowData = m_content.m_rows.data();
    }
    Next line(qsizetype begin, qsizetype end);
    Next piece(qsizetype begin, qsizetype end, qsizetype &opener);
    Next structuredPiece(qsizetype begin, qsizetype end, qsizetype blanksEnd, qsizetype &opener);
    void addRow(qsizetype begin, qsizetype end, QByteArrayView normalized);
    qsizetype openerAfterRow(qsizetype semicolon, qsizetype end) const;
    void preserve(qsizetype begin, qsizetype end);
    void flushPreserved();
    bool tooDeep() const { return m_nested.unclosedBraces() > Fbi::MaxNestingDepth; }

    FbiReadResult &m_result;
    FbiContent &m_content;
    const char *m_data;
    Unit m_unit;
    NestedSection m_nested;
    bool m_inComment = false;
    qsizetype m_commentSearch = 0; // where the "*/" of the open comment may start
    qsizetype m_lineBegin = 0;
    qsizetype m_lineTextEnd = 0;
    bool m_pending = false;        // a preserved span of the current line not yet stored
    qsizetype m_pendingBegin = 0;
    qsizetype m_pendingEnd = 0;
    QByteArray m_scratch;
    quint32 *m_rowData = nullptr;
    qsizetype m_rowCount = 0;
};

void FbiScanner::run()
{
    const QByteArray &file = m_content.m_file;
    const qsizetype size = file.size();
    if (!isText(file)) {
        m_result.error = FbiReadResult::Error::NotText;
        return;
    }
    // A UTF-8 byte-order mark is not part of the first line's text.
    qsizetype pos = file.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // Rows of a unit file run to twenty-odd bytes.
    growRows(std::min<qsizetype>(size / 24 + 16, Fbi::MaxLinesWithoutClosingBrace));

    int lineCount = 0;
    while (pos < size) {
        qsizetype name = pos;
        while (name < size && m_data[name] == ' ')
            ++name;
        while (name < size && m_data[name] == '\t')
            ++name;
        qsizetype first = name;
        while (first < size && isBlank(m_data[first]))
            ++first;
        const LineScan scan = scanLine(m_data, first, size);
        const qsizetype end = scan.end;
        if (end - pos > Fbi::MaxLineLength) {
            m_result.error = FbiReadResult::Error::LineTooLong;
            break;
        }
        // Lines the editor adds end as the file's first line does.
        if (lineCount++ == 0 && end < size)
            m_content.m_addedLineEnd = m_data[end] == '\n' ? "\n" : end + 1 < size && m_data[end + 1] == '\n' ? "\r\n" : "\r";
        if (!commonLine(name, first, scan) && line(pos, end) == Next::Stop)
            break;
        if (lineCount >= Fbi::MaxLinesWithoutClosingBrace) {
            m_result.error = FbiReadResult::Error::TooManyLines;
            break;
        }
        pos = end + 1;
        if (end + 1 < size && m_data[end] == '\r' && m_data[end + 1] == '\n')
            ++pos;
    }
    m_content.m_rows.resize(m_rowCount);
    if (m_content.m_rows.capacity() > m_rowCount + m_rowCount / 8 + 16)
        m_content.m_rows.squeeze();

    // A comment or nested section that the file leaves open is closed in the kept lines. Otherwise
    // a save in the standard layout would write the unit's closing brace inside it: read back,
    // that brace would not close the unit, and every further save would add another.
    if (m_inComment)
        m_content.m_preserved.append(QByteArrayLiteral("*/"));
    for (int depth = m_nested.unclosedBraces(); depth > 0; --depth)
        m_content.m_preserved.append(QByteArrayLiteral("\t}"));
}

FbiScanner::Next FbiScanner::line(qsizetype begin, qsizetype end)
{
    m_lineBegin = begin;
    m_lineTextEnd = end;
    qsizetype cursor = begin;
    Next next = Next::Go;
    for (;;) {
        if (m_inComment) {
            const QByteArrayView rest(m_data + std::max(cursor, m_commentSearch), m_data + end);
            const qsizetype close = rest.indexOf("*/");
            if (close < 0) {
                preserve(cursor, end);
                break;
            }
            const qsizetype closeEnd = rest.data() - m_data + close + 2;
            preserve(cursor, closeEnd);
            cursor = closeEnd;
            m_inComment = false;
        }
        qsizetype opener = -1;
        next = piece(cursor, end, opener);
        if (next == Next::Stop || opener < 0)
            break;
        m_inComment = true;
        m_commentSearch = opener + 2;
        cursor = opener;
    }
    flushPreserved();
    return next;
}

// The common line, a "name=value;" row or a line without structure, read at once; false for
// anything else. name is where the line's text starts after its blanks and then its tabs, first
// after all of them.
bool FbiScanner::commonLine(qsizetype name, qsizetype first, const LineScan &scan)
{
    if (m_inComment || m_nested.isOpen() || m_unit == Unit::Unknown)
        return false;
    if (first == scan.end)
        return true;
    const char c = m_data[first];
    if (c == '{' || c == '}' || c == '[' || (c == '/' && first + 1 < scan.end && m_data[first + 1] == '*'))
        return false;
    const qsizetype cut = scan.semicolon < 0 ? scan.end : scan.semicolon;
    if (scan.equals < 0 || scan.equals > cut)
        return true;
    // A tab inside the name, or a block comment after the row, needs a closer look.
    if (std::find(m_data + name, m_data + first, '\t') != m_data + first)
        return false;
    if (scan.tab >= 0 && scan.tab < scan.equals
        && !std::all_of(m_data + scan.tab, m_data + scan.equals, [](char c) { return c == '\t'; }))
        return false;
    if (scan.semicolon >= 0 && scan.semicolon + 1 < scan.end && openerAfterRow(scan.semicolon, scan.end) >= 0)
        return false;
    addFileRow(name);
    return true;
}

// A piece of text outside block comments, up to the line's end or to a block comment that opens
// in it, which opener is set to.
FbiScanner::Next FbiScanner::piece(qsizetype begin, qsizetype end, qsizetype &opener)
{
    qsizetype blanksEnd = begin;
    while (blanksEnd < end && m_data[blanksEnd] == ' ')
        ++blanksEnd;
    qsizetype first = blanksEnd;
    while (first < end && isBlank(m_data[first]))
        ++first;
    if (first + 1 < end && m_data[first] == '/' && m_data[first + 1] == '*') {
        opener = first;
        if (m_nested.isOpen())
            preserve(begin, first);
        return Next::Go;
    }
    if (first == end)
        return m_nested.isOpen() ? structuredPiece(begin, end, blanksEnd, opener) : Next::Go;
    const char c = m_data[first];
    if (m_nested.isOpen() || m_unit == Unit::Unknown || c == '{' || c == '}' || c == '[')
        return structuredPiece(begin, end, blanksEnd, opener);

    // The common line, "name=value;" behind some indentation: no structure to look for, no copy.
    const char *semicolon = static_cast<const char *>(std::memchr(m_data + blanksEnd, ';', size_t(end - blanksEnd)));
    const qsizetype cut = semicolon ? semicolon - m_data : end;
    if (!std::memchr(m_data + first, '=', size_t(cut - first)))
        return Next::Go;
    addRow(begin, end, {});
    if (semicolon)
        opener = openerAfterRow(cut, end);
    return Next::Go;
}

FbiScanner::Next FbiScanner::structuredPiece(qsizetype begin, qsizetype end, qsizetype blanksEnd, qsizetype &opener)
{
    const QByteArrayView text(m_data + begin, end - begin);
    const QByteArrayView normalized = Fbi::normalizeLine(text, m_scratch);
    const ParsedLine::Kind kind = classify(normalized);
    if (kind == ParsedLine::Kind::Row) {
        const void *semicolon = std::memchr(m_data + blanksEnd, ';', size_t(end - blanksEnd));
        if (semicolon)
            opener = openerAfterRow(static_cast<const char *>(semicolon) - m_data, end);
    }
    const qsizetype pieceEnd = opener < 0 ? end : opener;

    if (m_nested.isOpen() && m_nested.take(normalized)) {
        preserve(begin, pieceEnd);
        if (tooDeep()) {
            m_result.error = FbiReadResult::Error::TooDeep;
            return Next::Stop;
        }
        return Next::Go;
    }
    // Pasted text is read as if it stood inside a unit section, unless it has the unit's header or
    // opening brace before anything else that counts.
    if (m_unit == Unit::Unknown) {
        if (isUnitHeader(normalized))
            m_unit = Unit::Before;
        else if (kind != ParsedLine::Kind::Skip || Fbi::isNestedSectionHeader(normalized))
            m_unit = Unit::Inside;
    }
    if (m_unit == Unit::Inside && Fbi::isNestedSectionHeader(normalized)) {
        m_nested.start(normalized);
        preserve(begin, pieceEnd);
        return Next::Go;
    }
    switch (kind) {
    case ParsedLine::Kind::Row:
        addRow(begin, end, normalized);
        break;
    case ParsedLine::Kind::SectionEnd:
        m_result.sectionEnded = true;
        m_content.m_closeBraceLine = m_lineBegin;
        return Next::Stop;
    case ParsedLine::Kind::Skip:
        if (normalized == QByteArrayView("{") && m_unit != Unit::Inside) {
            m_unit = Unit::Inside;
            m_content.m_openBraceLineEnd = m_lineTextEnd;
        }
        break;
    }
    return Next::Go;
}

// A row whose name starts after the piece's leading blanks and tabs. Its entry is that offset when
// the text there reads back as the same name; a name with a tab inside gets text of its own.
void FbiScanner::addRow(qsizetype begin, qsizetype end, QByteArrayView normalized)
{
    qsizetype name = begin;
    while (m_data[name] == ' ')
        ++name;
    while (m_data[name] == '\t')
        ++name;
    const qsizetype equals = static_cast<const char *>(std::memchr(m_data + name, '=', size_t(end - name))) - m_data;
    const char *tab = static_cast<const char *>(std::memchr(m_data + name, '\t', size_t(equals - name)));
    bool plain = true;
    for (; tab && tab < m_data + equals; ++tab)
        plain = plain && *tab == '\t';
    if (plain) {
        addFileRow(name);
        return;
    }
    QByteArray scratch;
    if (normalized.isEmpty())
        normalized = Fbi::normalizeLine(QByteArrayView(m_data + begin, end - begin), scratch);
    FbiContent::OwnRow row;
    row.name = normalized.first(normalized.indexOf('=')).toByteArray();
    row.value = m_content.fileValue(name).toByteArray();
    row.origin = name;
    addFileRow(m_content.addOwn(std::move(row)));
}

// After a row's ";" (and any more of them, blanks and tabs), a "/*" opens a block comment; any
// other text there is a line comment, a "/*" in it included.
qsizetype FbiScanner::openerAfterRow(qsizetype semicolon, qsizetype end) const
{
    qsizetype at = semicolon + 1;
    while (at < end && (isBlank(m_data[at]) || m_data[at] == ';'))
        ++at;
    return at + 1 < end && m_data[at] == '/' && m_data[at + 1] == '*' ? at : -1;
}

// Spans of one line kept for the standard layout are joined again when only blanks part them.
void FbiScanner::preserve(qsizetype begin, qsizetype end)
{
    if (m_pending && std::all_of(m_data + m_pendingEnd, m_data + begin, isBlank)) {
        m_pendingEnd = end;
        return;
    }
    flushPreserved();
    m_pending = true;
    m_pendingBegin = begin;
    m_pendingEnd = end;
}

void FbiScanner::flushPreserved()
{
    if (!m_pending)
        return;
    m_content.m_preserved.append(QByteArray(m_data + m_pendingBegin, m_pendingEnd - m_pendingBegin));
    m_pending = false;
}

FbiReadResult FbiScanner::scan(const QByteArray &bytes, bool snippet, bool whole)
{
    FbiReadResult result;
    result.content.m_file = bytes;
    FbiScanner(result, snippet).run();
    result.content.m_hasFileText = whole && result.error == FbiReadResult::Error::None;
    return result;
}

FbiReadResult readFbi(const QByteArray &bytes)
{
    return FbiScanner::scan(bytes, false, true);
}

QList<FbiRow> parseRows(QByteArrayView text)
{
    return FbiScanner::scan(text.toByteArray(), true, false).content.rows();
}

FbiReadResult readFbiFile(const QString &path)
{
    const FileBytes file = readFileBytes(path, MaxReadBytes);
    if (file.error == FileBytes::Error::CannotOpen) {
        FbiReadResult failed;
        failed.error = FbiReadResult::Error::CannotOpen;
        return failed;
    }
    FbiReadResult result = FbiScanner::scan(file.bytes, false, file.whole);
    if (file.error == FileBytes::Error::ReadFailed && result.error == FbiReadResult::Error::None)
        result.error = FbiReadResult::Error::ReadFailed;
    result.stamp = file.stamp;
    return result;
}
