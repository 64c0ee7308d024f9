// What each platform does its own way: reading and replacing files, their stamps, the lock keys.
#include "documents/FileBytes.h"
#include "documents/SafeWrite.h"
#include "platform/KeyboardLocks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_WIN)
#include <QUuid>

#include <windows.h>
#endif

namespace {
const QByteArray Unit = "[UNITINFO]\r\n{\r\n\tName=Panzer \xe9l\xe9phant;\r\n}\r\n";

#if defined(Q_OS_WIN)
QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot read)");
}

const wchar_t *native(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

// A handle the test holds on a file or pipe while the program under test tries to use it.
class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool isValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// The file opened as a program does that lets nobody else read, write, rename or delete it.
HANDLE openExclusively(const QString &path)
{
    return CreateFileW(native(QDir::toNativeSeparators(path)), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

FILETIME lastWriteTime(const QString &path)
{
    FILETIME time{};
    const Handle file(CreateFileW(native(QDir::toNativeSeparators(path)), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    GetFileTime(file.get(), nullptr, nullptr, &time);
    return time;
}

// Replaces the file's bytes and sets its modification time, as another editor could leave them.
bool rewrite(const QString &path, const QByteArray &bytes, FILETIME time)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    const Handle handle(CreateFileW(native(QDir::toNativeSeparators(path)), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.isValid() && SetFileTime(handle.get(), nullptr, nullptr, &time);
}

// Presses and releases a key as the keyboard does.
void tap(WORD key)
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    // The key state follows the messages this thread has taken from its queue.
    QTest::qWait(50);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}
#endif
}

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void writtenFilesReadBack_data();
    void writtenFilesReadBack();
#if defined(Q_OS_WIN)
    void openFailures_data();
    void openFailures();
    void saveFailuresKeepTheOldFile_data();
    void saveFailuresKeepTheOldFile();
    void fileStamp();
    void lockKeys();
#endif
};

void TestPlatform::writtenFilesReadBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("nativeSeparators");
    QTest::addColumn<qint64>("limit");      // what the reader takes at most
    QTest::newRow("plain name") << "unit.fbi" << false << qint64(1 << 20);
    QTest::newRow("blanks and letters of other languages") << "Einheit \u00e4 \u5766\u514b.fbi" << false << qint64(1 << 20);
    QTest::newRow("a part only: not whole, no stamp") << "unit.fbi" << false << qint64(10);
#if defined(Q_OS_WIN)
    QTest::newRow("a drive letter and backslashes") << "unit.fbi" << true << qint64(1 << 20);
#endif
}

// A save and a read of the same file agree on its bytes and its stamp; otherwise the next save
// would ask whether someone else changed the file.
void TestPlatform::writtenFilesReadBack()
{
    QFETCH(QString, name);
    QFETCH(bool, nativeSeparators);
    QFETCH(qint64, limit);
    QTemporaryDir dir;
    QString path = dir.filePath(name);
    if (nativeSeparators)
        path = QDir::toNativeSeparators(path);
    const WriteOutcome written = writeFileSafely(path, Unit);
    QVERIFY2(written.ok, qPrintable(written.reason));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    const FileBytes read = readFileBytes(path, limit);
    QCOMPARE(read.error, FileBytes::Error::None);
    QCOMPARE(read.bytes, Unit.first(std::min<qsizetype>(limit, Unit.size())));
    const bool whole = limit >= Unit.size();
    QCOMPARE(read.whole, whole);
    QCOMPARE(read.stamp.isValid(), whole);
    if (whole) {
        QVERIFY(read.stamp == FileStamp::ofBytes(path, Unit));
        QVERIFY(read.stamp.matchesDisk(path));
    }
}

#if defined(Q_OS_WIN)
void TestPlatform::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"missing", "a folder", "no name", "the null device", "a pipe", "held by another program"})
        QTest::newRow(kind) << QString(kind);
}

// Only a regular file that can be read opens; a pipe or a device could block or never end.
void TestPlatform::openFailures()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString unit = dir.filePath("unit.fbi");
    QVERIFY(writeFileSafely(unit, Unit).ok);
    const QString pipeName = "\\\\.\\pipe\\korvid-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const Handle pipe(kind == "a pipe" ? CreateNamedPipeW(native(pipeName), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1,
                                                          4096, 4096, 0, nullptr)
                                       : INVALID_HANDLE_VALUE);
    const Handle held(kind == "held by another program" ? openExclusively(unit) : INVALID_HANDLE_VALUE);
    const QHash<QString, QString> paths{{"missing", dir.filePath("missing.fbi")}, {"a folder", dir.path()},
                                        {"no name", QString()},                   {"the null device", "NUL"},
                                        {"a pipe", pipeName},                     {"held by another program", unit}};
    const FileBytes read = readFileBytes(paths.value(kind), 1 << 20);
    QCOMPARE(read.error, FileBytes::Error::CannotOpen);
    QVERIFY(read.bytes.isEmpty() && !read.stamp.isValid());
}

