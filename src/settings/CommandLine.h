#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {
// The path of the unit file to open at start: the arguments after the program's name joined with
// single blanks, with one enclosing pair of double quotes removed. Empty when there are none.
QString fileArgument(const QStringList &arguments);
}
