#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "documents/LineReader.h"
#include "documents/SafeWrite.h"
#include "documents/ValueRule.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The file access tests below use the POSIX calls; tst_platform holds those of Windows.
#if defined(Q_OS_UNIX)
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {
const QString DataDir = QStringLiteral(KORVID_TEST_DATA_DIR "/");
constexpr int NoError = int(FbiReadResult::Error::None);

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FbiReadResult readBytes(const QByteArray &bytes, FbiKind kind = FbiKind::Unit)
{
    return readFbi(bytes, kind);
}

// The rows as "name|value", a section as "[name]", each after a ">" for every section it stands in.
QString shownRows(const FbiContent &content)
{
    QStringList shown;
    for (const FbiRow &row : content.rows())
        shown.append(QString(row.depth, QLatin1Char('>')) + (row.section ? QLatin1Char('[') + row.name + QLatin1Char(']') : row.name + QLatin1Char('|') + row.value));
    return shown.join(QLatin1Char(' '));
}

FbiContent contentOf(const QList<FbiRow> &rows)
{
    FbiContent content;
    for (const FbiRow &row : rows)
        content.appendRow(row.name, row.value);
    return content;
}

#if defined(Q_OS_UNIX)
FbiContent largeContent()
{
    FbiContent content;
    for (int row = 0; row < 1000; ++row)
        content.appendRow(QStringLiteral("Name"), QString(100, QLatin1Char('x')));
    return content;
}

// A file system of 64 KiB mounted on a temporary folder while this lives. Mounting needs root.
class SmallDisk
{
public:
    SmallDisk()
    {
        if (geteuid() != 0)
            m_skipReason = QStringLiteral("Mounting a small file system needs root.");
        else if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", m_dir.path()}) != 0)
            m_skipReason = QStringLiteral("Mounting a tmpfs is not allowed here.");
        else
            m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute("umount", {m_dir.path()});
    }
    QString skipReason() const { return m_skipReason; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    bool remountReadOnly() { return QProcess::execute("mount", {"-o", "remount,ro", m_dir.path()}) == 0; }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_skipReason;
};
#endif
}

class TestFbiFormat : public QObject
{
    Q_OBJECT

private slots:
    void oneLine_data();
    void oneLine();
    void valueRuleReadsBack_data();
    void valueRuleReadsBack();
    void lineEnds_data();
    void lineEnds();
    void read_data();
    void read();
    void limits_data();
    void limits();
    void fixtureRoundTrip_data();
    void fixtureRoundTrip();
    void writer();
    void aFailedFlushKeepsTheOldFile();
    void keptLayoutIsWrittenOrRefused_data();
    void keptLayoutIsWrittenOrRefused();
    void keptLayout_data();
    void keptLayout();
    void parseRows_data();
    void parseRows();
#if defined(Q_OS_UNIX)
    void openFailures();
    void saveFailuresKeepTheOldFile_data();
    void saveFailuresKeepTheOldFile();
    void saveOnASmallDisk_data();
    void saveOnASmallDisk();
    void fileStamp();
#endif
};

void TestFbiFormat::oneLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("read"); // "name|value" for a row, "}" for the unit's end, "" for nothing
    QTest::newRow("blanks trimmed at the ends only") << QByteArray("  Name = Big Tank  ") << "Name | Big Tank";
    QTest::newRow("blanks before the semicolon kept") << QByteArray(" Name=X ; ") << "Name|X ";
    QTest::newRow("tabs at the value's ends removed") << QByteArray(" \t Name\t=\tX\t;") << " Name|X";
    QTest::newRow("a tab inside the value stays") << QByteArray("\tscales=36 30\t38;") << "scales|36 30\t38";
    QTest::newRow("every tab of the name removed") << QByteArray("\tNa\tme\t=\t\tv\t \t") << "Name|v\t ";
    QTest::newRow("tabs around a brace") << QByteArray("\t}\t;") << "}";
    QTest::newRow("value ends at its first semicolon") << QByteArray("Weapon1=a;b;//c") << "Weapon1|a";
    QTest::newRow("first equals splits, case kept") << QByteArray("canMove=a=B;") << "canMove|a=B";
    QTest::newRow("empty name and value") << QByteArray("=;") << "|";
    QTest::newRow("commented-out variable") << QByteArray("\t//MaxDamage=2000;") << "//MaxDamage|2000";
    QTest::newRow("only blanks, tabs, semicolons") << QByteArray(" \t; ;\t") << "";
    // Inside the unit, even the unit's own header opens a nested section.
    QTest::newRow("the unit's header, inside the unit") << QByteArray("\t[UnitInfo];") << "[UnitInfo]";
    QTest::newRow("opening brace") << QByteArray("\t{") << "";
    QTest::newRow("closing brace") << QByteArray("}") << "}";
    QTest::newRow("closing brace and blank") << QByteArray("} ") << "}";
    QTest::newRow("closing brace and semicolon") << QByteArray("};") << "}";
    QTest::newRow("closing brace with a comment") << QByteArray("}// end") << "";
}

