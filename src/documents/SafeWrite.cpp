#include "documents/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
// The C library's words for an error number, on every platform.
QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A reason why the file at path cannot be replaced that shows before any writing: something
// other than a regular file (saving over a device or a pipe would replace it with a plain file, or
// write to the device), or a read-only file or disk, which QSaveFile would call only "not writable".
QString replaceRefusal(const QString &path)
{
#if defined(Q_OS_WIN)
    // Device names such as NUL are no files, in any folder and with any extension.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    const bool regular = GetFileType(handle) == FILE_TYPE_DISK;
    CloseHandle(handle);
    if (!regular)
        return QStringLiteral("Not a regular file");
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t *>(native.utf16()));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return qt_error_string(ERROR_ACCESS_DENIED);
#else
    const QFileInfo target(path);
    if (!target.exists())
        return {};
    if (!target.isFile())
        return QStringLiteral("Not a regular file");
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return qt_error_string(errno);
#endif
    return {};
}

// Forces the written bytes out to the disk. Some file systems report a full disk only here, and
// QSaveFile ignores the result of its own flush.
QString flushToDisk(int descriptor)
{
#if defined(Q_OS_WIN)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle))
        return qt_error_string(int(GetLastError()));
#else
    if (::fsync(descriptor) != 0)
        return qt_error_string(errno);
#endif
    return {};
}

WriteOutcome failure(const QString &reason)
{
    return WriteOutcome{false, reason};
}
}

WriteOutcome writeFileSafely(const QString &path, QByteArrayView bytes, DiskFlush flush)
{
    if (path.isEmpty())
        return failure(systemReason(ENOENT));
    if (QFileInfo(path).isDir())
        return failure(systemReason(EISDIR));
    if (const QString refusal = replaceRefusal(path); !refusal.isEmpty())
        return failure(refusal);

    // Unbuffered, so that every write reaches the system and reports its failure: a buffered
    // write that fails only when the buffer is flushed lets commit() replace the file with the
    // incomplete temporary one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file.errorString());
    // A write may stop short of the end without an error; the next one then reports it.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return failure(reason);
        }
        done += qsizetype(written);
    }
    if (const QString reason = (flush ? flush : flushToDisk)(file.handle()); !reason.isEmpty()) {
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return WriteOutcome{true, {}};
}
