#include "documents/FileBytes.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
FileBytes cannotOpen()
{
    FileBytes result;
    result.error = FileBytes::Error::CannotOpen;
    return result;
}

// Every byte read, the error if reading failed, and the stamp when the file was read whole.
FileBytes finish(QByteArray &&bytes, qsizetype done, bool readError, qint64 size, qint64 modified)
{
    FileBytes result;
    bytes.truncate(done);
    result.whole = !readError && done == size;
    result.error = readError ? FileBytes::Error::ReadFailed : FileBytes::Error::None;
    if (result.whole)
        result.stamp = FileStamp::ofBytes(size, modified, bytes);
    result.bytes = std::move(bytes);
    return result;
}
}

#if defined(Q_OS_WIN)
FileBytes readFileBytes(const QString &path, qint64 limit)
{
    if (path.isEmpty())
        return cannotOpen();
    // Others may go on reading, writing or renaming the file while it is read, as Explorer and
    // editors expect of a program that only reads.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return cannotOpen();
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information)
        || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(file);
        return cannotOpen();
    }
    const auto size = qint64((quint64(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
    const qint64 modified = FileStamp::fromWindowsFileTime((quint64(information.ftLastWriteTime.dwHighDateTime) << 32)
                                                           | information.ftLastWriteTime.dwLowDateTime);
    QByteArray bytes(qsizetype(std::min(size, limit)), Qt::Uninitialized);
    qsizetype done = 0;
    bool readError = false;
    while (done < bytes.size()) {
        DWORD got = 0;
        const auto wanted = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        readError = !ReadFile(file, bytes.data() + done, wanted, &got, nullptr);
        if (readError || got == 0)
            break;
        done += qsizetype(got);
    }
    CloseHandle(file);
    return finish(std::move(bytes), done, readError, size, modified);
}
#else
FileBytes readFileBytes(const QString &path, qint64 limit)
{
    if (path.isEmpty())
        return cannotOpen();
    // Open, fstat, one read, close. O_NONBLOCK keeps the open of a pipe from waiting for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen();
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return cannotOpen();
    }
    QByteArray bytes(qsizetype(std::min<qint64>(status.st_size, limit)), Qt::Uninitialized);
    qsizetype done = 0;
    bool readError = false;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        readError = got < 0;
        if (got <= 0)
            break;
        done += qsizetype(got);
    }
    ::close(fd);
    return finish(std::move(bytes), done, readError, qint64(status.st_size),
                  qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec);
}
#endif
