#pragma once

#include <QString>

namespace ProgramFolder {
// The folder of the running executable, in the platform's own notation.
QString path();

// A file in a folder, joined with exactly one separator whether or not the folder ends in one.
QString join(const QString &folder, const QString &fileName);

// A file in the program folder, such as "Variables.dat".
QString file(const QString &fileName);
}