// One line inside a unit, as the reader reads it.
void TestFbiFormat::oneLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, read);
    const FbiReadResult result = readBytes("{\n" + line);
    QCOMPARE(int(result.error), NoError);
    QCOMPARE(result.sectionEnded ? QStringLiteral("}") : shownRows(result.content), read);
}

void TestFbiFormat::valueRuleReadsBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "ARM" << "ARM";
    QTest::newRow("a blank inside") << "Big Tank" << "Big Tank";
    QTest::newRow("a tab inside") << "36 30\t38" << "36 30\t38";
    QTest::newRow("a leading tab") << "\tT" << "T";
    QTest::newRow("a trailing blank") << "new " << "new";
    QTest::newRow("blanks and tabs around") << " \t x \t " << "x";
    QTest::newRow("a semicolon") << "ARM;Evil=1" << "ARM";
    QTest::newRow("a line break") << "a\r\nB=2" << "a";
    QTest::newRow("an equals sign") << "a=b" << "a=b";
    QTest::newRow("only blanks") << "  " << "";
    QTest::newRow("comment marks") << "x // y /* z */" << "x // y /* z */";
}

// What the value rule lets into a value is what the reader reads back from a row, with a ";" after it
// or without (a row of the file's own text may have none).
void TestFbiFormat::valueRuleReadsBack()
{
    QFETCH(QString, typed);
    QFETCH(QString, value);
    const CheckedValue checked = checkValue(typed);
    QCOMPARE(checked.value, value);
    QCOMPARE(checked.change == CheckedValue::Change::None, typed == value);
    for (const QByteArray &line : {"\tName=" + value.toLatin1() + ";", "\tName=" + value.toLatin1()}) {
        const FbiReadResult read = readBytes("{\n" + line + "\n}\n");
        QCOMPARE(read.content.rowCount(), qsizetype(1));
        QCOMPARE(read.content.value(0), value);
    }
}

void TestFbiFormat::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines"); // each cut to six characters
    const QByteArray firstBlock(64 * 1024 - 1, 'x'); // the reader's block, but for the last byte
    QTest::newRow("mixed, none after the last") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR LF, blank lines") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("CR LF split across blocks") << firstBlock + "\r\nb\r\nc" << QStringList{"xxxxxx", "b", "c"};
    QTest::newRow("CR ending a block, no LF") << firstBlock + "\rb" << QStringList{"xxxxxx", "b"};
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
        read.append(QString::fromLatin1(line.first(qMin<qsizetype>(line.size(), 6))));
    QCOMPARE(read, lines);
}

