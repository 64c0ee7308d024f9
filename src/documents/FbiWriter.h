#pragma once

#include "documents/FbiContent.h"
#include "documents/FileStamp.h"

#include <QByteArray>
#include <QString>

#include <optional>

enum class FbiLayout {
    // The file's own text as it was read, with only the rows' changes made in it: a changed value
    // replaced in its line, a removed row's line left out, an added row on a new line after the
    // row it follows, in the section it belongs to. A content read from no file is written in the
    // standard layout.
    Kept,
    // The fixed layout: the "[UNITINFO]" header, a tab and "{", one tab-indented "name=value;"
    // line per row, each nested section after the rows of the section around it, the block
    // comments, a tab and "}"; every line ends in CR LF. A file of definitions writes each of its
    // sections so, under its own header.
    Standard,
};

// A content's text in a layout, or why it cannot be written so. The kept layout fails when an edit
// cannot be placed in the file's own text; either layout fails when its text would not read back
// as the content's rows (a line or a file past the reader's limits). It never falls back to the
// other layout: that is the user's choice.
struct FbiText
{
    QByteArray text;
    bool ok = false;
    FbiLayout layout = FbiLayout::Standard; // the layout written: the standard one for a content read from no file
    QString reason;
    // The text read back, as the check read it; in the kept layout its rows are the content's, in order.
    FbiContent readBack;
};

FbiText writeFbi(const FbiContent &content, FbiLayout layout = FbiLayout::Standard);

struct FbiWriteResult
{
    enum class Failure { None, Layout, Disk };
    bool ok = false;
    Failure failure = Failure::None;
    FbiLayout layout = FbiLayout::Standard; // the layout written
    QString reason;  // why the layout could not be written, or the system's reason
    FileStamp stamp; // of the file as written
    // The file as written, read back, when its rows stand in the content's order (the kept layout):
    // a document can stand on the new text, its rows' lines counted there.
    std::optional<FbiContent> written;
};

// Replaces the file only once the new text is wholly on the disk, so a failed save leaves the
// old file as it was.
FbiWriteResult writeFbiFile(const QString &path, const FbiContent &content, FbiLayout layout);
