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

// A reason why the file at path cannot be replaced that the system gives before any writing: a
// read-only file or disk. QSaveFile would call it only "not writable".
QString replaceRefusal(const QString &path)
{
#if defined(Q_OS_WIN)
    const QString native = QDir::toNativeSeparators(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t *>(native.utf16()));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return qt_error_string(ERROR_ACCESS_DENIED);
#else
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return qt_error_string(errno);
#endif
    return {};
}

// Forces the written bytes out to the disk. Some file systems report a full disk only here, and
// QSaveFile ignores the result of its own flush.
QString flushToDisk(QSaveFile &file)
{
#if defined(Q_OS_WIN)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle))
        return qt_error_string(int(GetLastError()));
#else
    if (::fsync(file.handle()) != 0)
        return qt_error_string(errno);
#endif
    return {};
}

WriteOutcome failure(const QString &reason)
{
    return WriteOutcome{false, reason};
}
}

WriteOutcome writeFileSafely(const QString &path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return failure(systemReason(ENOENT));
    // Saving over a device or a pipe would replace it with a plain file.
    const QFileInfo target(path);
    if (target.isDir())
        return failure(systemReason(EISDIR));
    if (target.exists() && !target.isFile())
        return failure(QStringLiteral("Not a regular file"));
    if (target.exists()) {
        if (const QString refusal = replaceRefusal(path); !refusal.isEmpty())
            return failure(refusal);
    }

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
    if (const QString reason = flushToDisk(file); !reason.isEmpty()) {
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return WriteOutcome{true, {}};
}
