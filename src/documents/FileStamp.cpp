#include "documents/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QHash>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {
struct DiskState
{
    qint64 size = -1;
    qint64 modified = 0;
};

// Regular files only: anything else has no content to compare.
DiskState diskStateOf(const QString &path)
{
    if (path.isEmpty())
        return {};
#if defined(Q_OS_WIN)
    const QString native = QDir::toNativeSeparators(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(reinterpret_cast<const wchar_t *>(native.utf16()), GetFileExInfoStandard, &data)
        || (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return {};
    return {qint64((quint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow),
            FileStamp::fromWindowsFileTime((quint64(data.ftLastWriteTime.dwHighDateTime) << 32)
                                           | data.ftLastWriteTime.dwLowDateTime)};
#else
    struct stat status{};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    return {qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
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
    const DiskState state = diskStateOf(path);
    if (state.size < 0)
        return {};
    return ofBytes(state.size, state.modified, bytes);
}

FileStamp FileStamp::ofBytes(qint64 size, qint64 modified, QByteArrayView bytes)
{
    FileStamp stamp;
    stamp.m_size = size;
    stamp.m_modified = modified;
    stamp.m_hash = hashOf(bytes);
    return stamp;
}

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
