#include "settings/CommandLine.h"
#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

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
    void programFolderJoin();

private:
    QTemporaryDir m_config;
};

void TestSettings::initTestCase()
{
    // Before the first settings access: the store keeps to the folder it finds then.
    QVERIFY(m_config.isValid() && qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())));
}

void TestSettings::storedPerUserInTheOptionsGroup()
{
    QCOMPARE(Settings::read(Settings::VariableDir), QString());
    Settings::write(Settings::VariableDir, QStringLiteral("/games/ta/Variables.dat"));
    QCOMPARE(Settings::read(Settings::VariableDir), QStringLiteral("/games/ta/Variables.dat"));
    QFile file(m_config.filePath(QStringLiteral("Korvid4/Korvid4.conf")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Options]\nVariableDir=/games/ta/Variables.dat\n"));
}

void TestSettings::onlyTheExactTextOneIsSet_data()
{
    QTest::addColumn<QString>("stored");
    for (const char *text : {"1", "", "0", " 1", "1 ", "01", "true"})
        QTest::newRow(qPrintable(QStringLiteral("\"%1\"").arg(text))) << QString(text);
}

void TestSettings::onlyTheExactTextOneIsSet()
{
    QFETCH(QString, stored);
    Settings::write(Settings::Associated, stored);
    QCOMPARE(Settings::isSet(Settings::Associated), stored == QStringLiteral("1"));
}

void TestSettings::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList{"korvid4"} << "";
    QTest::newRow("joined with single blanks") << QStringList{"korvid4", "/my", "units/a.fbi"} << "/my units/a.fbi";
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

// A separator is added even after one the folder ends in.
void TestSettings::programFolderJoin()
{
    QCOMPARE(ProgramFolder::join("/opt/korvid", "Variables.dat"), QStringLiteral("/opt/korvid/Variables.dat"));
    QCOMPARE(ProgramFolder::join("/", "Variables.dat"), QStringLiteral("//Variables.dat"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
