#include "documents/FbiReader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// The most the reader can use of a file: the limits stop it within this many bytes.
constexpr qint64 MaxReadBytes = qint64(Fbi::MaxLinesWithoutClosingBrace) * (Fbi::MaxLineLength + 2);
// Text files hold no NUL bytes; UTF-16 text of Latin letters is half NUL bytes.
constexpr qsizetype FirstBlock = 4096;

using Fbi::isBlank;

bool isText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    const QByteArrayView block = bytes.first(std::min(bytes.size(), FirstBlock));
    return std::count(block.begin(), block.end(), '\0') * 4 < block.size() || block.isEmpty();
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

bool contains(QByteArrayView text, char c)
{
    return !text.isEmpty() && std::memchr(text.data(), c, size_t(text.size()));
}

// What a line's text means apart from sections: a row, a brace, or nothing.
enum class LineKind { Nothing, Row, OpenBrace, CloseBrace };

LineKind classify(QByteArrayView normalized)
{
    if (normalized == QByteArrayView("{"))
        return LineKind::OpenBrace;
    if (normalized == QByteArrayView("}"))
        return LineKind::CloseBrace;
    if (normalized.isEmpty() || Fbi::isUnitHeader(normalized))
        return LineKind::Nothing;
    return contains(normalized, '=') ? LineKind::Row : LineKind::Nothing;
}
}

// Reads a whole file's text into an FbiContent, whose rows then point into that text.
//
// A line is read in pieces: the text outside block comments, each piece as if it were a line of
// its own, and the comments. Rows become rows; a section's header becomes a header row, and the
// rows up to its closing brace stand one level deeper; block comments go to the preserved lines,
// pieces of one line joined again.
class FbiScanner
{
public:
    // Snippet: text to paste, which may or may not hold the unit's header and braces; only the
    // rows of the unit's own section count.
    enum class Mode { Unit, Definitions, Snippet };

    FbiScanner(FbiReadResult &result, Mode mode)
        : m_result(result)
        , m_content(result.content)
        , m_data(result.content.m_file.constData())
        , m_mode(mode)
        , m_unit(mode == Mode::Snippet ? Unit::Unknown : Unit::Before)
    {
        m_content.m_kind = mode == Mode::Definitions ? FbiKind::Definitions : FbiKind::Unit;
    }

    static FbiReadResult scan(const QByteArray &bytes, Mode mode, bool whole);

private:
    void run();
    // Where the reading stands towards the unit's own braces.
    enum class Unit { Before, Inside, Unknown };
    enum class Next { Go, Stop };
    // A section that has been opened and not yet closed.
    struct Open
    {
        qsizetype header;   // its header row
        int braces;         // its "{" not yet closed; 0 until its first
    };

    bool commonLine(qsizetype name, qsizetype first, const LineScan &scan);
    // Rows are only where the reading takes them: a snippet's rows within the unit's own section.
    bool takesRows() const { return m_mode != Mode::Snippet || (m_unit != Unit::Unknown && m_open.empty()); }
    int depthNow() const { return int(m_open.size()); }
    // The row table is filled through a pointer: a list's append costs more than the rest of a line.
    void addFileRow(quint32 entry)
    {
        if (m_rowCount == m_content.m_rows.size())
            growRows(2 * m_rowCount + 16);
        m_rowData[m_rowCount] = entry;
        if (m_depthData)
            m_depthData[m_rowCount] = quint16(depthNow());
        ++m_rowCount;
    }
    void growRows(qsizetype size)
    {
        m_content.m_rows.resize(size);
        m_rowData = m_content.m_rows.data();
        if (!m_content.m_depth.isEmpty() || m_depthData) {
            m_content.m_depth.resize(size);
            m_depthData = m_content.m_depth.data();
        }
    }
    Next line(qsizetype begin, qsizetype end);
    Next piece(qsizetype begin, qsizetype end, qsizetype &opener);
    Next structuredPiece(qsizetype begin, qsizetype end, qsizetype blanksEnd, qsizetype &opener);
    void addRow(qsizetype begin, qsizetype end, QByteArrayView normalized);
    void openSection(qsizetype begin, QByteArrayView normalized);
    void openBrace();
    Next closeBrace();
    qsizetype openerAfterRow(qsizetype semicolon, qsizetype end) const;
    void preserve(qsizetype begin, qsizetype end);
    void flushPreserved();
    FbiContent::Section &sectionOf(const Open &open)
    {
        const quint32 entry = m_content.m_rows.at(open.header);
        return m_content.m_sections[m_content.own(entry).section];
    }

