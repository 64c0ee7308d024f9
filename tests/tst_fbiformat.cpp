#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "documents/LineReader.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QString DataDir = QStringLiteral(KORVID_TEST_DATA_DIR);

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

FbiReadResult readBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readFbi(buffer);
}

FbiContent makeContent(const QList<FbiRow> &rows, const QList<QByteArray> &preserved = {})
{
    FbiContent content;
    for (const FbiRow &row : rows)
        content.appendRow(row.name, row.value);
    content.preserved = preserved;
    return content;
}

QStringList rowTexts(const FbiContent &content)
{
    QStringList texts;
    for (const FbiRow &row : content.rows())
        texts.append(row.name + QLatin1Char('|') + row.value);
    return texts;
}
}

class TestFbiFormat : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void lineEnds_data();
    void lineEnds();
    void lineEndAcrossBlocks();
    void readingStops_data();
    void readingStops();
    void nestedSections_data();
    void nestedSections();
    void limits_data();
    void limits();
    void fixtureRoundTrip_data();
    void fixtureRoundTrip();
    void writerLayout();
    void writtenRowsReadBack();
    void openFailures();
    void saveFailuresKeepTheOldFile_data();
    void saveFailuresKeepTheOldFile();
    void fullDiskKeepsTheOldFile();
};

void TestFbiFormat::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const int skip = int(ParsedLine::Kind::Skip);
    const int row = int(ParsedLine::Kind::Row);
    const int end = int(ParsedLine::Kind::SectionEnd);

    QTest::newRow("plain") << QByteArray("Acceleration=0.895;") << row << "Acceleration" << "0.895";
    QTest::newRow("one tab") << QByteArray("\tAcceleration=0.895;") << row << "Acceleration" << "0.895";
    QTest::newRow("two tabs") << QByteArray("\t\tAcceleration=0.895;") << row << "Acceleration" << "0.895";
    QTest::newRow("blanks around") << QByteArray("   Acceleration=0.895;  ") << row << "Acceleration" << "0.895";
    QTest::newRow("blanks around equals kept") << QByteArray("\tName = Big Tank ;") << row << "Name " << " Big Tank ";
    QTest::newRow("blank after tab kept") << QByteArray(" \t Name=X;") << row << " Name" << "X";
    QTest::newRow("tabs inside removed") << QByteArray("Name\t=\tX;") << row << "Name" << "X";
    QTest::newRow("first equals splits") << QByteArray("Weapon=a=b=c;") << row << "Weapon" << "a=b=c";
    QTest::newRow("empty name") << QByteArray("=value;") << row << "" << "value";
    QTest::newRow("empty value") << QByteArray("Name=;") << row << "Name" << "";
    QTest::newRow("no semicolon") << QByteArray("Name=X") << row << "Name" << "X";
    QTest::newRow("value ends at semicolon") << QByteArray("Weapon1=a;b;") << row << "Weapon1" << "a";
    QTest::newRow("trailing comment dropped") << QByteArray("BuildCostEnergy=3620;//4521") << row << "BuildCostEnergy" << "3620";
    QTest::newRow("commented-out variable") << QByteArray("\t//MaxDamage=2000;") << row << "//MaxDamage" << "2000";
    QTest::newRow("letter case kept") << QByteArray("canMove=YES;") << row << "canMove" << "YES";
    QTest::newRow("latin-1 bytes") << QByteArray("Name=Panzerj\xe4ger;") << row << "Name" << QString::fromLatin1("Panzerj\xe4ger");
    QTest::newRow("semicolon in name") << QByteArray("Build;Cost=1;") << skip << "" << "";
    QTest::newRow("no equals") << QByteArray("stray words") << skip << "" << "";
    QTest::newRow("empty") << QByteArray("") << skip << "" << "";
    QTest::newRow("only blanks, tabs, semicolons") << QByteArray(" \t; ;\t") << skip << "" << "";
    QTest::newRow("header") << QByteArray("[UNITINFO]") << skip << "" << "";
    QTest::newRow("header lower case") << QByteArray("[unitinfo]") << skip << "" << "";
    QTest::newRow("header mixed case behind tab") << QByteArray("\t[UnitInfo]") << skip << "" << "";
    QTest::newRow("header with blanks inside") << QByteArray("[ UNITINFO ]") << skip << "" << "";
    QTest::newRow("opening brace") << QByteArray("\t{") << skip << "" << "";
    QTest::newRow("closing brace") << QByteArray("}") << end << "" << "";
    QTest::newRow("closing brace behind tab") << QByteArray("\t}") << end << "" << "";
    QTest::newRow("closing brace and blank") << QByteArray("} ") << end << "" << "";
    QTest::newRow("closing brace and semicolon") << QByteArray("};") << end << "" << "";
    QTest::newRow("closing brace and comment") << QByteArray("}// end") << skip << "" << "";
}