void TestFbiFormat::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("definitions");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QByteArrayList>("kept"); // the block comments' lines
    QTest::newRow("stops at the first closing brace, not at one with a comment")
        << QByteArray("[UNITINFO]\r\n{\r\nA=1;\r\n}//x\r\nB=2;\r\n}\r\nC=3;\r\n}") << false << "A|1 B|2 }" << QByteArrayList{};
    QTest::newRow("reads to the end without a closing brace, duplicates kept")
        << QByteArray("{\nA=1;\nA=2;\nA=1;") << false << "A|1 A|2 A|1" << QByteArrayList{};
    QTest::newRow("a section before the unit's brace is not nested")
        << QByteArray("[OTHER]\r\n{\r\nA=1;\r\n}\r\nB=2;") << false << "A|1 }" << QByteArrayList{};
    QTest::newRow("nested header without braces: the brace after it ends the unit")
        << QByteArray("{\nA=1;\n[empty]\n}\nB=2;\n") << false << "A|1 [empty] }" << QByteArrayList{};
    QTest::newRow("not a header: text after the bracket")
        << QByteArray("{\n[a] b\n{\nx=1;\n}\nB=2;\n}\n") << false << "x|1 }" << QByteArrayList{};
    QTest::newRow("nested twice, an inner [b] { header, unclosed at the end")
        << QByteArray("{\nA=1;\n[a]\n{\n[b] {\nx=1;\n}\n[c]\n{\ny=2;") << false << "A|1 [a] >[b] >>x|1 >[c] >>y|2"
        << QByteArrayList{};
    QTest::newRow("rows of the unit after a nested section")
        << QByteArray("{\n[a]\n{\nx=1;\n}\nB=2;\n}") << false << "[a] >x|1 B|2 }" << QByteArrayList{};
    QTest::newRow("tabs inside names and values")
        << QByteArray("{\n\tscales\t=\t36 30\t38 ;\n\tNa\tme\t=\t1\t\n}") << false << "scales|36 30\t38  Name|1 }" << QByteArrayList{};
    QTest::newRow("every line end, none after the last")
        << QByteArray("A=1;\rB=2;\nC=3;\r\nD=4") << false << "A|1 B|2 C|3 D|4" << QByteArrayList{};
    QTest::newRow("block comment over rows, a row after its end")
        << QByteArray("{\n\t/*Old=1;\n\tOlder=2;*/ New=3;\n\tLast=4;\n}")
        << false << "New|3 Last|4 }" << QByteArrayList{"/*Old=1;", "\tOlder=2;*/"};
    QTest::newRow("block comment after a row's semicolon")
        << QByteArray("{\nA=1; /* note */ B=2;\nC=3;; /* x\n}\n*/\n}")
        << false << "A|1 B|2 C|3 }" << QByteArrayList{"/* note */", "/* x", "}", "*/"};
    QTest::newRow("not a block comment: inside a value or a line comment")
        << QByteArray("{\nA=x/*y;\nB=1; // old /* z\nC=2;\n}") << false << "A|x/*y B|1 C|2 }" << QByteArrayList{};
    QTest::newRow("block comment left open is closed")
        << QByteArray("{\nA=1;\n/* open\nB=2;") << false << "A|1" << QByteArrayList{"/* open", "B=2;", "*/"};
    QTest::newRow("braces in a nested section's comment do not count")
        << QByteArray("{\n[a]\n{\n\tx=1; /* } */\n/*\n}*/\n}\nB=2;\n}")
        << false << "[a] >x|1 B|2 }" << QByteArrayList{"/* } */", "/*", "}*/"};
    QTest::newRow("UTF-8 byte-order mark before a row")
        << QByteArray("\xEF\xBB\xBFName=1;") << false << "Name|1" << QByteArrayList{};
    QTest::newRow("UTF-8 byte-order mark before the brace")
        << QByteArray("\xEF\xBB\xBF{\n[a]\n{\nx=1;\n}\nB=2;\n}") << false << "[a] >x|1 B|2 }" << QByteArrayList{};
    QTest::newRow("definitions: every section, a damage section in each")
        << QByteArray("[LASER]\r\n\t{\r\n\trange=300;\r\n\t[DAMAGE]\r\n\t\t{\r\n\t\tdefault=50;\r\n\t\t}\r\n\t}\r\n"
                      "[GUN] {\r\n\trange=200;\r\n}\r\n")
        << true << "[LASER] >range|300 >[DAMAGE] >>default|50 [GUN] >range|200" << QByteArrayList{};
    QTest::newRow("definitions: a key outside every section, a stray brace")
        << QByteArray("a=1;\n}\n[X]\n{\nb=2;\n}\n") << true << "a|1 [X] >b|2" << QByteArrayList{};
    QTest::newRow("definitions: a line comment after a header, with and without its brace")
        << QByteArray("[A] // first\n{\na=1;\n}\n[B] { // second\nb=2;\n}\n") << true << "[A] >a|1 [B] >b|2" << QByteArrayList{};
    QTest::newRow("a line comment after a nested header")
        << QByteArray("{\n[a]\t// notes\n{\nx=1;\n}\nB=2;\n}") << false << "[a] >x|1 B|2 }" << QByteArrayList{};
    QTest::newRow("definitions: a header without braces before another")
        << QByteArray("[A]\n[B]\n{\nb=2;\n}") << true << "[A] [B] >b|2" << QByteArrayList{};
}

