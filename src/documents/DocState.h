#pragma once

#include <QString>

// What the document set knows of one document number.
struct DocState
{
    bool Changed = false;   // the rows may differ from the file last read or written
    bool Closed = false;    // the window has closed; the number is free for the next document
    QString FilePath;       // empty until the document is read from or saved to a file
};
