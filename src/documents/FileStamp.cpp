#include "documents/FileStamp.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
struct DiskState
{
    qint64 size = -1;
    qint64 modified = 0;
};

#ifdef Q_OS_UNIX
DiskState diskStateOf(const struct stat &status)
{
    return {qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}
#endif

// Regular files only: anything else has no content to compare.
DiskState diskStateOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status{};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    return diskStateOf(status);
#else
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * 1'000'000};
#endif
}
}

// A fixed seed selects Qt's AES-based hash where the processor has it: about 10 GB/s, so hashing
// costs the reader little. The hash only needs to be stable within one run of the program.
size_t FileStamp::hashOf(QByteArrayView bytes)
{
    return qHashBits(bytes.data(), size_t(bytes.size()), size_t(0x9e3779b97f4a7c15ULL));
}

FileStamp FileStamp::ofBytes(const QString &path, QByteArrayView bytes)
{
    FileStamp stamp;
    const DiskState state = diskStateOf(path);
    if (state.size < 0)
        return stamp;
    stamp.m_size = state.size;
    stamp.m_modified = state.modified;
    stamp.m_hash = hashOf(bytes);
    return stamp;
}

#ifdef Q_OS_UNIX
FileStamp FileStamp::ofBytes(const struct stat &status, QByteArrayView bytes)
{
    FileStamp stamp;
    const DiskState state = diskStateOf(status);
    stamp.m_size = state.size;
    stamp.m_modified = state.modified;
    stamp.m_hash = hashOf(bytes);
    return stamp;
}
#endif

bool FileStamp::matchesDisk(const QString &path) const
{
    const DiskState state = diskStateOf(path);
    if (!isValid() || state.size != m_size || state.modified != m_modified)
        return false;
    // Same size and time can still hide a change made within the file system's time resolution.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(m_size + 1);
    return bytes.size() == m_size && hashOf(bytes) == m_hash;
}
