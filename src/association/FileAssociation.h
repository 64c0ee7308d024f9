#pragma once

#include "association/FileType.h"

#include <QString>

// The file type this program opens, as it registers it with the desktop.
namespace FileAssociation {
// ".fbi" files under the program's title, opened by this program, with its icon.
FileType fbiFiles();

// The Windows command that opens one file with the program at programPath: both quoted, the
// program so that a path with blanks cannot start another program. Windows takes the program's
// path up to the next quote, and no file name holds one.
QString openCommand(const QString &programPath);
// How the platform starts this program: on Windows the executable without ".exe" in its folder,
// elsewhere the executable itself.
QString programPath();
}
