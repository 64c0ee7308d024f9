#include "mod/Csv.h"

#include "documents/Numbers.h"

namespace {
bool needsQuotes(QStringView field)
{
    for (const QChar c : field) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return !field.isEmpty() && (field.front().isSpace() || field.back().isSpace());
}

// A spreadsheet runs a field that starts like a formula; a unit file from elsewhere must not be able
// to make it do so. A quote in front keeps such text as text; numbers stay numbers. A field that
// starts with a quote gets one more, so that reading back takes off exactly the one added.
QString guardedField(const QString &field)
{
    static const QString GuardedStarts = QStringLiteral("=+-@\t\r'");
    if (!field.isEmpty() && GuardedStarts.contains(field.front()) && !plainNumber(field))
        return QLatin1Char('\'') + field;
    return field;
}

void appendField(QString &line, const QString &text)
{
    const QString field = guardedField(text);
    if (!needsQuotes(field)) {
        line += field;
        return;
    }
    line += QLatin1Char('"');
    line += QString(field).replace(QLatin1Char('"'), QLatin1String("\"\""));
    line += QLatin1Char('"');
}
}

QByteArray csvText(const QList<QStringList> &rows, bool byteOrderMark)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype index = 0; index < row.size(); ++index) {
            if (index > 0)
                text += QLatin1Char(',');
            appendField(text, row[index]);
        }
        text += QLatin1String("\r\n");
    }
    return (byteOrderMark ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
}

WriteOutcome writeCsvFile(const QString &path, const QList<QStringList> &rows, bool byteOrderMark)
{
    return writeFileSafely(path, csvText(rows, byteOrderMark));
}
