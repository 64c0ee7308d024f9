#include "startup/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramFolder::path()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::join(const QString &folder, const QString &fileName)
{
    const QChar separator = QDir::separator();
    if (folder.endsWith(separator) || folder.endsWith(QLatin1Char('/')))
        return folder + fileName;
    return folder + separator + fileName;
}

QString ProgramFolder::file(const QString &fileName)
{
    return join(path(), fileName);
}