void TestFbiFormat::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QByteArray scratch;
    const ParsedLine parsed = ParseLine(line, scratch);
    QCOMPARE(int(parsed.kind), kind);
    QCOMPARE(QString::fromLatin1(parsed.name.data(), parsed.name.size()), name);
    QCOMPARE(QString::fromLatin1(parsed.value.data(), parsed.value.size()), value);
}

void TestFbiFormat::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("blank lines kept") << QByteArray("\r\n\r\nx") << QStringList{"", "", "x"};
    QTest::newRow("no end after last line") << QByteArray("a\r\nlast") << QStringList{"a", "last"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
}

void TestFbiFormat::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QStringList read;
    QByteArrayView line;
    while (reader.next(line) == LineReader::Status::Line)
        read.append(QString::fromLatin1(line.data(), line.size()));
    QCOMPARE(read, lines);
}

// A CR LF whose two bytes fall into different blocks of the reader is still one line end.
void TestFbiFormat::lineEndAcrossBlocks()
{
    for (int firstLength : {64 * 1024 - 1, 64 * 1024 - 2, 64 * 1024}) {
        QByteArray bytes(firstLength, 'x');
        bytes += "\r\nsecond\r\nthird";
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        LineReader reader(buffer);
        QByteArrayView line;
        QStringList read;
        while (reader.next(line) == LineReader::Status::Line)
            read.append(QString::fromLatin1(line.data(), qMin<qsizetype>(line.size(), 6)));
        QCOMPARE(read, (QStringList{"xxxxxx", "second", "third"}));
    }
}

void TestFbiFormat::readingStops_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("sectionEnded");
    QTest::newRow("at the closing brace") << QByteArray("[UNITINFO]\r\n{\r\nA=1;\r\n}\r\nB=2;\r\n") << QStringList{"A|1"} << true;
    QTest::newRow("not at a brace with a comment") << QByteArray("{\r\nA=1;\r\n}//x\r\nB=2;\r\n}") << QStringList{"A|1", "B|2"} << true;
    QTest::newRow("without a closing brace") << QByteArray("[UNITINFO]\r\n{\r\nA=1;\r\nB=2;") << QStringList{"A|1", "B|2"} << false;
    QTest::newRow("without header or braces") << QByteArray("A=1;\nB=2;\n") << QStringList{"A|1", "B|2"} << false;
    QTest::newRow("duplicates kept in order") << QByteArray("{\nA=1;\nA=2;\nA=1;\n}") << QStringList{"A|1", "A|2", "A|1"} << true;
    QTest::newRow("LF file gives every row") << QByteArray("[UNITINFO]\n{\nA=1;\nB=2;\n}\n") << QStringList{"A|1", "B|2"} << true;
    QTest::newRow("section before the unit's brace is skipped") << QByteArray("[OTHER]\r\n{\r\nA=1;\r\n}\r\nB=2;") << QStringList{"A|1"} << true;
}

void TestFbiFormat::readingStops()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(bool, sectionEnded);
    const FbiReadResult result = readBytes(bytes);
    QCOMPARE(int(result.error), int(FbiReadResult::Error::None));
    QCOMPARE(rowTexts(result.content), rows);
    QCOMPARE(result.sectionEnded, sectionEnded);
    QVERIFY(result.content.preserved.isEmpty());
}