void TestFbiFormat::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, definitions);
    QFETCH(QString, rows);
    QFETCH(QByteArrayList, kept);
    const FbiReadResult result = readBytes(bytes, definitions ? FbiKind::Definitions : FbiKind::Unit);
    QCOMPARE(int(result.error), NoError);
    QString shown = shownRows(result.content);
    if (result.sectionEnded)
        shown += QStringLiteral(" }");
    QCOMPARE(shown.trimmed(), rows);
    QCOMPARE(result.content.preserved(), kept);
}

void TestFbiFormat::limits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("rows");
    const QByteArray line("A=1;\n");
    const QByteArray longRow = "B=" + QByteArray(32765, 'v'); // 32767 characters
    QTest::newRow("a line of 32767 characters") << "A=1;\r\n" + longRow + "\r\n}" << NoError << 2;
    QTest::newRow("a line of 32768 characters")
        << "A=1;\r\n" + longRow + "v\r\n}" << int(FbiReadResult::Error::LineTooLong) << 1;
    QTest::newRow("32768 lines without a closing brace")
        << line.repeated(32768) << int(FbiReadResult::Error::TooManyLines) << 32768;
    QTest::newRow("a closing brace on line 32768") << line.repeated(32767) + "}\n" << NoError << 32767;
    const QByteArray open = QByteArray("{\nA=1;\n") + QByteArray("[a] {\n").repeated(Fbi::MaxNestingDepth);
    // Each section's header is a row.
    QTest::newRow("nested as deep as allowed") << open << NoError << 1 + Fbi::MaxNestingDepth;
    QTest::newRow("nested deeper") << open + "{\nB=2;" << int(FbiReadResult::Error::TooDeep) << 1 + Fbi::MaxNestingDepth;
    const int notText = int(FbiReadResult::Error::NotText);
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE[\0U\0=\0") << notText << 0;
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0[\0U\0=") << notText << 0;
    QTest::newRow("mostly NUL bytes") << QByteArray("A=1;\n") + QByteArray(100, '\0') << notText << 0;
    QTest::newRow("a stray NUL byte") << QByteArray("A=1;\nB=\0;\n") << NoError << 2;
}

void TestFbiFormat::limits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(int, rows);
    const FbiReadResult result = readBytes(bytes);
    QCOMPARE(int(result.error), error);
    QCOMPARE(int(result.content.rowCount()), rows);
}

void TestFbiFormat::fixtureRoundTrip_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("saved");
    QTest::newRow("CR LF") << "unit-crlf.fbi" << "unit.saved.fbi";
    QTest::newRow("CR") << "unit-cr.fbi" << "unit.saved.fbi";
    QTest::newRow("LF") << "unit-lf.fbi" << "unit.saved.fbi";
    // Braces on their own lines and on a header line, a section nested in a nested one.
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
    const FbiReadResult read = readFbiFile(DataDir + fixture);
    QCOMPARE(int(read.error), NoError);
    const QByteArray expected = fileBytes(DataDir + saved);
    QCOMPARE(writeFbi(read.content).text, expected);
    QCOMPARE(writeFbi(readBytes(expected).content).text, expected);
}

void TestFbiFormat::writer()
{
    QCOMPARE(writeFbi(FbiContent()).text, QByteArray("[UNITINFO]\r\n\t{\r\n\t}\r\n"));
    QCOMPARE(writeFbi(contentOf({{"Side", "CORE"}, {"Name", "Obliterator"}})).text,
             QByteArray("[UNITINFO]\r\n\t{\r\n\tSide=CORE;\r\n\tName=Obliterator;\r\n\t}\r\n"));
    // A character the file's one-byte text cannot hold is written as "?".
    QCOMPARE(writeFbi(contentOf({{QString::fromUtf8("N\u20ac"), QString::fromLatin1("\xe9")}})).text,
             QByteArray("[UNITINFO]\r\n\t{\r\n\tN?=\xe9;\r\n\t}\r\n"));
    // Blanks at either end of names and values survive a save and a new read.
    const QList<FbiRow> rows{{" Name ", " Big Tank "}, {"", ""}, {"//Old", "a=b"}};
    const FbiReadResult read = readBytes(writeFbi(contentOf(rows)).text);
    QCOMPARE(read.content.rows(), rows);
    QVERIFY(read.sectionEnded);
    // A content read from no file has no text of its own to keep.
    const FbiText fresh = writeFbi(contentOf(rows), FbiLayout::Kept);
    QCOMPARE(fresh.text, writeFbi(contentOf(rows)).text);
    QCOMPARE(fresh.layout, FbiLayout::Standard);
    // A file of definitions: each section under its own header, its nested sections after its rows.
    const QByteArray weapons("[GUN]\n{\n[DAMAGE]\n{\ndefault=5;\n}\nrange=9;\n}\n");
    QCOMPARE(writeFbi(readBytes(weapons, FbiKind::Definitions).content).text,
             QByteArray("[GUN]\r\n\t{\r\n\trange=9;\r\n\t[DAMAGE]\r\n\t\t{\r\n\t\tdefault=5;\r\n\t\t}\r\n\t}\r\n"));
}

