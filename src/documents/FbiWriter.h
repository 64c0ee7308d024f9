#pragma once

#include "documents/FbiContent.h"
#include "documents/FileStamp.h"

#include <QByteArray>
#include <QString>

enum class FbiLayout {
    // The file's own text as it was read, with only the rows' changes made in it: a changed value
    // replaced in its line, a removed row's line left out, an added row on a new line after the
    // row it follows. A content read from no file is written in the standard layout.
    Kept,
    // The fixed layout: the "[UNITINFO]" header, a tab and "{", one tab-indented "name=value;"
    // line per row, the kept nested sections and block comments, a tab and "}"; every line ends
    // in CR LF.
    Standard,
};

QByteArray writeFbi(const FbiContent &content, FbiLayout layout = FbiLayout::Standard);

struct FbiWriteResult
{
    bool ok = false;
    QString reason;  // the system's reason for a failure
    FileStamp stamp; // of the file as written
};

// Replaces the file only once the new text is wholly on the disk, so a failed save leaves the
// old file as it was.
FbiWriteResult writeFbiFile(const QString &path, const FbiContent &content, FbiLayout layout);
