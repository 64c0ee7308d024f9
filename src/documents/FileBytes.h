#pragma once

#include "documents/FileStamp.h"

#include <QByteArray>
#include <QString>

// A file read whole in one go, with what the file system said of it while it was open.
struct FileBytes
{
    enum class Error { None, CannotOpen, ReadFailed };
    QByteArray bytes;       // what was read: at most the limit, less when reading failed
    bool whole = false;     // every byte of the file was read
    Error error = Error::None;
    FileStamp stamp;        // of the file read; invalid unless it was read whole
};

// Reads at most limit bytes of the file at path. Only a regular file opens: a folder cannot be
// read, and a pipe or a device could block or never end.
FileBytes readFileBytes(const QString &path, qint64 limit);
