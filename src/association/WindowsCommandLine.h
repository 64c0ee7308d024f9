#pragma once

#include <QString>
#include <QStringList>

// Command lines as Windows writes them into the registry and splits them when it starts a program
// (the rules of CommandLineToArgvW), so a command survives any path the program may live in.
namespace WindowsCommandLine {
// The argument in double quotes; quotes inside it, and backslashes before them, escaped.
QString quote(const QString &argument);
// The arguments of a command line: blanks and tabs separate them outside double quotes.
QStringList split(const QString &commandLine);
}
