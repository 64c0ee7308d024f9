#pragma once

#include <QString>

namespace FolderPicker {
// A chosen folder as the options keep it: ending in exactly one separator. A folder that already
// ends in one, such as a root, stays as it is; no folder stays empty.
QString directoryPath(const QString &folder);
}
