#include "settings/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramFolder::path()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::join(const QString &folder, const QString &fileName)
{
    return folder + QDir::separator() + fileName;
}

QString ProgramFolder::file(const QString &fileName)
{
    return join(path(), fileName);
}
