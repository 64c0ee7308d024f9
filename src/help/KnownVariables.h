#pragma once

#include <QString>
#include <QStringList>

// The known variable names of a variables data file, one per line, blank lines included. When the
// file is refused, ok is false and names holds the lines read before the fault (none when the file
// could not be opened or is too large).
struct KnownVariablesResult
{
    QStringList names;
    bool ok = false;
};

// Refuses an empty or missing path, anything but a file, an unreadable file, a file over 1 MB and a
// line over 32,767 bytes. Lines end at CR LF, CR or LF; bytes map one to one to Latin-1 characters.
KnownVariablesResult readKnownVariables(const QString &path);
