#include "settings/CommandLine.h"
#include "support/TestFolder.h"

#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();

private:
    TestFolder m_units;
};

void TestSettings::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files");
    const QString a = m_units.write("a.fbi", "{\r\n}\r\n");
    const QString b = m_units.write("b.fbi", "{\r\n}\r\n");
    QTest::newRow("none") << QStringList{"korvid4"} << QStringList();
    QTest::newRow("several existing files, each its own") << QStringList{"korvid4", a, b} << QStringList{a, b};
    QTest::newRow("not all existing: one path joined by blanks")
        << QStringList{"korvid4", a, "b.fbi"} << QStringList{a + " b.fbi"};
    QTest::newRow("a path with blanks") << QStringList{"korvid4", "my", "unit.fbi"} << QStringList{"my unit.fbi"};
    QTest::newRow("quoted in parts") << QStringList{"korvid4", "\"my", "unit.fbi\""} << QStringList{"my unit.fbi"};
    QTest::newRow("only one pair removed") << QStringList{"korvid4", "\"\"a.fbi\"\""} << QStringList{"\"a.fbi\""};
    QTest::newRow("a quote at one end only") << QStringList{"korvid4", "\"a.fbi"} << QStringList{"\"a.fbi"};
    QTest::newRow("empty quotes") << QStringList{"korvid4", "\"\""} << QStringList();
}

void TestSettings::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, files);
    QCOMPARE(CommandLine::filesToOpen(arguments), files);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
