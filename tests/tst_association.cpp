#include "association/DesktopRegistration.h"
#include "association/FileAssociation.h"
#include "association/FreedesktopRegistry.h"
#include "association/WindowsCommandLine.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {
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
}

class TestAssociation : public QObject
{
    Q_OBJECT

private slots:
    void openCommandIsQuoted_data();
    void openCommandIsQuoted();
    void freedesktopRegistrationAsTheDesktopSeesIt();
    void registrationOnAFullDiskFailsAndKeepsTheFiles();
};

void TestAssociation::openCommandIsQuoted_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("exec");      // the desktop entry's, where quoting is needed only for some characters
    QTest::newRow("plain path") << "/usr/bin/korvid4" << R"("/usr/bin/korvid4" "%1")" << "/usr/bin/korvid4 %f";
    QTest::newRow("blanks")
        << "/opt/my tools/korvid4" << R"("/opt/my tools/korvid4" "%1")" << R"("/opt/my tools/korvid4" %f)";
    // The Exec quoting escapes a backslash or a quote with a backslash, and the entry's own escape doubles each.
    QTest::newRow("Windows folder with blanks") << R"(C:\Program Files\Korvid4)" << R"("C:\Program Files\Korvid4" "%1")"
                                                << R"("C:\\\\Program Files\\\\Korvid4" %f)";
    QTest::newRow("quote") << R"(/opt/a"b/korvid4)" << R"("/opt/a\"b/korvid4" "%1")" << R"("/opt/a\\"b/korvid4" %f)";
    QTest::newRow("percent sign") << "/opt/100%/korvid4" << R"("/opt/100%/korvid4" "%1")" << "/opt/100%%/korvid4 %f";
}

void TestAssociation::openCommandIsQuoted()
{
    QFETCH(QString, program);
    QFETCH(QString, command);
    QFETCH(QString, exec);
    QCOMPARE(FileAssociation::openCommand(program), command);
    // Windows splits it back into the program and the file.
    QCOMPARE(WindowsCommandLine::split(command), (QStringList{program, "%1"}));
    DesktopRegistration registration;
    registration.typeKey = "Korvid4";
    registration.command = command;
    const QByteArray entry = registration.desktopEntry(true).value_or("(none)");
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
        FileAssociation::AssociateFileType(registry, "Korvid4", "fbi", "FBI File", KORVID_RESOURCES_DIR "/Korvid.ico");
        QCOMPARE(xdgMime({"query", "filetype", unit}, home.path()), "application/x-korvid4");
        QCOMPARE(xdgMime({"query", "default", "application/x-korvid4"}, home.path()), "korvid4-files.desktop");
        QCOMPARE(home.read(".config/mimeapps.list"), otherDefaults + "application/x-korvid4=korvid4-files.desktop;\n");
    }
    QCOMPARE(QImage(home.filePath(".local/share/icons/hicolor/48x48/apps/korvid4.png")).size(), QSize(48, 48));
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
    DesktopRegistration registration;
    registration.typeKey = "Korvid4";
    registration.extensions = {"fbi"};
    registration.description = "FBI File";
    registration.command = "\"/opt/korvid/korvid4\" \"%1\"";
    const bool installed = registration.install({full + "/data", full + "/config"});
    const QByteArray left = home.read("full/config/mimeapps.list");
    QProcess::execute("umount", {full});
    QVERIFY(!installed);
    QCOMPARE(left, otherDefaults);
}

QTEST_GUILESS_MAIN(TestAssociation)
#include "tst_association.moc"
