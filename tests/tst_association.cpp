#include "association/FileAssociation.h"
#include "association/DesktopRegistration.h"
#include "association/FreedesktopRegistry.h"
#include "association/WindowsCommandLine.h"
#include "support/RecordingRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace FileAssociation;

namespace {
const QString IconFilePath = QStringLiteral(KORVID_RESOURCES_DIR "/Korvid.ico");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The registry lines of a key created and closed, and of a key opened, written and closed.
QStringList created(const QString &key, int handle)
{
    return {QStringLiteral(R"(create(HKCR, "%1", 0, 0x3f) -> %2)").arg(key).arg(handle),
            QStringLiteral("close(%1)").arg(handle)};
}

QStringList written(const QString &key, int handle, const QString &data)
{
    const QString number = QString::number(handle);
    return {QStringLiteral(R"(open(HKCR, "%1", 0, 0x3f) -> %2)").arg(key, number),
            QStringLiteral(R"(set(%1, "", 1, "%2\x00", %3))").arg(number, data, QString::number(data.size() + 1)),
            QStringLiteral("close(%1)").arg(number)};
}

// xdg-mime in a desktop of its own: the generic one, reading only the folders below home.
QString xdgMime(const QStringList &arguments, const QString &home)
{
    QProcess process;
    QProcessEnvironment environment;
    environment.insert("PATH", qEnvironmentVariable("PATH", "/usr/bin:/bin"));
    environment.insert("HOME", home);
    environment.insert("XDG_CURRENT_DESKTOP", "X-Generic");
    process.setProcessEnvironment(environment);
    process.start("xdg-mime", arguments);
    if (!process.waitForFinished(30000))
        return "(xdg-mime did not finish)";
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
}

class TestAssociation : public QObject
{
    Q_OBJECT

private slots:
    void associationWritesFourKeysInOrder_data();
    void associationWritesFourKeysInOrder();
    void openCommand_data();
    void openCommand();
    void freedesktopRegistrationAsTheDesktopSeesIt();
    void freedesktopRegistrationIsSilentWhenFoldersAreNotWritable_data();
    void freedesktopRegistrationIsSilentWhenFoldersAreNotWritable();
};

void TestAssociation::associationWritesFourKeysInOrder_data()
{
    QTest::addColumn<qint32>("status");
    QTest::newRow("registry accepts") << Registry::Success;
    // Every step is still tried, silently; a key that did not open is key 0 for the store and the close.
    QTest::newRow("registry refuses") << Registry::AccessDenied;
}

void TestAssociation::associationWritesFourKeysInOrder()
{
    QFETCH(qint32, status);
    RecordingRegistry registry;
    registry.status = status;
    AssociateFileType(registry, "Korvid4", "fbi", "FBI File", "/opt/korvid/Korvid.ico");

    const auto key = [status](int handle) { return status == Registry::Success ? handle : 0; };
    const QString command = '"' + QDir::toNativeSeparators(QCoreApplication::applicationFilePath()) + "\" \"%1\"";
    const QString commandKey = "Korvid4\\shell\\open\\command";
    const QString iconKey = "Korvid4\\DefaultIcon";
    QCOMPARE(registry.log, created(".fbi", key(1)) + written(".fbi", key(2), "Korvid4") + created(commandKey, key(3))
                               + created(iconKey, key(4)) + written("Korvid4", key(5), "FBI File")
                               + written(commandKey, key(6), command)
                               + written(iconKey, key(7), "/opt/korvid/Korvid.ico"));
}

void TestAssociation::openCommand_data()
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

void TestAssociation::openCommand()
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
    QTemporaryDir home;
    const QString dataHome = home.filePath(".local/share");
    const QString mimeapps = home.filePath(".config/mimeapps.list");
    const QByteArray otherDefaults = "[Default Applications]\ntext/plain=vim.desktop;\n";
    const QByteArray withOurs = otherDefaults + "application/x-korvid4=korvid4-files.desktop;\n";
    writeFile(mimeapps, otherDefaults);
    const QString unit = home.filePath("tank.fbi");
    writeFile(unit, "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n");

    // A second association, as in a later run, registers the same again and adds no second default.
    for (int run = 0; run < 2; ++run) {
        FreedesktopRegistry registry({dataHome, home.filePath(".config")});
        AssociateFileType(registry, "Korvid4", "fbi", "FBI File", IconFilePath);
        QCOMPARE(xdgMime({"query", "filetype", unit}, home.path()), "application/x-korvid4");
        QCOMPARE(xdgMime({"query", "default", "application/x-korvid4"}, home.path()), "korvid4-files.desktop");
        QCOMPARE(readFile(mimeapps), withOurs);
    }
    QCOMPARE(QImage(dataHome + "/icons/hicolor/48x48/apps/korvid4.png").size(), QSize(48, 48));
}

void TestAssociation::freedesktopRegistrationIsSilentWhenFoldersAreNotWritable_data()
{
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<bool>("desktopEntryWritten");
    // Below a regular file no folder can be made, not even by root.
    QTest::newRow("data folder") << "file/share" << "config" << false;
    QTest::newRow("config folder: what can be written stays") << "share" << "file/config" << true;
}

void TestAssociation::freedesktopRegistrationIsSilentWhenFoldersAreNotWritable()
{
    QFETCH(QString, dataHome);
    QFETCH(QString, configHome);
    QFETCH(bool, desktopEntryWritten);
    QTest::failOnWarning(QRegularExpression("."));
    QTemporaryDir home;
    writeFile(home.filePath("file"), "not a folder");
    FreedesktopRegistry registry({home.filePath(dataHome), home.filePath(configHome)});
    AssociateFileType(registry, "Korvid4", "fbi", "FBI File", IconFilePath);
    QCOMPARE(QFileInfo::exists(home.filePath(dataHome + "/applications/korvid4-files.desktop")), desktopEntryWritten);
    QCOMPARE(readFile(home.filePath("file")), "not a folder");
}

QTEST_GUILESS_MAIN(TestAssociation)
#include "tst_association.moc"