// The disk fails as the last bytes are forced out to it: the save says so, and the old file stays, alone.
void TestFbiFormat::aFailedFlushKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.fbi");
    const QByteArray old("[UNITINFO]\r\n{\r\n\tName=Old;\r\n}\r\n");
    QVERIFY(writeFileSafely(path, old).ok);
    const WriteOutcome written = writeFileSafely(path, "[UNITINFO]\r\n{\r\n\tName=New;\r\n}\r\n",
                                                 [](int) { return QStringLiteral("Input/output error"); });
    QVERIFY(!written.ok);
    QCOMPARE(written.reason, "Input/output error");
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"unit.fbi"});
}

// When an edit cannot be placed in the file's own text, the kept layout is refused with a reason:
// never the standard layout written instead, which would lose the file's comments and layout.
void TestFbiFormat::keptLayoutIsWrittenOrRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("edit");
    // A row added after a row whose line opens a block comment would land in the comment.
    QTest::newRow("a row after a line that opens a comment") << QByteArray("{\nA=1; /* open\nclosed */\n}\n") << "append B=2";
    // A section's header without braces has no line to add its rows after.
    QTest::newRow("a row in a section without braces") << QByteArray("{\nA=1;\n[s]\n}\n") << "insert 2 x=1";
    // The value would make the line longer than the reader opens.
    QTest::newRow("a line past the reader's limit")
        << QByteArray("{\nA=1; // " + QByteArray(Fbi::MaxLineLength - 20, 'c') + "\n}\n") << "set 0 " + QString(40, QLatin1Char('v'));
}

void TestFbiFormat::keptLayoutIsWrittenOrRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, edit);
    FbiContent content = readBytes(file).content;
    QVERIFY(content.hasFileText());
    const QStringList words = edit.split(QLatin1Char(' '));
    const QStringList assignment = words.last().split(QLatin1Char('='));
    if (words[0] == "append")
        content.appendRow(assignment[0], assignment[1]);
    else if (words[0] == "insert")
        content.insertRow(words[1].toInt(), assignment[0], assignment[1]);
    else
        content.setValue(words[1].toInt(), words[2]);
    const FbiText kept = writeFbi(content, FbiLayout::Kept);
    QVERIFY(!kept.ok);
    QVERIFY(kept.text.isEmpty());
    QCOMPARE(kept.layout, FbiLayout::Kept);
    QVERIFY(!kept.reason.isEmpty());
    // The write of a file reports the same, and the old file stays.
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.fbi");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(file) == file.size());
    old.close();
    const FbiWriteResult written = writeFbiFile(path, content, FbiLayout::Kept);
    QVERIFY(!written.ok);
    QCOMPARE(written.failure, FbiWriteResult::Failure::Layout);
    QCOMPARE(fileBytes(path), file);
}

