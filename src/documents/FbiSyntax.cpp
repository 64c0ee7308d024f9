#include "documents/FbiSyntax.h"

#include <cstring>

namespace {
QByteArrayView trimSpaces(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin);
}

bool contains(QByteArrayView text, char c)
{
    return !text.isEmpty() && std::memchr(text.data(), c, size_t(text.size()));
}
}

Fbi::RowSpan Fbi::rowSpan(QByteArrayView text, qsizetype nameStart)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    RowSpan span{};
    span.equals = static_cast<const char *>(std::memchr(data + nameStart, '=', size_t(size - nameStart))) - data;
    span.nameEnd = span.equals;
    while (span.nameEnd > nameStart && data[span.nameEnd - 1] == '\t')
        --span.nameEnd;
    qsizetype begin = span.equals + 1;
    while (begin < size && data[begin] == '\t')
        ++begin;
    qsizetype end = begin;
    while (end < size && data[end] != ';' && data[end] != '\n' && data[end] != '\r')
        ++end;
    span.semicolon = end < size && data[end] == ';';
    span.end = span.semicolon ? end + 1 : end;
    if (!span.semicolon) {
        while (end > begin && data[end - 1] == ' ')
            --end;
    }
    while (end > begin && data[end - 1] == '\t')
        --end;
    span.valueBegin = begin;
    span.valueEnd = end;
    return span;
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
        text = trimSpaces(text);
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

bool Fbi::isSectionHeader(QByteArrayView normalized)
{
    const QByteArrayView text = trimSpaces(normalized);
    if (!text.startsWith('['))
        return false;
    const qsizetype close = text.indexOf(']');
    if (close < 0)
        return false;
    // The engines skip a "//" comment after the header, as after any text: "[CLASS1] // tanks".
    QByteArrayView rest = trimSpaces(text.sliced(close + 1));
    if (rest.startsWith('{'))
        rest = trimSpaces(rest.sliced(1));
    return rest.isEmpty() || rest.startsWith("//");
}

bool Fbi::isUnitHeader(QByteArrayView normalized)
{
    static constexpr QByteArrayView Header("[UNITINFO]");
    return normalized.size() == Header.size() && normalized.compare(Header, Qt::CaseInsensitive) == 0;
}

QByteArrayView Fbi::sectionName(QByteArrayView normalizedHeader)
{
    const QByteArrayView text = trimSpaces(normalizedHeader);
    const qsizetype close = text.indexOf(']');
    return close < 1 ? QByteArrayView() : text.sliced(1, close - 1);
}
