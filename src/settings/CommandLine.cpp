#include "settings/CommandLine.h"

#include <QFileInfo>

#include <algorithm>

QStringList CommandLine::filesToOpen(const QStringList &arguments)
{
    const QStringList given = arguments.mid(1);
    if (given.size() > 1 && std::all_of(given.cbegin(), given.cend(), [](const QString &argument) {
            return QFileInfo(argument).isFile();
        }))
        return given;
    QString text = given.join(QLatin1Char(' '));
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text.isEmpty() ? QStringList() : QStringList{text};
}