void TestFbiFormat::nestedSections_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("preserved");
    QTest::newRow("brace on its own line")
        << QByteArray("[UNITINFO]\r\n{\r\nA=1;\r\n\t[SFXTypes]\r\n\t{\r\n\t\tx=1;\r\n\t}\r\nB=2;\r\n}\r\n")
        << QStringList{"A|1", "B|2"} << QStringList{"\t[SFXTypes]", "\t{", "\t\tx=1;", "\t}"};
    QTest::newRow("brace on the header line")
        << QByteArray("{\n[customParams] {\nx=1;\n}\nB=2;\n}\n")
        << QStringList{"B|2"} << QStringList{"[customParams] {", "x=1;", "}"};
    QTest::newRow("header with trailing blank and tab")
        << QByteArray("{\n[customParams] \t\n{\nx=1;\n}\n}\n")
        << QStringList{} << QStringList{"[customParams] \t", "{", "x=1;", "}"};
    QTest::newRow("nested twice")
        << QByteArray("{\n[a]\n{\n[b]\n{\nx=1;\n}\ny=2;\n}\nC=3;\n}\n")
        << QStringList{"C|3"} << QStringList{"[a]", "{", "[b]", "{", "x=1;", "}", "y=2;", "}"};
    QTest::newRow("inner header with its brace on its line")
        << QByteArray("{\n[a]\n{\n[b] {\nx=1;\n}\ny=2;\n}\nC=3;\n}\nD=4;\n")
        << QStringList{"C|3"} << QStringList{"[a]", "{", "[b] {", "x=1;", "}", "y=2;", "}"};
    QTest::newRow("header without braces before the unit's end")
        << QByteArray("{\nA=1;\n[empty]\n}\nB=2;\n")
        << QStringList{"A|1"} << QStringList{"[empty]"};
    QTest::newRow("not a header: text after the bracket")
        << QByteArray("{\n[a] b\n{\nx=1;\n}\nB=2;\n}\n")
        << QStringList{"x|1"} << QStringList{};
    QTest::newRow("unclosed at the end of the file")
        << QByteArray("{\nA=1;\n[open]\n{\nx=1;")
        << QStringList{"A|1"} << QStringList{"[open]", "{", "x=1;", "\t}"};
    QTest::newRow("unclosed twice at the end of the file")
        << QByteArray("{\n[a]\n{\n[b] {\nx=1;\n}\n[c]\n{\ny=2;")
        << QStringList{} << QStringList{"[a]", "{", "[b] {", "x=1;", "}", "[c]", "{", "y=2;", "\t\t}", "\t}"};
}

void TestFbiFormat::nestedSections()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, preserved);
    const FbiReadResult result = readBytes(bytes);
    QCOMPARE(rowTexts(result.content), rows);
    QStringList kept;
    for (const QByteArray &line : result.content.preserved)
        kept.append(QString::fromLatin1(line));
    QCOMPARE(kept, preserved);
}

void TestFbiFormat::limits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("rowsKept");
    const int none = int(FbiReadResult::Error::None);
    const QByteArray longValue(32767 - 2, 'v');
    QTest::newRow("line of 32767 characters") << "A=1;\r\nB=" + longValue + "\r\n}" << none << 2;
    QTest::newRow("line of 32768 characters")
        << "A=1;\r\nB=" + longValue + "v\r\n}" << int(FbiReadResult::Error::LineTooLong) << 1;
    QTest::newRow("long line in a nested section")
        << "{\r\nA=1;\r\n[n]\r\n{\r\n" + QByteArray(40000, 'x') + "\r\n}\r\n}" << int(FbiReadResult::Error::LineTooLong) << 1;
    QTest::newRow("32767 lines without a brace") << QByteArray("A=1;\n").repeated(32767) << none << 32767;
    QTest::newRow("32768 lines without a brace")
        << QByteArray("A=1;\n").repeated(32768) << int(FbiReadResult::Error::TooManyLines) << 32768;
    QTest::newRow("brace on line 32768") << QByteArray("A=1;\n").repeated(32767) + "}\nB=2;\n" << none << 32767;
    QTest::newRow("brace on line 32769")
        << QByteArray("A=1;\n").repeated(32768) + "}\n" << int(FbiReadResult::Error::TooManyLines) << 32768;
}

void TestFbiFormat::limits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(int, rowsKept);
    const FbiReadResult result = readBytes(bytes);
    QCOMPARE(int(result.error), error);
    QCOMPARE(int(result.content.rowCount()), rowsKept);
}

void TestFbiFormat::fixtureRoundTrip_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("saved");
    QTest::newRow("CR LF") << "unit-crlf.fbi" << "unit.saved.fbi";
    QTest::newRow("CR") << "unit-cr.fbi" << "unit.saved.fbi";
    QTest::newRow("LF") << "unit-lf.fbi" << "unit.saved.fbi";
    QTest::newRow("nested sections") << "nested.fbi" << "nested.saved.fbi";
    QTest::newRow("latin-1 bytes") << "latin1.fbi" << "latin1.saved.fbi";
    QTest::newRow("empty file") << "empty.fbi" << "empty.saved.fbi";
    QTest::newRow("no header or braces") << "bare.fbi" << "bare.saved.fbi";
    QTest::newRow("nested section left open") << "nested-open.fbi" << "nested-open.saved.fbi";
    QTest::newRow("unit header inside the unit") << "header-inside.fbi" << "header-inside.saved.fbi";
}

