#pragma once

#include "documents/FbiContent.h"
#include "documents/FileStamp.h"

#include <QByteArray>
#include <QString>

// The fixed layout the editor writes: the "[UNITINFO]" header, a tab and "{", one tab-indented
// "name=value;" line per row, the kept nested sections and block comments, a tab and "}"; every
// line ends in CR LF.
QByteArray writeFbi(const FbiContent &content);

struct FbiWriteResult
{
    bool ok = false;
    QString reason;  // the system's reason for a failure
    FileStamp stamp; // of the file as written
};

// Replaces the file only once the new text is wholly on the disk, so a failed save leaves the
// old file as it was.
FbiWriteResult writeFbiFile(const QString &path, const FbiContent &content);
