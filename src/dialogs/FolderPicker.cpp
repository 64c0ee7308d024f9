#include "dialogs/FolderPicker.h"

#include <QDir>

QString FolderPicker::directoryPath(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}