void TestFbiFormat::keptLayout_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QByteArray>("lineEnd"); // what the fixture's CR LF become; empty: as it is
    QTest::addColumn<bool>("finalLineEnd");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QByteArray>("from"); // the saved text is the fixture's with from replaced by to
    QTest::addColumn<QByteArray>("to");
    struct Case
    {
        const char *name;
        const char *fixture;
        QStringList edits;
        QByteArray from;
        QByteArray to;
    };
    const QByteArray firstRows("\tName=Heavy\tTank ;\t// a tab inside the value\r\n\tBuildCostMetal = 240 ;//was 300\r\n");
    const QList<Case> cases{
        {"no edit", "kept.fbi", {}, "", ""},
        {"a value", "kept.fbi", {"set 0 KVHEAVY"}, "UnitName=KVTANK;", "UnitName=KVHEAVY;"},
        {"a value set back", "kept.fbi", {"set 0 X", "set 0 KVTANK"}, "", ""},
        {"a value with a tab inside", "kept.fbi", {"set 1 Big\tTank"}, "Name=Heavy\tTank ;", "Name=Big\tTank;"},
        {"a value before a line comment", "kept.fbi", {"set 2 300"}, " = 240 ;//", " =300;//"},
        {"a value after a block comment", "kept.fbi", {"set 4 0.05"}, "*/ Acceleration=0.04;", "*/ Acceleration=0.05;"},
        {"a row removed", "kept.fbi", {"take 3"}, "    Side=CORE;   \r\n", ""},
        {"a value in a nested section", "kept.fbi", {"set 6 custom:other"}, "=custom:kv_flash;", "=custom:other;"},
        {"a row first in a nested section", "kept.fbi", {"insert 6 a=1"}, "\t{\r\n\t\texplosion", "\t{\r\n\t\ta=1;\r\n\t\texplosion"},
        {"a row last in a nested section", "kept.fbi", {"insert 7 a=1"}, "kv_flash;\r\n", "kv_flash;\r\n\t\ta=1;\r\n"},
        {"a row removed and put back", "kept.fbi", {"take 3", "restore 3"}, "", ""},
        {"a changed row removed, put back, value set back", "kept.fbi",
         {"set 3 ARM", "take 3", "restore 3", "set 3 CORE"}, "", ""},
        {"the row after a block comment removed", "kept.fbi", {"take 4"}, "*/ Acceleration=0.04;", "*/ "},
        {"a row appended", "kept.fbi", {"append MaxDamage=2100"}, "380;\r\n", "380;\r\n\tMaxDamage=2100;\r\n"},
        {"a row inserted after another", "kept.fbi", {"insert 1 Side=ARM"}, "KVTANK;\r\n", "KVTANK;\r\n\tSide=ARM;\r\n"},
        {"rows inserted first", "kept.fbi", {"insert 0 A=1", "insert 1 B=2"}, "{\r\n\tUnitName", "{\r\n\tA=1;\r\n\tB=2;\r\n\tUnitName"},
        {"a row appended and taken again", "kept.fbi", {"append A=1", "take 8"}, "", ""},
        // The new row follows the nested section it comes after, outside it.
        {"the last row removed, a row appended", "kept.fbi", {"take 7", "append A=1"},
         "\t}\r\n\tTurnRate=380;\r\n", "\t}\r\n\tA=1;\r\n"},
        {"a row moved down", "kept.fbi", {"take 0", "restore 2"}, "\tUnitName=KVTANK;\r\n" + firstRows, firstRows + "\tUnitName=KVTANK;\r\n"},
        {"a row before the unit's brace", "kept-outside.fbi", {"set 0 1.3"}, "Version=1.2;", "Version=1.3;"},
        {"a row appended after a brace with a comment", "kept-outside.fbi", {"append A=1"}, "Later=1;\r\n",
         "Later=1;\r\nA=1;\r\n"},
        {"the last line removed", "bare.fbi", {"take 1"}, "\r\nSide=ARM;", ""},
        {"a row appended at the end", "bare.fbi", {"append A=1"}, "Side=ARM;", "Side=ARM;\r\nA=1;"},
    };
    const QList<std::pair<const char *, QByteArray>> lineEnds{{"CR LF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}};
    for (const Case &edit : cases) {
        for (const auto &[lineEndName, lineEnd] : lineEnds) {
            QTest::addRow("%s, %s", edit.name, lineEndName)
                << edit.fixture << lineEnd << true << edit.edits << edit.from << edit.to;
        }
        QTest::addRow("%s, no final line end", edit.name)
            << edit.fixture << QByteArray("\r\n") << false << edit.edits << edit.from << edit.to;
    }
    for (const QString &fixture : QDir(DataDir).entryList({"*.fbi"}, QDir::Files)) {
        QTest::addRow("unchanged %s", qPrintable(fixture))
            << fixture << QByteArray() << true << QStringList{} << QByteArray() << QByteArray();
    }
}

// Saved in the kept layout, a file changes only where its rows did.
void TestFbiFormat::keptLayout()
{
    QFETCH(QString, fixture);
    QFETCH(QByteArray, lineEnd);
    QFETCH(bool, finalLineEnd);
    QFETCH(QStringList, edits);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QByteArray original = fileBytes(DataDir + fixture);
    if (!lineEnd.isEmpty()) {
        original.replace("\r\n", lineEnd);
        from.replace("\r\n", lineEnd);
        to.replace("\r\n", lineEnd);
    }
    if (!finalLineEnd && original.endsWith(lineEnd))
        original.chop(lineEnd.size());
    QByteArray expected = original;
    if (!from.isEmpty()) {
        QCOMPARE(original.count(from), 1);
        expected.replace(from, to);
    }

    FbiReadResult read = readBytes(original);
    QCOMPARE(int(read.error), NoError);
    FbiContent &content = read.content;
    QList<FbiContent::TakenRow> taken;
    for (const QString &edit : edits) {
        const QStringList words = edit.split(QLatin1Char(' '));
        const QString &what = words.at(0);
        const int row = words.size() > 1 ? words.at(1).toInt() : 0;
        const QStringList assignment = words.last().split(QLatin1Char('='));
        if (what == "set")
            content.setValue(row, words.at(2));
        else if (what == "take")
            taken.append(content.takeRow(row));
        else if (what == "restore")
            content.restoreRow(row, taken.takeLast());
        else if (what == "insert")
            content.insertRow(row, assignment.at(0), assignment.at(1));
        else
            content.appendRow(assignment.at(0), assignment.at(1));
    }
    const FbiText written = writeFbi(content, FbiLayout::Kept);
    QVERIFY2(written.ok, qPrintable(written.reason));
    QCOMPARE(written.text, expected);
}

void TestFbiFormat::parseRows_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("rows");
    QTest::newRow("a whole unit") << QByteArray("[UNITINFO]\r\n{\r\n\tA=1;\r\n\t[x]\r\n\t{\r\n\ty=2;\r\n\t}\r\n}\r\nB=2;") << "A|1";
    QTest::newRow("a whole unit, its header in small letters") << QByteArray("[unitinfo]\n{\nA=1;\n}\nB=2;") << "A|1";
    QTest::newRow("lines from inside a unit")
        << QByteArray("\tA=1;\n\t[SFXTypes]\n\t{\n\t\tx=1;\n\t}\n\tB=2; // b\n") << "A|1 B|2";
    QTest::newRow("a nested section first") << QByteArray("[x]\n{\ny=2;\n}\nA=1;") << "A|1";
    QTest::newRow("a comment before the header")
        << QByteArray("// copied\n[UNITINFO]\n{\nA=1;\n}\n") << "A|1";
    QTest::newRow("block comments") << QByteArray("/* A=1;\nB=2; */ C=3; /* D=4; */") << "C|3";
    QTest::newRow("a commented-out row is a row") << QByteArray("// a note\n//A=1;\n{\n}") << "//A|1";
    // Nothing partial: a text the reader refuses gives no rows.
    QTest::newRow("a line too long") << "A=1;\n" + QByteArray(Fbi::MaxLineLength + 1, 'x') << "";
}

