#include "mod/CsvReader.h"

#include <QStringDecoder>

namespace {
QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), bytes.size()) : text;
}

// The separator the first line uses most, outside quotes.
QChar separatorOf(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

// The quote an export puts before a field that a spreadsheet would run as a formula, or that starts
// with a quote itself.
QString unguarded(const QString &field)
{
    return field.startsWith(QLatin1Char('\'')) ? field.mid(1) : field;
}
}

CsvTable readCsv(QByteArrayView bytes)
{
    CsvTable table;
    const QString text = decode(bytes);
    const QChar separator = separatorOf(text);
    QStringList row;
    QString field;
    bool quoted = false;      // inside a quoted field
    bool rowStarted = false;
    auto endField = [&] {
        row.append(unguarded(field));
        field.clear();
    };
    auto endRow = [&] {
        endField();
        table.rows.append(row);
        row.clear();
        rowStarted = false;
    };
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (quoted) {
            if (c == QLatin1Char('"') && at + 1 < text.size() && text[at + 1] == QLatin1Char('"')) {
                field += c;
                ++at;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
            rowStarted = true;
        } else if (c == separator) {
            endField();
            rowStarted = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && at + 1 < text.size() && text[at + 1] == QLatin1Char('\n'))
                ++at;
            endRow();
        } else {
            field += c;
            rowStarted = true;
        }
    }
    if (quoted)
        table.error = QStringLiteral("A quoted field is not closed.");
    if (rowStarted || !field.isEmpty())
        endRow();
    return table;
}