    FbiReadResult &m_result;
    FbiContent &m_content;
    const char *m_data;
    Mode m_mode;
    Unit m_unit;
    std::vector<Open> m_open;
    int m_unclosedBraces = 0;   // of the open sections
    int m_looseBraces = 0;      // braces of a file of definitions that open no section
    bool m_inComment = false;
    qsizetype m_commentSearch = 0; // where the "*/" of the open comment may start
    qsizetype m_lineBegin = 0;
    qsizetype m_lineTextEnd = 0;
    bool m_pending = false;        // a preserved span of the current line not yet stored
    qsizetype m_pendingBegin = 0;
    qsizetype m_pendingEnd = 0;
    QByteArray m_scratch;
    quint32 *m_rowData = nullptr;
    quint16 *m_depthData = nullptr;
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
    m_content.m_fileLines = lineCount;
    m_content.m_rows.resize(m_rowCount);
    if (m_depthData)
        m_content.m_depth.resize(m_rowCount);
    if (m_content.m_rows.capacity() > m_rowCount + m_rowCount / 8 + 16) {
        m_content.m_rows.squeeze();
        m_content.m_depth.squeeze();
    }
    // A comment that the file leaves open is closed in the kept lines. Otherwise a save in the
    // standard layout would write the unit's closing brace inside it.
    if (m_inComment)
        m_content.m_preserved.append(QByteArrayLiteral("*/"));
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
    if (m_inComment || !takesRows())
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
    addFileRow(quint32(name));
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
        return Next::Go;
    }
    if (first == end)
        return Next::Go;
    const char c = m_data[first];
    if (!takesRows() || c == '{' || c == '}' || c == '[')
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
    const LineKind kind = classify(normalized);
    if (kind == LineKind::Row) {
        if (const void *semicolon = std::memchr(m_data + blanksEnd, ';', size_t(end - blanksEnd)))
            opener = openerAfterRow(static_cast<const char *>(semicolon) - m_data, end);
    }
    const bool header = Fbi::isSectionHeader(normalized);
    // Pasted text is read as if it stood inside a unit section, unless it has the unit's header or
    // opening brace before anything else that counts.
    if (m_unit == Unit::Unknown) {
        if (Fbi::isUnitHeader(normalized))
            m_unit = Unit::Before;
        else if (kind == LineKind::Row || kind == LineKind::CloseBrace || header)
            m_unit = Unit::Inside;
    }
    if (header && (m_mode == Mode::Definitions || m_unit == Unit::Inside)) {
        openSection(blanksEnd, normalized);
        return m_result.error == FbiReadResult::Error::None ? Next::Go : Next::Stop;
    }
    switch (kind) {
    case LineKind::Row:
        if (takesRows())
            addRow(begin, end, normalized);
        break;
    case LineKind::OpenBrace:
        openBrace();
        return m_result.error == FbiReadResult::Error::None ? Next::Go : Next::Stop;
    case LineKind::CloseBrace:
        return closeBrace();
    case LineKind::Nothing:
        break;
    }
    return Next::Go;
}

// A section's header: a header row one level deeper than the rows around it, and the rows up to
// its closing brace one level deeper again. A header whose section never had a "{" stood for an
// empty section, which the next header closes.
void FbiScanner::openSection(qsizetype begin, QByteArrayView normalized)
{
    if (!m_open.empty() && m_open.back().braces == 0)
        m_open.pop_back();
    Open open{-1, 0};
    if (m_mode != Mode::Snippet) {
        if (!m_depthData) {
            m_content.m_depth.resize(m_content.m_rows.size());
            m_depthData = m_content.m_depth.data();
        }
        qsizetype origin = begin;
        while (origin < m_lineTextEnd && isBlank(m_data[origin]))
            ++origin;
        const qint32 section = qint32(m_content.m_sections.size());
        m_content.m_sections.append(FbiContent::Section{});
        open.header = m_rowCount;
        addFileRow(m_content.addOwn(FbiContent::OwnRow{Fbi::sectionName(normalized).toByteArray(), {}, origin, section}));
    }
    m_open.push_back(open);
    if (normalized.trimmed().endsWith('{'))
        openBrace();
    if (m_open.size() > size_t(Fbi::MaxNestingDepth))
        m_result.error = FbiReadResult::Error::TooDeep;
}

void FbiScanner::openBrace()
{
    if (!m_open.empty()) {
        Open &top = m_open.back();
        if (top.braces == 0 && top.header >= 0)
            sectionOf(top).openLineEnd = m_lineTextEnd;
        ++top.braces;
        if (++m_unclosedBraces > Fbi::MaxNestingDepth)
            m_result.error = FbiReadResult::Error::TooDeep;
        return;
    }
    if (m_mode == Mode::Definitions) {
        ++m_looseBraces;
        return;
    }
    if (m_unit != Unit::Inside) {
        m_unit = Unit::Inside;
        m_content.m_openBraceLineEnd = m_lineTextEnd;
    }
}

