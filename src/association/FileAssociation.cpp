#include "association/FileAssociation.h"

#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

FileType FileAssociation::fbiFiles()
{
    return FileType{Settings::ProgramTitle, QStringLiteral("fbi"), QStringLiteral("FBI File"), programPath(),
                    ProgramFolder::file(QStringLiteral("Korvid.ico"))};
}

QString FileAssociation::openCommand(const QString &programPath)
{
    return QLatin1Char('"') + programPath + QStringLiteral("\" \"%1\"");
}

QString FileAssociation::programPath()
{
#if defined(Q_OS_WIN)
    return ProgramFolder::join(ProgramFolder::path(),
                               QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
#else
    // An extension here is part of the file's name: without it the name would not start anything.
    return ProgramFolder::join(ProgramFolder::path(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
#endif
}
