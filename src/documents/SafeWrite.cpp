#include "documents/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
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
#ifdef Q_OS_UNIX
    // QSaveFile calls such a file only "not writable"; the system says why, such as a read-only disk.
    if (target.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return failure(systemReason(errno));
#endif

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
#ifdef Q_OS_UNIX
    // Some file systems report a full disk only when the data is forced out; QSaveFile ignores
    // the result of its own sync.
    if (::fsync(file.handle()) != 0) {
        const QString reason = systemReason(errno);
        file.cancelWriting();
        return failure(reason);
    }
#endif
    if (!file.commit())
        return failure(file.errorString());
    return WriteOutcome{true, {}};
}
