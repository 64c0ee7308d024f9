#pragma once

#include "documents/FbiContent.h"

#include <QByteArray>
#include <QString>

// The fixed layout the editor writes: the "[UNITINFO]" header, a tab and "{", one tab-indented
// "name=value;" line per row, the kept nested sections, a tab and "}"; every line ends in CR LF.
QByteArray writeFbi(const FbiContent &content);

// Replaces the file only once the new text is complete, so a failed save leaves the old file whole.
bool writeFbiFile(const QString &path, const FbiContent &content);