void TestPlatform::saveFailuresKeepTheOldFile_data()
{
    QTest::addColumn<QString>("target");    // below the test's folder, where old.fbi is
    QTest::addColumn<QString>("hindrance");
    QTest::addColumn<QString>("reason");    // the system's words for it
    QTest::newRow("a read-only file") << "old.fbi" << "read-only" << qt_error_string(ERROR_ACCESS_DENIED);
    // The new file cannot take the place of one that is open without leave to delete it.
    QTest::newRow("held by another program") << "old.fbi" << "held" << qt_error_string(ERROR_ACCESS_DENIED);
    QTest::newRow("a missing folder") << "missing\\unit.fbi" << QString() << qt_error_string(ERROR_PATH_NOT_FOUND);
    QTest::newRow("a folder") << "folder" << QString() << "Is a directory";
    QTest::newRow("the null device") << "NUL" << QString() << "Not a regular file";
    QTest::newRow("a device name with an extension") << "nul.fbi" << QString() << "Not a regular file";
}

// The file on disk stays as it was, nothing else is left beside it, and the user learns why.
void TestPlatform::saveFailuresKeepTheOldFile()
{
    QFETCH(QString, target);
    QFETCH(QString, hindrance);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString old = dir.filePath("old.fbi");
    QVERIFY(writeFileSafely(old, Unit).ok);
    const QString path = target == "NUL" ? target : QDir::toNativeSeparators(dir.path()) + '\\' + target;
    if (hindrance == "read-only")
        QVERIFY(SetFileAttributesW(native(QDir::toNativeSeparators(old)), FILE_ATTRIBUTE_READONLY));
    std::optional<Handle> held;
    if (hindrance == "held")
        QVERIFY(held.emplace(openExclusively(old)).isValid());
    const WriteOutcome written = writeFileSafely(path, "[UNITINFO]\r\n{\r\n}\r\n");
    held.reset();
    SetFileAttributesW(native(QDir::toNativeSeparators(old)), FILE_ATTRIBUTE_NORMAL);
    QVERIFY(!written.ok);
    QCOMPARE(written.reason, reason);
    QCOMPARE(fileBytes(old), Unit);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.fbi"});
}

// A stamp matches the file while its size, time and bytes are the ones read or written.
void TestPlatform::fileStamp()
{
    QTemporaryDir dir;
    const QString path = QDir::toNativeSeparators(dir.filePath("unit.fbi"));
    QVERIFY(writeFileSafely(path, Unit).ok);
    const FileStamp stamp = readFileBytes(path, 1 << 20).stamp;
    QVERIFY(stamp.matchesDisk(path));
    FILETIME time = lastWriteTime(path);
    // Other bytes of the same size at the same time, as an edit within the time's resolution leaves them.
    QVERIFY(rewrite(path, QByteArray(Unit).replace("Panzer", "Tanker"), time));
    QVERIFY(!stamp.matchesDisk(path));
    QVERIFY(rewrite(path, Unit, time));
    QVERIFY(stamp.matchesDisk(path));
    // One step of the file system's clock, 100 ns, is a change.
    ++time.dwLowDateTime;
    QVERIFY(rewrite(path, Unit, time));
    QVERIFY(!stamp.matchesDisk(path));
    QVERIFY(QFile::remove(path));
    QVERIFY(!stamp.matchesDisk(path));
}

// Windows always tells the lock keys' state; the status bar shows what the keyboard's lights show.
void TestPlatform::lockKeys()
{
    for (const auto &[key, state] : {std::pair{VK_CAPITAL, &KeyboardLocks::capsLock}, std::pair{VK_NUMLOCK, &KeyboardLocks::numLock}}) {
        const std::optional<bool> before = state();
        QVERIFY(before.has_value());
        tap(key);
        QCOMPARE(state(), std::optional<bool>(!*before));
        tap(key);
        QCOMPARE(state(), before);
    }
}
#endif

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