void TestFbiFormat::parseRows()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, rows);
    QStringList shown;
    for (const FbiRow &row : ::parseRows(text))
        shown.append(row.name + QLatin1Char('|') + row.value);
    QCOMPARE(shown.join(QLatin1Char(' ')), rows);
}

#if defined(Q_OS_UNIX)
void TestFbiFormat::openFailures()
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.fbi"); // would block a reader until something writes to it
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QStringList paths{dir.filePath("missing.fbi"), dir.path(), QString(), pipe};
    if (geteuid() != 0) {
        paths.append(dir.filePath("locked.fbi"));
        QVERIFY(writeFbiFile(paths.last(), FbiContent(), FbiLayout::Standard).ok && QFile::setPermissions(paths.last(), {}));
    }
    for (const QString &path : paths)
        QVERIFY2(readFbiFile(path).error == FbiReadResult::Error::CannotOpen, qPrintable(path));
}

void TestFbiFormat::saveFailuresKeepTheOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("sizeLimit"); // RLIMIT_FSIZE during the save; 0 leaves it
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder" << 0 << "Is a directory";
    QTest::newRow("a missing folder") << "missing/unit.fbi" << 0 << "No such file or directory";
    QTest::newRow("below a file") << "old.fbi/unit.fbi" << 0 << "Not a directory";
    QTest::newRow("a device") << "/dev/full" << 0 << "Not a regular file";
    QTest::newRow("no name") << QString() << 0 << "No such file or directory";
    QTest::newRow("a file size limit") << "old.fbi" << 4096 << "File too large";
}

