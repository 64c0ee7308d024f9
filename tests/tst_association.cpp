#include "options/FileAssociation.h"
#include "platform/DesktopRegistration.h"
#include "platform/FreedesktopRegistry.h"
#include "platform/IconFile.h"
#include "platform/WindowsCommandLine.h"
#include "support/RecordingRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
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

// Texts as the recording registry writes them: in quotes, with quotes and backslashes escaped.
QString quotedText(const QString &text)
{
    return '"' + QString(text).replace("\\", "\\\\").replace("\"", "\\\"") + '"';
}

// The lines a create, and an open-set-close, give for one key: keys are numbered in call order.
QStringList created(const QString &key, int handle)
{
    return {QStringLiteral("RegCreateKeyExA(HKEY_CLASSES_ROOT, %1, 0x0, 0x3f) -> %2").arg(quotedText(key)).arg(handle),
            QStringLiteral("RegCloseKey(%1)").arg(handle)};
}

QStringList written(const QString &key, int handle, const QString &data)
{
    const QString quotedData = quotedText(data).chopped(1) + "\\0\"";
    return {QStringLiteral("RegOpenKeyExA(HKEY_CLASSES_ROOT, %1, 0x0, 0x3f) -> %2").arg(quotedText(key)).arg(handle),
            QStringLiteral("RegSetValueExA(%1, \"\", 1, %2, %3)")
                .arg(QString::number(handle), quotedData, QString::number(data.size() + 1)),
            QStringLiteral("RegCloseKey(%1)").arg(handle)};
}

// Puts the environment back when a test that changed it ends, however it ends.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(QList<QByteArray> names) : m_names(std::move(names))
    {
        for (const QByteArray &name : m_names)
            m_values.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    ~EnvironmentGuard()
    {
        for (qsizetype index = 0; index < m_names.size(); ++index) {
            if (m_values.at(index))
                qputenv(m_names.at(index), *m_values.at(index));
            else
                qunsetenv(m_names.at(index));
        }
    }

private:
    QList<QByteArray> m_names;
    QList<std::optional<QByteArray>> m_values;
};

// xdg-mime in a desktop of its own: the generic one, reading only the folders given.
QString xdgMime(const QStringList &arguments, const QString &home)
{
    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin")));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("X-Generic"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("xdg-mime"), arguments);
    if (!process.waitForFinished(30000))
        return QStringLiteral("(xdg-mime did not finish)");
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
}

class TestAssociation : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void associationWritesFourKeysInOrder_data();
    void associationWritesFourKeysInOrder();
    void associationIsSilentWhenTheRegistryRefuses();
    void storeRegValue_data();
    void storeRegValue();
    void openCommandSurvivesAnyPath_data();
    void openCommandSurvivesAnyPath();
    void commandLineSplitsLikeWindows_data();
    void commandLineSplitsLikeWindows();
    void execLine_data();
    void execLine();
    void desktopEntryEscapesTheExecValue();
    void defaultApplication_data();
    void defaultApplication();
    void iconPictures_data();
    void iconPictures();
    void freedesktopKeys();
    void freedesktopRegistrationAsTheDesktopSeesIt();
    void freedesktopRegistrationIsSilentWhenFoldersAreNotWritable_data();
    void freedesktopRegistrationIsSilentWhenFoldersAreNotWritable();

private:
    RecordingRegistry m_registry;
};

void TestAssociation::cleanup()
{
    Registry::install(nullptr);
    m_registry = RecordingRegistry();
}

void TestAssociation::associationWritesFourKeysInOrder_data()
{
    QTest::addColumn<QString>("typeKey");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("iconPath");
    QTest::newRow("the program's own") << "Korvid4" << "fbi" << "FBI File" << "/opt/korvid/Korvid.ico";
    QTest::newRow("another type, icon path with blanks")
        << "TaScript" << "tdf" << "Feature File" << "C:\\Program Files\\Korvid\\Korvid.ico";
}

void TestAssociation::associationWritesFourKeysInOrder()
{
    QFETCH(QString, typeKey);
    QFETCH(QString, extension);
    QFETCH(QString, description);
    QFETCH(QString, iconPath);
    Registry::install(&m_registry);
    AssociateFileType(typeKey, extension, description, iconPath);

    // The program is started by its full path, quoted, with the file as the quoted "%1".
    const QString program = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    const QString command = '"' + program + "\" \"%1\"";
    const QString commandKey = typeKey + "\\shell\\open\\command";
    const QString iconKey = typeKey + "\\DefaultIcon";
    QStringList expected;
    expected << created('.' + extension, 1) << written('.' + extension, 2, typeKey) << created(commandKey, 3)
             << created(iconKey, 4) << written(typeKey, 5, description) << written(commandKey, 6, command)
             << written(iconKey, 7, iconPath);
    QCOMPARE(m_registry.log(), expected);
    QCOMPARE(m_registry.calls.at(13).data, command.toLocal8Bit() + '\0');
}

