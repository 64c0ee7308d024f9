#include "association/FileAssociation.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QTest>

#if defined(Q_OS_WIN)
#include "association/WindowsRegistry.h"

#include <QUuid>

#include <windows.h>
#include <shellapi.h>
#else
#include "association/DesktopRegistration.h"
#include "association/FreedesktopRegistry.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#endif

namespace {
FileType fbiType(const QString &program, const QString &icon = KORVID_RESOURCES_DIR "/Korvid.ico")
{
    return FileType{"Korvid4", "fbi", "FBI File", program, QDir::toNativeSeparators(icon)};
}

#if defined(Q_OS_WIN)
// How Windows splits a command line into a program's arguments.
QStringList systemSplit(const QString &commandLine)
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(reinterpret_cast<const wchar_t *>(commandLine.utf16()), &count);
    QStringList result;
    for (int index = 0; index < count; ++index)
        result.append(QString::fromWCharArray(arguments[index]));
    LocalFree(arguments);
    return result;
}

// A key of the test's own below HKEY_CURRENT_USER, removed with everything below it at the end.
class ScratchKey
{
public:
    ScratchKey()
        : m_path("Software\\Korvid4 Tests\\" + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
    }
    ~ScratchKey()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(m_path.utf16()));
        const QString parent = m_path.section('\\', 0, 1);
        RegDeleteKeyW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(parent.utf16()));
    }
    QString path() const { return m_path; }
    // The default value of a key below this one, or "(none)".
    QString defaultValue(const QString &subKey) const
    {
        const QString key = m_path + '\\' + subKey;
        wchar_t text[1024];
        DWORD size = sizeof(text);
        if (RegGetValueW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(key.utf16()), nullptr, RRF_RT_REG_SZ,
                         nullptr, text, &size) != ERROR_SUCCESS)
            return "(none)";
        return QString::fromWCharArray(text);
    }

private:
    QString m_path;
};
#else
// xdg-mime in a desktop of its own: the generic one, reading only the folders below home.
QString xdgMime(const QStringList &arguments, const QString &home)
{
    QProcess process;
    process.setEnvironment({"PATH=" + qEnvironmentVariable("PATH", "/usr/bin:/bin"), "HOME=" + home,
                            "XDG_CURRENT_DESKTOP=X-Generic"});
    process.start("xdg-mime", arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
#endif
}

class TestAssociation : public QObject
{
    Q_OBJECT

private slots:
    void openCommandIsQuoted_data();
    void openCommandIsQuoted();
#if defined(Q_OS_WIN)
    void registryKeysOfTheUser();
    void registryFailureNamesTheKey();
#else
    void desktopEntryExecIsQuoted_data();
    void desktopEntryExecIsQuoted();
    void freedesktopRegistrationAsTheDesktopSeesIt();
    void registrationOnAFullDiskFailsAndKeepsTheFiles();
#endif
};

void TestAssociation::openCommandIsQuoted_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("command");
    QTest::newRow("plain path") << R"(C:\Korvid\korvid4)" << R"("C:\Korvid\korvid4" "%1")";
    QTest::newRow("blanks") << R"(C:\Program Files\Korvid 4\korvid4)" << R"("C:\Program Files\Korvid 4\korvid4" "%1")";
    QTest::newRow("percent sign") << R"(D:\100% mods\korvid4)" << R"("D:\100% mods\korvid4" "%1")";
}

void TestAssociation::openCommandIsQuoted()
{
    QFETCH(QString, program);
    QFETCH(QString, command);
    QCOMPARE(FileAssociation::openCommand(program), command);
#if defined(Q_OS_WIN)
    // Windows splits it back into the program and the file.
    QCOMPARE(systemSplit(command), (QStringList{program, "%1"}));
#endif
}

#if defined(Q_OS_WIN)
// The four keys, below the user's own file types; Windows reads them as it reads the machine's.
void TestAssociation::registryKeysOfTheUser()
{
    const ScratchKey classes;
    const QString program = R"(C:\Program Files\Korvid 4\korvid4)";
    const RegistrationOutcome outcome = WindowsRegistry(classes.path()).registerFileType(fbiType(program));
    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    QCOMPARE(classes.defaultValue(".fbi"), "Korvid4");
    QCOMPARE(classes.defaultValue("Korvid4"), "FBI File");
    QCOMPARE(classes.defaultValue("Korvid4\\shell\\open\\command"), "\"" + program + "\" \"%1\"");
    QCOMPARE(classes.defaultValue("Korvid4\\DefaultIcon"), QDir::toNativeSeparators(KORVID_RESOURCES_DIR "/Korvid.ico"));
}

