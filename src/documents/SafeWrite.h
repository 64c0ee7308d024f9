#pragma once

#include <QByteArrayView>
#include <QString>

struct WriteOutcome
{
    bool ok = false;
    QString reason; // the system's reason for a failure, such as "No space left on device"
};

// Replaces the file at path with bytes, or leaves it exactly as it was. The new text goes to a
// temporary file beside it, which takes the file's place only once every byte is on the disk.
// Anything that exists at path but is not a regular file is refused.
WriteOutcome writeFileSafely(const QString &path, QByteArrayView bytes);