void TestAssociation::associationIsSilentWhenTheRegistryRefuses()
{
    m_registry.status = Registry::AccessDenied;
    Registry::install(&m_registry);
    AssociateFileType("Korvid4", "fbi", "FBI File", "/opt/korvid/Korvid.ico");

    // Every step is still tried; a key that did not open is key 0 for the store and the close.
    QStringList kinds;
    for (const RecordingRegistry::Call &call : std::as_const(m_registry.calls)) {
        if (call.kind == RecordingRegistry::Call::Kind::SetValue || call.kind == RecordingRegistry::Call::Kind::CloseKey)
            QCOMPARE(call.key, Registry::Key(0));
        kinds.append(RecordingRegistry::describe(call).section('(', 0, 0));
    }
    const QStringList create{"RegCreateKeyExA", "RegCloseKey"};
    const QStringList write{"RegOpenKeyExA", "RegSetValueExA", "RegCloseKey"};
    QCOMPARE(kinds, create + write + create + create + write + write + write);
}

void TestAssociation::storeRegValue_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("stored");     // empty: nothing stored
    QTest::addColumn<qint32>("status");
    QTest::newRow("text") << 1u << QVariant("Korvid4") << QByteArray("Korvid4\0", 8) << 0;
    QTest::newRow("empty text is one NUL") << 1u << QVariant(QString()) << QByteArray("\0", 1) << 0;
    QTest::newRow("number as text") << 1u << QVariant(42) << QByteArray("42\0", 3) << 0;
    QTest::newRow("dword, least significant byte first")
        << 4u << QVariant(0x12345678) << QByteArray("\x78\x56\x34\x12", 4) << 0;
    QTest::newRow("dword from text") << 4u << QVariant("1") << QByteArray("\x01\0\0\0", 4) << 0;
    QTest::newRow("negative dword") << 4u << QVariant(-1) << QByteArray("\xff\xff\xff\xff", 4) << 0;
    QTest::newRow("dword that is no number") << 4u << QVariant("Korvid") << QByteArray() << 87;
    QTest::newRow("dword beyond 32 bits") << 4u << QVariant(qint64(1) << 32) << QByteArray() << 87;
    QTest::newRow("binary is not stored") << 3u << QVariant("Korvid") << QByteArray() << 0;
    QTest::newRow("multi-string is not stored") << 7u << QVariant("Korvid") << QByteArray() << 0;
}

void TestAssociation::storeRegValue()
{
    QFETCH(quint32, type);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, stored);
    QFETCH(qint32, status);
    Registry::install(&m_registry);
    QCOMPARE(StoreRegValue(7, "Name", type, value), status);
    if (stored.isEmpty()) {
        QVERIFY(m_registry.calls.isEmpty());
        return;
    }
    QCOMPARE(m_registry.calls.size(), 1);
    const RecordingRegistry::Call &call = m_registry.calls.constFirst();
    QCOMPARE(call.key, Registry::Key(7));
    QCOMPARE(call.valueName, "Name");
    QCOMPARE(call.type, type);
    QCOMPARE(call.data, stored);
}

void TestAssociation::openCommandSurvivesAnyPath_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("command");
    QTest::newRow("Windows folder") << R"(C:\Tools\Edit\Korvid4)" << R"("C:\Tools\Edit\Korvid4" "%1")";
    QTest::newRow("Windows folder with blanks")
        << R"(C:\Program Files\Korvid\Korvid4)" << R"("C:\Program Files\Korvid\Korvid4" "%1")";
    QTest::newRow("folder with blanks") << "/opt/my tools/korvid4" << R"("/opt/my tools/korvid4" "%1")";
    QTest::newRow("quote in a folder name") << R"(/opt/a"b/korvid4)" << R"("/opt/a\"b/korvid4" "%1")";
    QTest::newRow("backslashes before a quote") << R"(/opt/a\\"b/korvid4)" << R"("/opt/a\\\\\"b/korvid4" "%1")";
    QTest::newRow("ending in a backslash") << R"(/opt/korvid\)" << R"("/opt/korvid\\" "%1")";
}

void TestAssociation::openCommandSurvivesAnyPath()
{
    QFETCH(QString, program);
    QFETCH(QString, command);
    QCOMPARE(openCommand(program), command);
    QCOMPARE(WindowsCommandLine::split(command), (QStringList{program, "%1"}));
}

