#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {
// The unit files to open at start, from the arguments after the program's name. When there are
// several and each names an existing file, each is one file ("korvid4 units/*.fbi"). Otherwise the
// arguments joined with single blanks are one path, with one enclosing pair of double quotes
// removed, so "korvid4 my unit.fbi" opens "my unit.fbi". Empty when there are no arguments.
QStringList filesToOpen(const QStringList &arguments);
}
