#pragma once

#include <QString>

class Dialogs;
class QWidget;

namespace FolderPicker {
// A folder picked by the user, starting in start, ending in one separator; empty when the user cancels.
QString browseDirectory(Dialogs &dialogs, QWidget &owner, const QString &start);

// A chosen folder as the options keep it: ending in exactly one separator. A folder that already
// ends in one, such as a root, stays as it is; no folder stays empty.
QString directoryPath(const QString &folder);
}
