#include "startup/CommandLine.h"
#include "startup/ProgramFolder.h"
#include "startup/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storedPerUserInTheOptionsGroup();
    void onlyTheExactTextOneIsSet_data();
    void onlyTheExactTextOneIsSet();
    void commandLine_data();
    void commandLine();
    void programFolderJoin_data();
    void programFolderJoin();

private:
    QTemporaryDir m_config;
};

void TestSettings::initTestCase()
{
    // Before the first settings access: the store keeps to the folder it finds then.
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestSettings::storedPerUserInTheOptionsGroup()
{
    QCOMPARE(Settings::read(Settings::VariableDir), QString());
    Settings::write(Settings::FirstRun, QStringLiteral("1"));
    Settings::write(Settings::VariableDir, QStringLiteral("/games/ta/Variables.dat"));
    QCOMPARE(Settings::read(Settings::VariableDir), QStringLiteral("/games/ta/Variables.dat"));

    QFile file(m_config.filePath(QStringLiteral("Korvid4/Korvid4.conf")));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("[Options]"));
    QVERIFY(text.contains("FirstRun=1"));
    QVERIFY(text.contains("VariableDir=/games/ta/Variables.dat"));
}

void TestSettings::onlyTheExactTextOneIsSet_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("set");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("blank before") << " 1" << false;
    QTest::newRow("blank after") << "1 " << false;
    QTest::newRow("leading zero") << "01" << false;
    QTest::newRow("true") << "true" << false;
}

void TestSettings::onlyTheExactTextOneIsSet()
{
    QFETCH(QString, stored);
    QFETCH(bool, set);
    Settings::write(Settings::Associated, stored);
    QCOMPARE(Settings::isSet(Settings::Associated), set);
}

void TestSettings::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList{"korvid4"} << "";
    QTest::newRow("one path") << QStringList{"korvid4", "/ta/units/tank.fbi"} << "/ta/units/tank.fbi";
    QTest::newRow("blanks split by the shell") << QStringList{"korvid4", "/my", "units/a.fbi"} << "/my units/a.fbi";
    QTest::newRow("quoted") << QStringList{"korvid4", "\"/my units/a.fbi\""} << "/my units/a.fbi";
    QTest::newRow("quoted in parts") << QStringList{"korvid4", "\"/my", "units/a.fbi\""} << "/my units/a.fbi";
    QTest::newRow("only one pair removed") << QStringList{"korvid4", "\"\"a.fbi\"\""} << "\"a.fbi\"";
    QTest::newRow("quote at one end only") << QStringList{"korvid4", "\"a.fbi"} << "\"a.fbi";
    QTest::newRow("a lone quote") << QStringList{"korvid4", "\""} << "\"";
    QTest::newRow("empty quotes") << QStringList{"korvid4", "\"\""} << "";
}

void TestSettings::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(CommandLine::fileArgument(arguments), path);
}

void TestSettings::programFolderJoin_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("joined");
    QTest::newRow("plain") << "/opt/korvid" << "/opt/korvid/Variables.dat";
    QTest::newRow("trailing separator") << "/opt/korvid/" << "/opt/korvid//Variables.dat";
    QTest::newRow("root") << "/" << "//Variables.dat";
}

void TestSettings::programFolderJoin()
{
    QFETCH(QString, folder);
    QFETCH(QString, joined);
    QCOMPARE(ProgramFolder::join(folder, QStringLiteral("Variables.dat")), joined);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
