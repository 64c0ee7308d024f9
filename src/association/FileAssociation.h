#pragma once

#include "association/FileType.h"

#include <QString>

// The file type this program opens, as it registers it with the desktop.
namespace FileAssociation {
// ".fbi" files under the program's title, opened by this program, with its icon.
FileType fbiFiles();

// The command that opens one file with the program at programPath: both quoted, the program so
// that a path with blanks cannot start another program, by the rules Windows splits a command
// line with (a quote inside is escaped, and the backslashes before it).
QString openCommand(const QString &programPath);
// How the platform starts this program: on Windows the executable without ".exe" in its folder,
// elsewhere the executable itself.
QString programPath();
}