// A key that cannot be made stops the registration with the key's name and the system's reason:
// a lasting key cannot be made below one that ends with the session.
void TestAssociation::registryFailureNamesTheKey()
{
    const ScratchKey scratch;
    HKEY key = nullptr;
    QCOMPARE(RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(scratch.path().utf16()), 0, nullptr,
                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
             LSTATUS(ERROR_SUCCESS));
    RegCloseKey(key);
    const RegistrationOutcome outcome = WindowsRegistry(scratch.path()).registerFileType(fbiType("C:\\korvid4"));
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.reason, "HKEY_CURRENT_USER\\" + scratch.path() + "\\.fbi: " + qt_error_string(ERROR_CHILD_MUST_BE_VOLATILE));
    QCOMPARE(scratch.defaultValue(".fbi"), "(none)");
}
#else
void TestAssociation::desktopEntryExecIsQuoted_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");      // quoting is needed only for some characters
    QTest::newRow("plain path") << "/usr/bin/korvid4" << "/usr/bin/korvid4 %f";
    QTest::newRow("blanks") << "/opt/my tools/korvid4" << R"("/opt/my tools/korvid4" %f)";
    // The Exec quoting escapes a backslash or a quote with a backslash, and the entry's own escape doubles each.
    QTest::newRow("backslash") << R"(/opt/a\b/korvid4)" << R"("/opt/a\\\\b/korvid4" %f)";
    QTest::newRow("quote") << R"(/opt/a"b/korvid4)" << R"("/opt/a\\"b/korvid4" %f)";
    QTest::newRow("percent sign") << "/opt/100%/korvid4" << "/opt/100%%/korvid4 %f";
}

void TestAssociation::desktopEntryExecIsQuoted()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    const QByteArray entry = DesktopRegistration(fbiType(program)).desktopEntry(true);
    QVERIFY2(entry.contains("\nExec=" + exec.toUtf8() + "\n"), entry.constData());
}

void TestAssociation::freedesktopRegistrationAsTheDesktopSeesIt()
{
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        QSKIP("xdg-mime is not installed (Debian package xdg-utils; scripts/setup.sh installs it)");
    // Outside a known desktop, xdg-mime asks the shared MIME database through "mimetype".
    QVERIFY2(!QStandardPaths::findExecutable("mimetype").isEmpty(),
             "mimetype is missing (Debian package libfile-mimeinfo-perl; scripts/setup.sh installs it)");
    TestFolder home;
    QDir(home.path()).mkpath(".config");
    const QByteArray otherDefaults = "[Default Applications]\ntext/plain=vim.desktop;\n";
    home.write(".config/mimeapps.list", otherDefaults);
    const QString unit = home.write("tank.fbi", "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n");
    // A second association, as in a later run, registers the same again and adds no second default.
    for (int run = 0; run < 2; ++run) {
        FreedesktopRegistry registry({home.filePath(".local/share"), home.filePath(".config")});
        const RegistrationOutcome outcome = registry.registerFileType(fbiType("/opt/korvid/korvid4"));
        QVERIFY2(outcome.ok, qPrintable(outcome.reason));
        // The desktop's database tool runs on its own, after the registration has returned.
        QString type;
        for (QDeadlineTimer deadline(20000); (type = xdgMime({"query", "filetype", unit}, home.path()))
                                             != "application/x-korvid4" && !deadline.hasExpired();)
            QTest::qWait(100);
        QCOMPARE(type, "application/x-korvid4");
        QCOMPARE(xdgMime({"query", "default", "application/x-korvid4"}, home.path()), "korvid4-files.desktop");
        QCOMPARE(home.read(".config/mimeapps.list"), otherDefaults + "application/x-korvid4=korvid4-files.desktop;\n");
    }
    // The pictures of the program's icon, in each size it has.
    for (const int side : {16, 32, 48, 256}) {
        const QString icon = home.filePath(QString(".local/share/icons/hicolor/%1x%1/apps/korvid4.png").arg(side));
        QCOMPARE(QImage(icon, "PNG").size(), QSize(side, side));
    }
}

// The desktop's files are replaced whole or not at all: on a disk with no room, the user's other
// defaults in mimeapps.list stay as they were and the registration reports the failure.
void TestAssociation::registrationOnAFullDiskFailsAndKeepsTheFiles()
{
    TestFolder home;
    const QString full = home.filePath("full");
    QDir().mkpath(full);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", full}) != 0)
        QSKIP("A small file system cannot be mounted here (mounting needs root)");
    const QByteArray otherDefaults = "[Default Applications]\ntext/plain=vim.desktop;\n";
    QDir(full).mkpath("config");
    home.write("full/config/mimeapps.list", otherDefaults);
    QFile filler(full + "/filler");
    if (filler.open(QIODevice::WriteOnly)) {
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
    }
    const RegistrationOutcome outcome =
        FreedesktopRegistry({full + "/data", full + "/config"}).registerFileType(fbiType("/opt/korvid/korvid4"));
    const QByteArray left = home.read("full/config/mimeapps.list");
    QProcess::execute("umount", {full});
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.reason.startsWith("Cannot write " + full + "/data/")
                 && outcome.reason.endsWith(": No space left on device"),
             qPrintable(outcome.reason));
    QCOMPARE(left, otherDefaults);
}
#endif

QTEST_GUILESS_MAIN(TestAssociation)
#include "tst_association.moc"