// A closing brace closes the innermost open section; a section that never had a "{" is closed
// first and the brace goes on outwards. Outside every section it ends the unit, and the reading.
FbiScanner::Next FbiScanner::closeBrace()
{
    while (!m_open.empty()) {
        Open &top = m_open.back();
        if (top.braces == 0) {
            m_open.pop_back();
            continue;
        }
        --m_unclosedBraces;
        if (--top.braces == 0) {
            if (top.header >= 0) {
                FbiContent::Section &section = sectionOf(top);
                section.closeLine = m_lineBegin;
                section.closeLineEnd = m_lineTextEnd;
            }
            m_open.pop_back();
        }
        return Next::Go;
    }
    if (m_mode == Mode::Definitions) {
        m_looseBraces = std::max(0, m_looseBraces - 1);
        return Next::Go;
    }
    m_result.sectionEnded = true;
    m_content.m_closeBraceLine = m_lineBegin;
    return Next::Stop;
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
        addFileRow(quint32(name));
        return;
    }
    QByteArray scratch;
    if (normalized.isEmpty())
        normalized = Fbi::normalizeLine(QByteArrayView(m_data + begin, end - begin), scratch);
    const Fbi::RowSpan span = Fbi::rowSpan(m_content.m_file, name);
    FbiContent::OwnRow row;
    row.name = normalized.first(normalized.indexOf('=')).toByteArray();
    row.value = QByteArray(m_data + span.valueBegin, span.valueEnd - span.valueBegin);
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

FbiReadResult FbiScanner::scan(const QByteArray &bytes, Mode mode, bool whole)
{
    FbiReadResult result;
    result.content.m_file = bytes;
    FbiScanner(result, mode).run();
    result.content.m_hasFileText = whole && result.error == FbiReadResult::Error::None;
    return result;
}

FbiReadResult readFbi(const QByteArray &bytes, FbiKind kind)
{
    return FbiScanner::scan(bytes, kind == FbiKind::Definitions ? FbiScanner::Mode::Definitions : FbiScanner::Mode::Unit, true);
}

FbiKind kindOfPath(const QString &path)
{
    return path.endsWith(QLatin1String(".tdf"), Qt::CaseInsensitive) ? FbiKind::Definitions : FbiKind::Unit;
}

QList<FbiRow> parseRows(QByteArrayView text, FbiReadResult::Error *error)
{
    const FbiReadResult read = FbiScanner::scan(text.toByteArray(), FbiScanner::Mode::Snippet, false);
    if (error)
        *error = read.error;
    return read.error == FbiReadResult::Error::None ? read.content.rows() : QList<FbiRow>();
}

QString readErrorText(FbiReadResult::Error error)
{
    switch (error) {
    case FbiReadResult::Error::CannotOpen:
        return QStringLiteral("cannot be opened");
    case FbiReadResult::Error::ReadFailed:
        return QStringLiteral("cannot be read to its end");
    case FbiReadResult::Error::LineTooLong:
        return QStringLiteral("has a line longer than %1 characters").arg(Fbi::MaxLineLength);
    case FbiReadResult::Error::TooManyLines:
        return QStringLiteral("has more than %1 lines before the end of its unit").arg(Fbi::MaxLinesWithoutClosingBrace);
    case FbiReadResult::Error::TooDeep:
        return QStringLiteral("nests sections more than %1 deep").arg(Fbi::MaxNestingDepth);
    case FbiReadResult::Error::NotText:
        return QStringLiteral("is not a text file");
    case FbiReadResult::Error::None:
        break;
    }
    return {};
}

FbiReadResult readFbiFile(const QString &path)
{
    FbiReadResult failed;
    failed.error = FbiReadResult::Error::CannotOpen;
    if (path.isEmpty())
        return failed;
#ifdef Q_OS_UNIX
    // Open, fstat, one read, close. Only regular files: a folder cannot be read, and a pipe or a
    // device could block or never end (O_NONBLOCK keeps the open of a pipe from waiting).
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed;
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return failed;
    }
    QByteArray bytes(qsizetype(std::min<qint64>(status.st_size, MaxReadBytes)), Qt::Uninitialized);
    qsizetype done = 0;
    bool readError = false;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        readError = got < 0;
        if (got <= 0)
            break;
        done += qsizetype(got);
    }
    ::close(fd);
    bytes.truncate(done);
    const bool whole = !readError && done == status.st_size;
#else
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return failed;
    const QByteArray bytes = file.read(MaxReadBytes);
    const bool readError = file.error() != QFileDevice::NoError;
    const bool whole = !readError && bytes.size() == file.size();
#endif
    FbiReadResult result = FbiScanner::scan(
        bytes, kindOfPath(path) == FbiKind::Definitions ? FbiScanner::Mode::Definitions : FbiScanner::Mode::Unit, whole);
    if (readError && result.error == FbiReadResult::Error::None)
        result.error = FbiReadResult::Error::ReadFailed;
    if (whole) {
#ifdef Q_OS_UNIX
        result.stamp = FileStamp::ofBytes(status, bytes);
#else
        result.stamp = FileStamp::ofBytes(path, bytes);
#endif
    }
    return result;
}
