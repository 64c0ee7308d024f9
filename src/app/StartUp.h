#pragma once

#include <QStringList>

namespace StartUp {
// Everything that happens once per start, before the program only answers events: the first-start
// set-up, the settings, the main window with its first document (or the file named by the
// arguments), and the list of known variables. Returns false when there is no main window to run.
bool Main(const QStringList &arguments);

// Reads the known variables, one per line, into the variable panel. False when the file cannot be read.
bool LoadKnownVariables(const QString &path);
}
