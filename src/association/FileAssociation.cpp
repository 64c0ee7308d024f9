#include "association/FileAssociation.h"

#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString quoted(const QString &argument)
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
}

FileType FileAssociation::fbiFiles()
{
    return FileType{Settings::ProgramTitle, QStringLiteral("fbi"), QStringLiteral("FBI File"), programPath(),
                    ProgramFolder::file(QStringLiteral("Korvid.ico"))};
}

QString FileAssociation::openCommand(const QString &programPath)
{
    return quoted(programPath) + QStringLiteral(" \"%1\"");
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