void TestAssociation::commandLineSplitsLikeWindows_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("arguments");
    // The examples Windows documents for its own splitting.
    QTest::newRow("quoted blanks") << R"("abc" d e)" << QStringList{"abc", "d", "e"};
    QTest::newRow("escaped quote") << R"(a\\\b d"e f"g h)" << QStringList{R"(a\\\b)", "de fg", "h"};
    QTest::newRow("odd backslashes before a quote") << R"(a\\\"b c d)" << QStringList{R"(a\"b)", "c", "d"};
    QTest::newRow("even backslashes before a quote") << R"(a\\\\"b c" d e)" << QStringList{R"(a\\b c)", "d", "e"};
    QTest::newRow("empty quoted argument") << R"(a "" b)" << QStringList{"a", "", "b"};
    QTest::newRow("blanks and tabs around") << " \ta  b\t" << QStringList{"a", "b"};
    QTest::newRow("nothing") << "" << QStringList{};
    QTest::newRow("unclosed quote runs to the end") << R"("a b)" << QStringList{"a b"};
}

void TestAssociation::commandLineSplitsLikeWindows()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, arguments);
    QCOMPARE(WindowsCommandLine::split(commandLine), arguments);
}

void TestAssociation::execLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain path stays bare") << QStringList{"/usr/bin/korvid4", "%1"} << "/usr/bin/korvid4 %f";
    QTest::newRow("blank needs quotes")
        << QStringList{"/opt/my tools/korvid4", "%1"} << R"("/opt/my tools/korvid4" %f)";
    QTest::newRow("quote, backtick, dollar and backslash escaped")
        << QStringList{R"(/opt/a"b`c$d\e/korvid4)", "%1"} << R"("/opt/a\"b\`c\$d\\e/korvid4" %f)";
    QTest::newRow("percent sign doubled") << QStringList{"/opt/100%/korvid4", "%1"} << "/opt/100%%/korvid4 %f";
    QTest::newRow("long file name placeholder") << QStringList{"/usr/bin/korvid4", "%L"} << "/usr/bin/korvid4 %f";
    QTest::newRow("other arguments kept")
        << QStringList{"/usr/bin/korvid4", "--read only", "%1"} << R"(/usr/bin/korvid4 "--read only" %f)";
}

void TestAssociation::execLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, exec);
    QCOMPARE(DesktopRegistration::execLine(arguments), exec);
}

void TestAssociation::desktopEntryEscapesTheExecValue()
{
    DesktopRegistration registration;
    registration.typeKey = "Korvid4";
    registration.description = "FBI File";
    registration.command = openCommand(R"(/opt/a\b c/korvid4)");
    // The value's own escapes come on top of the quoting: one backslash is written as four.
    QCOMPARE(*registration.desktopEntry(true),
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Korvid4\n"
             "Comment=FBI File\n"
             "Exec=\"/opt/a\\\\\\\\b c/korvid4\" %f\n"
             "Icon=korvid4\n"
             "MimeType=application/x-korvid4;\n"
             "NoDisplay=true\n"
             "Terminal=false\n");
    registration.command = "\"\" \"%1\"";
    QVERIFY(!registration.desktopEntry(true));
}

void TestAssociation::defaultApplication_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray entry = "application/x-korvid4=korvid4-files.desktop;";
    QTest::newRow("no file yet") << QByteArray() << "[Default Applications]\n" + entry + '\n';
    QTest::newRow("other groups kept")
        << QByteArray("[Added Associations]\ntext/plain=vim.desktop;\n")
        << "[Added Associations]\ntext/plain=vim.desktop;\n\n[Default Applications]\n" + entry + '\n';
    QTest::newRow("added after the group's last entry")
        << QByteArray("[Default Applications]\ntext/plain=vim.desktop;\n\n[Removed Associations]\nx/y=z.desktop;\n")
        << "[Default Applications]\ntext/plain=vim.desktop;\n" + entry
            + "\n\n[Removed Associations]\nx/y=z.desktop;\n";
    QTest::newRow("earlier default replaced")
        << QByteArray("[Default Applications]\napplication/x-korvid4=other.desktop;\ntext/plain=vim.desktop;\n")
        << "[Default Applications]\n" + entry + "\ntext/plain=vim.desktop;\n";
    QTest::newRow("same key in another group left alone")
        << QByteArray("[Added Associations]\napplication/x-korvid4=other.desktop;\n[Default Applications]\n")
        << "[Added Associations]\napplication/x-korvid4=other.desktop;\n[Default Applications]\n" + entry + '\n';
    QTest::newRow("no final line end") << QByteArray("[Default Applications]\ntext/plain=vim.desktop;")
                                       << "[Default Applications]\ntext/plain=vim.desktop;\n" + entry + '\n';
}

void TestAssociation::defaultApplication()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QCOMPARE(DesktopRegistration::withDefaultApplication(before, "application/x-korvid4", "korvid4-files.desktop"), after);
}

void TestAssociation::iconPictures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("sizes");
    const QByteArray icon = readFile(IconFilePath);
    const QByteArray png = readFile(QStringLiteral(KORVID_RESOURCES_DIR "/icons/korvid-48.png"));
    QTest::newRow("the program's icon") << icon << QList<int>{16, 32, 48, 256};
    QTest::newRow("a PNG file is its own picture") << png << QList<int>{48};
    QTest::newRow("cut short") << icon.left(3000) << QList<int>{16};
    QTest::newRow("directory only") << icon.left(70) << QList<int>{};
    QTest::newRow("not an icon") << QByteArray("[UNITINFO]\r\n{\r\n}\r\n") << QList<int>{};
    QTest::newRow("empty") << QByteArray() << QList<int>{};
    QByteArray lying = icon;
    lying[6 + 8] = char(0xFF);   // the first picture claims to be far longer than the file
    lying[6 + 9] = char(0xFF);
    lying[6 + 10] = char(0xFF);
    QTest::newRow("entry beyond the file") << lying << QList<int>{32, 48, 256};
}

void TestAssociation::iconPictures()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, sizes);
    const QList<IconFile::Image> images = IconFile::pngImages(file);
    QList<int> found;
    for (const IconFile::Image &image : images) {
        QCOMPARE(image.height, image.width);
        found.append(image.width);
        // The pictures are the program's icon as drawn, pixel for pixel.
        QImage decoded;
        QVERIFY(decoded.loadFromData(image.png, "PNG"));
        const QImage drawn(QStringLiteral(KORVID_RESOURCES_DIR "/icons/korvid-%1.png").arg(image.width));
        QCOMPARE(decoded.convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32));
    }
    QCOMPARE(found, sizes);
}

void TestAssociation::freedesktopKeys()
{
    QTemporaryDir home;
    FreedesktopRegistry registry({home.filePath("data"), home.filePath("config")});
    Registry::Key key = 99;
    QCOMPARE(registry.openKey(Registry::ClassesRoot, "Korvid4", 0, 0x3F, &key), Registry::FileNotFound);
    QCOMPARE(key, Registry::Key(0));
    QCOMPARE(registry.setValue(0, "", Registry::TypeString, "x"), Registry::InvalidHandle);
    QCOMPARE(registry.closeKey(0), Registry::InvalidHandle);

    quint32 disposition = 0;
    Registry::Key created = 0;
    QCOMPARE(registry.createKey(Registry::ClassesRoot, "Korvid4\\shell\\open\\command", 0, 0x3F, &created,
                                &disposition),
             Registry::Success);
    QCOMPARE(disposition, Registry::CreatedNewKey);
    QCOMPARE(registry.closeKey(created), Registry::Success);
    QCOMPARE(registry.closeKey(created), Registry::InvalidHandle);
    // Parents come with a key, and names are the same in any case.
    QCOMPARE(registry.openKey(Registry::ClassesRoot, "KORVID4\\Shell", 0, 0x3F, &key), Registry::Success);
    QVERIFY(key != 0);
    QCOMPARE(registry.createKey(Registry::ClassesRoot, "korvid4", 0, 0x3F, &created, &disposition), Registry::Success);
    QCOMPARE(disposition, Registry::OpenedExistingKey);
    for (const char *bad : {"\\Korvid4", "Korvid4\\\\shell", "Korvid4\\"}) {
        QCOMPARE(registry.createKey(Registry::ClassesRoot, bad, 0, 0x3F, &created, &disposition),
                 Registry::BadPathName);
    }
    QCOMPARE(registry.createKey(12345, "x", 0, 0x3F, &created, &disposition), Registry::InvalidHandle);
    // Keys alone register nothing.
    QVERIFY(!QFileInfo::exists(home.filePath("data")));
}

void TestAssociation::freedesktopRegistrationAsTheDesktopSeesIt()
{
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        QSKIP("xdg-mime is not installed (Debian package xdg-utils; scripts/setup.sh installs it)");
    QTemporaryDir home;
    const QString dataHome = home.filePath(".local/share");
    const QString configHome = home.filePath(".config");
    const QByteArray otherDefaults = "[Default Applications]\ntext/plain=vim.desktop;\n";
    writeFile(configHome + "/mimeapps.list", otherDefaults);

    const EnvironmentGuard guard({"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"});
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
    FreedesktopRegistry registry;
    Registry::install(&registry);
    AssociateFileType("Korvid4", "fbi", "FBI File", IconFilePath);

    // Outside a known desktop, xdg-mime asks the shared MIME database through "mimetype".
    QVERIFY2(!QStandardPaths::findExecutable("mimetype").isEmpty(),
             "mimetype is missing (Debian package libfile-mimeinfo-perl; scripts/setup.sh installs it)");
    const QString unit = home.filePath("tank.fbi");
    writeFile(unit, "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n");
    QCOMPARE(xdgMime({"query", "filetype", unit}, home.path()), "application/x-korvid4");
    QCOMPARE(xdgMime({"query", "default", "application/x-korvid4"}, home.path()), "korvid4-files.desktop");

    const QString program = QCoreApplication::applicationFilePath();
    QVERIFY2(!program.contains(' '), "the build folder should have no blanks for the bare Exec line below");
    const QByteArray entry = readFile(dataHome + "/applications/korvid4-files.desktop");
    QVERIFY2(entry.contains("\nExec=" + program.toUtf8() + " %f\n"), entry.constData());
    QVERIFY(entry.contains("\nIcon=korvid4\n"));
    const QByteArray package = readFile(dataHome + "/mime/packages/korvid4.xml");
    QVERIFY(package.contains("<comment>FBI File</comment>"));
    QVERIFY(package.contains("<icon name=\"korvid4\"/>"));
    for (int size : {16, 32, 48, 256})
        QVERIFY(QFileInfo::exists(dataHome + QStringLiteral("/icons/hicolor/%1x%1/apps/korvid4.png").arg(size)));
    QCOMPARE(readFile(configHome + "/mimeapps.list"), otherDefaults + "application/x-korvid4=korvid4-files.desktop;\n");

    // A second association in a later run writes the same registration again.
    FreedesktopRegistry later;
    Registry::install(&later);
    AssociateFileType("Korvid4", "fbi", "FBI File", IconFilePath);
    QCOMPARE(readFile(configHome + "/mimeapps.list"), otherDefaults + "application/x-korvid4=korvid4-files.desktop;\n");
    QCOMPARE(readFile(dataHome + "/applications/korvid4-files.desktop"), entry);
    QCOMPARE(xdgMime({"query", "default", "application/x-korvid4"}, home.path()), "korvid4-files.desktop");
}

void TestAssociation::freedesktopRegistrationIsSilentWhenFoldersAreNotWritable_data()
{
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<bool>("desktopEntryWritten");
    // Below a regular file no folder can be made, not even by root.
    QTest::newRow("data folder") << "file/share" << "config" << false;
    QTest::newRow("config folder") << "share" << "file/config" << true;
}

void TestAssociation::freedesktopRegistrationIsSilentWhenFoldersAreNotWritable()
{
    QFETCH(QString, dataHome);
    QFETCH(QString, configHome);
    QFETCH(bool, desktopEntryWritten);
    QTemporaryDir home;
    writeFile(home.filePath("file"), "not a folder");
    FreedesktopRegistry registry({home.filePath(dataHome), home.filePath(configHome)});

    Registry::Key key = 0;
    quint32 disposition = 0;
    for (const char *path : {".fbi", "Korvid4\\shell\\open\\command"})
        QCOMPARE(registry.createKey(Registry::ClassesRoot, path, 0, 0x3F, &key, &disposition), Registry::Success);
    QCOMPARE(registry.setValue(key, "", Registry::TypeString, QByteArray("\"/usr/bin/korvid4\" \"%1\"") + '\0'),
             Registry::Success);
    QCOMPARE(registry.openKey(Registry::ClassesRoot, ".fbi", 0, 0x3F, &key), Registry::Success);
    QCOMPARE(registry.setValue(key, "", Registry::TypeString, QByteArray("Korvid4", 8)), Registry::AccessDenied);
    QCOMPARE(QFileInfo::exists(home.filePath(dataHome + "/applications/korvid4-files.desktop")), desktopEntryWritten);

    // Through the association, the same folders fail just as quietly.
    Registry::install(&registry);
    AssociateFileType("Korvid4", "fbi", "FBI File", IconFilePath);
    QCOMPARE(readFile(home.filePath("file")), "not a folder");
}

QTEST_GUILESS_MAIN(TestAssociation)
#include "tst_association.moc"
