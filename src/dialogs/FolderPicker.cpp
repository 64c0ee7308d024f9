#include "dialogs/FolderPicker.h"

#include "platform/Dialogs.h"

#include <QDir>

QString FolderPicker::browseDirectory(Dialogs &dialogs, QWidget &owner, const QString &start)
{
    const std::optional<QString> folder = dialogs.folderDialog(&owner, QStringLiteral("Choose a directory from the list."), start);
    return folder ? directoryPath(*folder) : QString();
}

QString FolderPicker::directoryPath(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}