// Opening a file and saving it gives exactly the expected bytes; opening the saved file changes nothing more.
void TestFbiFormat::fixtureRoundTrip()
{
    QFETCH(QString, fixture);
    QFETCH(QString, saved);
    const FbiReadResult read = readFbiFile(DataDir + QLatin1Char('/') + fixture);
    QCOMPARE(int(read.error), int(FbiReadResult::Error::None));
    const QByteArray expected = fileBytes(DataDir + QLatin1Char('/') + saved);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(writeFbi(read.content), expected);
    QCOMPARE(writeFbi(readBytes(expected).content), expected);
}

void TestFbiFormat::writerLayout()
{
    QCOMPARE(writeFbi(FbiContent{}), QByteArray("[UNITINFO]\r\n\t{\r\n\t}\r\n"));
    FbiContent content = makeContent({{"Side", "CORE"}, {"Name", "Obliterator"}});
    QCOMPARE(writeFbi(content), QByteArray("[UNITINFO]\r\n\t{\r\n\tSide=CORE;\r\n\tName=Obliterator;\r\n\t}\r\n"));
    content.preserved = {"[SFXTypes]", "{", "}"};
    QCOMPARE(writeFbi(content),
             QByteArray("[UNITINFO]\r\n\t{\r\n\tSide=CORE;\r\n\tName=Obliterator;\r\n[SFXTypes]\r\n{\r\n}\r\n\t}\r\n"));
    // A character the file's one-byte text cannot hold is written as "?".
    QCOMPARE(writeFbi(makeContent({{QString::fromUtf8("N\u20ac"), QString::fromLatin1("\xe9")}})),
             QByteArray("[UNITINFO]\r\n\t{\r\n\tN?=\xe9;\r\n\t}\r\n"));
}

// Blanks at either end of names and values survive a save and a new read.
void TestFbiFormat::writtenRowsReadBack()
{
    const QList<FbiRow> rows{{" Name ", " Big Tank "}, {"", ""}, {"Same", "1"}, {"Same", "a=b"}, {"//Old", "x"},
                             {QString::fromLatin1("\xc6"), QString::fromLatin1("\xff\x80")}};
    const FbiReadResult read = readBytes(writeFbi(makeContent(rows)));
    QCOMPARE(read.content.rows(), rows);
    QVERIFY(read.sectionEnded);
}

void TestFbiFormat::openFailures()
{
    QTemporaryDir dir;
    QCOMPARE(int(readFbiFile(dir.filePath("missing.fbi")).error), int(FbiReadResult::Error::CannotOpen));
    QCOMPARE(int(readFbiFile(dir.path()).error), int(FbiReadResult::Error::CannotOpen));
    QCOMPARE(int(readFbiFile(QString()).error), int(FbiReadResult::Error::CannotOpen));
    // A pipe would block the reader until something writes to it.
    const QString pipe = dir.filePath("pipe.fbi");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QCOMPARE(int(readFbiFile(pipe).error), int(FbiReadResult::Error::CannotOpen));
    if (geteuid() != 0) {
        const QString locked = dir.filePath("locked.fbi");
        QVERIFY(putFile(locked, "A=1;"));
        QFile::setPermissions(locked, {});
        QCOMPARE(int(readFbiFile(locked).error), int(FbiReadResult::Error::CannotOpen));
    }
}

void TestFbiFormat::saveFailuresKeepTheOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder") << QStringLiteral("folder");
    QTest::newRow("a missing folder") << QStringLiteral("missing/unit.fbi");
    QTest::newRow("below a file") << QStringLiteral("old.fbi/unit.fbi");
    QTest::newRow("a device") << QStringLiteral("/dev/full");
    QTest::newRow("no name") << QString();
}

void TestFbiFormat::saveFailuresKeepTheOldFile()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QByteArray old("[UNITINFO]\r\n\t{\r\n\tOld=1;\r\n\t}\r\n");
    QVERIFY(putFile(dir.filePath("old.fbi"), old));
    const QString path = target.startsWith('/') || target.isEmpty() ? target : dir.filePath(target);
    QVERIFY(!writeFbiFile(path, makeContent({{"New", "2"}})));
    QCOMPARE(fileBytes(dir.filePath("old.fbi")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.fbi"});
    struct stat device{};
    QVERIFY(stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode));
}

// A disk that fills up during the save leaves the old file whole.
void TestFbiFormat::fullDiskKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.fbi");
    const QByteArray old("[UNITINFO]\r\n\t{\r\n\tOld=1;\r\n\t}\r\n");
    QVERIFY(putFile(path, old));
    FbiContent large;
    for (int row = 0; row < 1000; ++row)
        large.appendRow(QStringLiteral("Name"), QString(100, 'x'));

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeFbiFile(path, large);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!written);
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"unit.fbi"});
}

QTEST_GUILESS_MAIN(TestFbiFormat)
#include "tst_fbiformat.moc"
