#pragma once

#include <QByteArrayView>
#include <QString>

struct WriteOutcome
{
    bool ok = false;
    QString reason; // the system's reason for a failure, such as "No space left on device"
};

// Forces what was written to an open file out to the disk; the system's reason when it cannot.
using DiskFlush = QString (*)(int handle);

// Replaces the file at path with bytes, or leaves it exactly as it was. The new text goes to a
// temporary file beside it, which takes the file's place only once every byte is on the disk.
// Anything that exists at path but is not a regular file is refused. flush is the system's own
// unless a test hands in another, to see a disk that fails at the last moment.
WriteOutcome writeFileSafely(const QString &path, QByteArrayView bytes, DiskFlush flush = nullptr);
