#pragma once

#include <QString>

namespace ProgramFolder {
// The folder of the running executable, in the platform's own notation.
QString path();

// A file in a folder, joined with one separator whether or not the folder already ends in one
// (a root then gives a doubled separator, which every file system reads as one).
QString join(const QString &folder, const QString &fileName);

// A file in the program folder, such as "Variables.dat".
QString file(const QString &fileName);
}
