#include "cli/CommandLineTool.h"
#include "mod/ModProblem.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {
const QString Mods = QStringLiteral(KORVID_TEST_DATA_DIR "/mods");

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

// The command line's work in this process, as korvid4 runs it before any window.
Run run(const QStringList &arguments)
{
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code = CommandLineTool::run(QStringList{QStringLiteral("korvid4")} + arguments, out, err);
    out.flush();
    err.flush();
    return result;
}
}

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void handlesOnlyItsOptions_data();
    void handlesOnlyItsOptions();
    void exitCodes_data();
    void exitCodes();
    void printsSortedLinesAndASummary();
    void printsPathsAsTheFolderWasNamed();
    void printsJson();
};

void TestCli::handlesOnlyItsOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("handled");
    QTest::newRow("a unit file to open") << QStringList{"korvid4", "tank.fbi"} << false;
    QTest::newRow("nothing") << QStringList{"korvid4"} << false;
    QTest::newRow("check") << QStringList{"korvid4", "--check", "mod"} << true;
    QTest::newRow("check=") << QStringList{"korvid4", "--check=mod"} << true;
    QTest::newRow("help") << QStringList{"korvid4", "--help"} << true;
    QTest::newRow("kinds") << QStringList{"korvid4", "--kinds"} << true;
}

void TestCli::handlesOnlyItsOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, handled);
    QCOMPARE(CommandLineTool::handles(arguments), handled);
}

void TestCli::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // a text the output (or the errors) holds
    const QString planted = Mods + QStringLiteral("/planted");
    QTest::newRow("a clean mod") << QStringList{"--check", Mods + "/clean"} << 0 << "No problems in 7 files.";
    QTest::newRow("a mod with problems") << QStringList{"--check", planted} << 1 << "30 problems";
    QTest::newRow("its problems all ignored")
        << QStringList{"--check", planted,
                       "--ignore=missing-weapon,missing-explosion,missing-corpse,missing-feature,missing-model,missing-script,"
                       "missing-picture,missing-sound-category,missing-movement-class,missing-side,missing-build-entry",
                       "--ignore=duplicate-unit,duplicate-unit-number,duplicate-weapon,duplicate-feature,duplicate-key,weapon-gap,"
                       "yardmap-size,misread-value,missing-semicolon,placeholder-value,unreadable-file"}
        << 0 << "No problems in 16 files.";
    QTest::newRow("a folder that is not there") << QStringList{"--check", Mods + "/nowhere"} << 2 << "cannot read the folder";
    QTest::newRow("a file, not a folder") << QStringList{"--check", planted + "/Units/tank.fbi"} << 2 << "cannot read the folder";
    QTest::newRow("a folder of no definitions") << QStringList{"--check", planted + "/objects3d"} << 2 << "holds no unit";
    QTest::newRow("no folder") << QStringList{"--check"} << 2 << "needs the folder";
    QTest::newRow("an unknown kind") << QStringList{"--check", planted, "--ignore=missing-weapons"} << 2 << "unknown kind";
    QTest::newRow("an unknown format") << QStringList{"--check", planted, "--format=xml"} << 2 << "unknown format";
    QTest::newRow("an unknown option") << QStringList{"--check", planted, "--fast"} << 2 << "unknown option";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--format=json";
    QTest::newRow("the kinds") << QStringList{"--kinds"} << 0 << "missing-weapon: ";
}

void TestCli::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, said);
    const Run result = run(arguments);
    QCOMPARE(result.code, code);
    QVERIFY2((result.out + result.err).contains(said), qPrintable(result.out + result.err));
    // Errors go to the error stream, the report to the output.
    QCOMPARE(result.err.isEmpty(), code != 2);
}

void TestCli::printsSortedLinesAndASummary()
{
    const Run result = run({QStringLiteral("--check"), Mods + QStringLiteral("/planted")});
    QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeLast(), QStringLiteral("30 problems (13 errors, 14 warnings, 3 notes) in 16 files."));
    QCOMPARE(lines.size(), 30);
    const QRegularExpression format(QStringLiteral("^(.+?)(?::(\\d+))?: ([a-z-]+): (.+)$"));
    QString lastPath;
    int lastLine = 0;
    for (const QString &line : std::as_const(lines)) {
        const QRegularExpressionMatch match = format.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        QVERIFY2(isProblemKind(match.captured(3)), qPrintable(line));
        QVERIFY2(match.captured(1).startsWith(Mods + QStringLiteral("/planted/")), qPrintable(line));
        const int number = match.captured(2).toInt();
        QVERIFY2(match.captured(1) > lastPath || (match.captured(1) == lastPath && number >= lastLine), qPrintable(line));
        lastPath = match.captured(1);
        lastLine = number;
    }
    // A problem of a whole file has no line number.
    QVERIFY(lines.contains(Mods + QStringLiteral("/planted/Units/broken.fbi: unreadable-file: cannot be read: it is not a text file")));
}

// Paths start as the folder was given, relative or not, and the relative folder is read as well.
void TestCli::printsPathsAsTheFolderWasNamed()
{
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(Mods));
    const Run relative = run({QStringLiteral("--check=planted/")});
    QVERIFY(QDir::setCurrent(current));
    QCOMPARE(relative.code, 1);
    QVERIFY2(relative.out.startsWith(QLatin1String("planted/Features/corpses/tank_dead.tdf:9: missing-feature: ")), qPrintable(relative.out));
    const Run absolute = run({QStringLiteral("--check"), Mods + QStringLiteral("/planted")});
    QCOMPARE(relative.out.count(QLatin1Char('\n')), absolute.out.count(QLatin1Char('\n')));
}

void TestCli::printsJson()
{
    const QString planted = Mods + QStringLiteral("/planted");
    const Run result = run({QStringLiteral("--check"), planted, QStringLiteral("--format=json"), QStringLiteral("--ignore=misread-value")});
    QCOMPARE(result.code, 1);
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(result.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(report.value(QLatin1String("folder")).toString(), planted);
    QCOMPARE(report.value(QLatin1String("files")).toInt(), 16);
    const QJsonArray problems = report.value(QLatin1String("problems")).toArray();
    QCOMPARE(problems.size(), 28);
    const QJsonObject summary = report.value(QLatin1String("summary")).toObject();
    QCOMPARE(summary.value(QLatin1String("problems")).toInt(), 28);
    QCOMPARE(summary.value(QLatin1String("errors")).toInt() + summary.value(QLatin1String("warnings")).toInt()
                 + summary.value(QLatin1String("notes")).toInt(),
             28);
    const QJsonObject first = problems.first().toObject();
    QCOMPARE(first.value(QLatin1String("file")).toString(), planted + QStringLiteral("/Features/corpses/tank_dead.tdf"));
    QCOMPARE(first.value(QLatin1String("line")).toInt(), 9);
    QCOMPARE(first.value(QLatin1String("kind")).toString(), QStringLiteral("missing-feature"));
    QCOMPARE(first.value(QLatin1String("severity")).toString(), QStringLiteral("error"));
    QVERIFY(!first.value(QLatin1String("message")).toString().isEmpty());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
