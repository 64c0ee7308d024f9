#include "documents/FbiReader.h"

#include "documents/LineReader.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {
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
}

QByteArrayView Fbi::normalizeLine(QByteArrayView line, QByteArray &scratch)
{
    QByteArrayView text = trimBlanks(line);
    if (const void *semicolon = text.isEmpty() ? nullptr : std::memchr(text.data(), ';', size_t(text.size())))
        text.truncate(static_cast<const char *>(semicolon) - text.data());
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

namespace {
ParsedLine classify(QByteArrayView normalized)
{
    ParsedLine parsed;
    if (normalized.isEmpty() || normalized == QByteArrayView("{") || isUnitHeader(normalized))
        return parsed;
    if (normalized == QByteArrayView("}")) {
        parsed.kind = ParsedLine::Kind::SectionEnd;
        return parsed;
    }
    const qsizetype equals = normalized.indexOf('=');
    if (equals < 0)
        return parsed;
    parsed.kind = ParsedLine::Kind::Row;
    parsed.name = normalized.first(equals);
    parsed.value = normalized.sliced(equals + 1);
    return parsed;
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

ParsedLine ParseLine(QByteArrayView line, QByteArray &scratch)
{
    return classify(Fbi::normalizeLine(line, scratch));
}

FbiReadResult readFbi(QIODevice &device)
{
    FbiReadResult result;
    // Rows of a unit file run to twenty-odd bytes: room for them all, and their text, in one go.
    if (const qint64 size = device.size(); size > 0 && !device.isSequential())
        result.content.reserve(qsizetype(std::min<qint64>(size / 20, Fbi::MaxLinesWithoutClosingBrace)),
                               qsizetype(std::min<qint64>(size, qint64(64) << 20)));
    LineReader reader(device, Fbi::MaxLineLength);
    QByteArray scratch;
    NestedSection nested;
    bool insideUnit = false;
    int lineCount = 0;

    QByteArrayView line;
    for (;;) {
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::Status::End)
            break;
        if (status == LineReader::Status::TooLong) {
            result.error = FbiReadResult::Error::LineTooLong;
            break;
        }
        if (status == LineReader::Status::ReadError) {
            result.error = FbiReadResult::Error::ReadFailed;
            break;
        }
        ++lineCount;

        const QByteArrayView normalized = Fbi::normalizeLine(line, scratch);
        if (nested.isOpen() && nested.take(normalized)) {
            result.content.preserved.append(line.toByteArray());
        } else if (insideUnit && Fbi::isNestedSectionHeader(normalized)) {
            nested.start(normalized);
            result.content.preserved.append(line.toByteArray());
        } else {
            const ParsedLine parsed = classify(normalized);
            if (parsed.kind == ParsedLine::Kind::Row) {
                result.content.appendFileRow(parsed.name, parsed.value);
            } else if (parsed.kind == ParsedLine::Kind::SectionEnd) {
                result.sectionEnded = true;
                break;
            } else if (normalized == QByteArrayView("{")) {
                insideUnit = true;
            }
        }

        if (lineCount >= Fbi::MaxLinesWithoutClosingBrace) {
            result.error = FbiReadResult::Error::TooManyLines;
            break;
        }
    }
    // A nested section that the file leaves open is closed in the kept text. Otherwise a save would
    // write the unit's closing brace inside it: read back, that brace closes the nested section, the
    // unit is never closed, and every further save adds another brace.
    for (int depth = nested.unclosedBraces(); depth > 0; --depth)
        result.content.preserved.append(QByteArray(depth, '\t') + '}');
    return result;
}

FbiReadResult readFbiFile(const QString &path)
{
    FbiReadResult result;
    // Only regular files: a folder cannot be read, and a pipe or device could block or never end.
    const QFileInfo info(path);
    QFile file(path);
    if (path.isEmpty() || !info.isFile() || !file.open(QIODevice::ReadOnly)) {
        result.error = FbiReadResult::Error::CannotOpen;
        return result;
    }
    return readFbi(file);
}

QList<FbiRow> parseRows(QByteArrayView text)
{
    QList<FbiRow> rows;
    QByteArray scratch;
    const QList<QByteArray> lines = text.toByteArray().replace('\r', '\n').split('\n');
    for (const QByteArray &line : lines) {
        const ParsedLine parsed = ParseLine(line, scratch);
        if (parsed.kind == ParsedLine::Kind::Row)
            rows.append(FbiRow{fromFileText(parsed.name), fromFileText(parsed.value)});
    }
    return rows;
}
