#include "options/BrowseFolder.h"

#include <QDir>

QString BrowseFolder::directoryPath(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}
