#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// What Korvid last read or wrote of a file: its size, modification time and a hash of its content.
// Saving over a file that no longer matches its stamp would overwrite someone else's change.
class FileStamp
{
public:
    // After a write: the bytes written and what the file system now says of the file.
    static FileStamp ofBytes(const QString &path, QByteArrayView bytes);
    // After a read: what the file system said of the open file and the bytes read from it. The
    // time is in nanoseconds since 1970, as precise as the file system keeps it.
    static FileStamp ofBytes(qint64 size, qint64 modified, QByteArrayView bytes);

    // Windows counts file times in steps of 100 ns since 1601.
    static constexpr qint64 fromWindowsFileTime(quint64 ticks)
    {
        return (qint64(ticks) - 116'444'736'000'000'000) * 100;
    }

    bool isValid() const { return m_size >= 0; }
    // True when the file on disk has the same size, modification time and content. A missing
    // file, or an invalid stamp, does not match.
    bool matchesDisk(const QString &path) const;

    friend bool operator==(const FileStamp &, const FileStamp &) = default;

private:
    static size_t hashOf(QByteArrayView bytes);

    qint64 m_size = -1;
    qint64 m_modified = 0; // nanoseconds since the epoch
    size_t m_hash = 0;
};