void TestFbiFormat::saveFailuresKeepTheOldFile()
{
    QFETCH(QString, target);
    QFETCH(int, sizeLimit);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString oldPath = dir.filePath(QStringLiteral("old.fbi"));
    const bool folderMade = QDir(dir.path()).mkdir(QStringLiteral("folder"));
    QVERIFY(folderMade);
    FbiContent oldContent;
    oldContent.appendRow(QStringLiteral("Old"), QStringLiteral("1"));
    const bool oldWritten = writeFbiFile(oldPath, oldContent, FbiLayout::Standard).ok;
    QVERIFY(oldWritten);
    const QByteArray old = fileBytes(oldPath);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limit{sizeLimit > 0 ? rlim_t(sizeLimit) : saved.rlim_cur, saved.rlim_max};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QString path;
    if (!target.isEmpty())
        path = QDir(dir.path()).filePath(target);
    const FbiWriteResult written = writeFbiFile(path, largeContent(), FbiLayout::Standard);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY(!written.ok);
    QCOMPARE(written.reason, reason);
    QCOMPARE(fileBytes(oldPath), old);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(files.constFirst(), QStringLiteral("old.fbi"));
    struct stat device{};
    QVERIFY(stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode));
}

void TestFbiFormat::saveOnASmallDisk_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full, over the file") << "old.fbi" << false << "No space left on device";
    QTest::newRow("full, a new file") << "new.fbi" << false << "No space left on device";
    QTest::newRow("read-only, over the file") << "old.fbi" << true << "Read-only file system";
    QTest::newRow("read-only, a new file") << "new.fbi" << true << "Read-only file system";
}

// On a real file system that is full or read-only, a save fails with the system's reason and
// leaves the old file and nothing else.
void TestFbiFormat::saveOnASmallDisk()
{
    QFETCH(QString, target);
    QFETCH(bool, readOnly);
    QFETCH(QString, reason);
    SmallDisk disk;
    if (!disk.skipReason().isEmpty())
        QSKIP(qPrintable(disk.skipReason()));
    QVERIFY(writeFbiFile(disk.filePath("old.fbi"), contentOf({{"Old", "1"}}), FbiLayout::Standard).ok);
    const QByteArray old = fileBytes(disk.filePath("old.fbi"));
    QStringList files{"old.fbi"};
    if (readOnly) {
        QVERIFY(disk.remountReadOnly());
    } else {
        QFile filler(disk.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) > 0) {
        }
        files.prepend("filler");
    }
    // Small enough to sit in a write buffer, where a full disk shows only when it is flushed.
    FbiContent content;
    for (int row = 0; row < 100; ++row)
        content.appendRow(QStringLiteral("Name%1").arg(row), QStringLiteral("value"));
    const FbiWriteResult written = writeFbiFile(disk.filePath(target), content, FbiLayout::Standard);
    QVERIFY(!written.ok);
    QCOMPARE(written.reason, reason);
    QCOMPARE(fileBytes(disk.filePath("old.fbi")), old);
    QCOMPARE(QDir(disk.filePath(".")).entryList(QDir::Files, QDir::Name), files);
}

void TestFbiFormat::fileStamp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.fbi");
    const QByteArray name = QFile::encodeName(path);
    const FbiWriteResult written = writeFbiFile(path, contentOf({{"A", "1"}}), FbiLayout::Standard);
    QVERIFY(written.ok && written.stamp.matchesDisk(path));
    QVERIFY(readFbiFile(path).stamp == written.stamp);
    QVERIFY(!FileStamp().isValid() && !FileStamp().matchesDisk(path));

    struct stat before{};
    QCOMPARE(stat(name.constData(), &before), 0);
    timespec times[2] = {before.st_atim, before.st_mtim};
    auto rewrite = [&](const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && (file.close(), true)
            && utimensat(AT_FDCWD, name.constData(), times, 0) == 0;
    };
    const QByteArray bytes = fileBytes(path);
    // Other bytes of the same size at the same time, as an edit within the time's resolution leaves them.
    QVERIFY(rewrite(QByteArray(bytes).replace("A=1", "A=2")));
    QVERIFY(!written.stamp.matchesDisk(path));
    QVERIFY(rewrite(bytes));
    QVERIFY(written.stamp.matchesDisk(path));
    times[1].tv_sec += 1;
    QVERIFY(rewrite(bytes));
    QVERIFY(!written.stamp.matchesDisk(path));
    QVERIFY(QFile::remove(path));
    QVERIFY(!written.stamp.matchesDisk(path));
}
#endif

QTEST_GUILESS_MAIN(TestFbiFormat)
#include "tst_fbiformat.moc"
