#include "association/WindowsCommandLine.h"

QString WindowsCommandLine::quote(const QString &argument)
{
    QString result(QLatin1Char('"'));
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each stands for half of what is written.
        const qsizetype written = c == QLatin1Char('"') ? backslashes * 2 + 1 : backslashes;
        result.append(QString(written, QLatin1Char('\\')));
        result.append(c);
        backslashes = 0;
    }
    result.append(QString(backslashes * 2, QLatin1Char('\\')));
    result.append(QLatin1Char('"'));
    return result;
}

QStringList WindowsCommandLine::split(const QString &commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    qsizetype backslashes = 0;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            inArgument = true;
            continue;
        }
        if (c == QLatin1Char('"')) {
            current.append(QString(backslashes / 2, QLatin1Char('\\')));
            if (backslashes % 2)
                current.append(c);
            else
                quoted = !quoted;
            backslashes = 0;
            inArgument = true;
            continue;
        }
        current.append(QString(backslashes, QLatin1Char('\\')));
        backslashes = 0;
        if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
            continue;
        }
        current.append(c);
        inArgument = true;
    }
    current.append(QString(backslashes, QLatin1Char('\\')));
    if (inArgument)
        arguments.append(current);
    return arguments;
}
