// The table's tools without windows: the filter's forms and reading back a table a spreadsheet wrote.
#include "mod/Csv.h"
#include "mod/CsvReader.h"
#include "mod/TableFilter.h"

#include <QTest>

class TestTableTools : public QObject
{
    Q_OBJECT

private slots:
    void filterForms_data();
    void filterForms();
    void csvReadsWhatSpreadsheetsWrite_data();
    void csvReadsWhatSpreadsheetsWrite();
    void csvRoundTrip();
};

void TestTableTools::filterForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("terms"); // kind:key:text, the number after a "#" for a comparison
    QTest::newRow("nothing") << "  " << QStringList{};
    QTest::newRow("words") << "arm tank" << QStringList{"word::arm", "word::tank"};
    QTest::newRow("a key's value") << "side=CORE" << QStringList{"equals:side:CORE"};
    QTest::newRow("an empty value") << "side=" << QStringList{"equals:side:"};
    QTest::newRow("greater and less") << "buildcostmetal>500 maxdamage<1e3"
                                      << QStringList{"greater:buildcostmetal:500#500", "word::maxdamage<1e3"};
    QTest::newRow("a decimal, a sign") << "speed<-1.5" << QStringList{"less:speed:-1.5#-1.5"};
    QTest::newRow("combined") << "side=CORE buildcostmetal>500 tank"
                              << QStringList{"equals:side:CORE", "greater:buildcostmetal:500#500", "word::tank"};
    QTest::newRow("quotes keep blanks") << "name=\"Big Tank\" \"a b\""
                                        << QStringList{"equals:name:Big Tank", "word::a b"};
    QTest::newRow("a sign first is a word") << "=x >5" << QStringList{"word::=x", "word::>5"};
    QTest::newRow("a comparison with no number is a word") << "cost>cheap" << QStringList{"word::cost>cheap"};
}

void TestTableTools::filterForms()
{
    QFETCH(QString, text);
    QFETCH(QStringList, terms);
    QStringList read;
    const TableFilter filter = TableFilter::parse(text);
    for (const TableFilter::Term &term : filter.terms()) {
        static const char *Kinds[] = {"word", "equals", "greater", "less"};
        QString shown = QString::fromLatin1(Kinds[int(term.kind)]) + ':' + term.key + ':' + term.text;
        if (term.kind == TableFilter::Term::Kind::Greater || term.kind == TableFilter::Term::Kind::Less)
            shown += '#' + QString::number(term.number);
        read.append(shown);
    }
    QCOMPARE(read, terms);
}

void TestTableTools::csvReadsWhatSpreadsheetsWrite_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<bool>("ok");
    const QList<QStringList> simple{{"File", "Cost"}, {"a.fbi", "5"}};
    QTest::newRow("CR LF") << QByteArray("File,Cost\r\na.fbi,5\r\n") << simple << true;
    QTest::newRow("LF, no final line end") << QByteArray("File,Cost\na.fbi,5") << simple << true;
    QTest::newRow("CR") << QByteArray("File,Cost\ra.fbi,5\r") << simple << true;
    QTest::newRow("a byte order mark") << QByteArray("\xEF\xBB\xBF" "File,Cost\r\na.fbi,5\r\n") << simple << true;
    QTest::newRow("semicolons") << QByteArray("File;Cost\r\na.fbi;5\r\n") << simple << true;
    QTest::newRow("quotes, commas and line breaks inside")
        << QByteArray("\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n")
        << QList<QStringList>{{"a,b", "say \"hi\"", "two\r\nlines"}} << true;
    QTest::newRow("empty fields") << QByteArray(",x,\r\n") << QList<QStringList>{{"", "x", ""}} << true;
    QTest::newRow("a guard taken off") << QByteArray("'=SUM(A1),''x,\"'=A,B\"\r\n")
                                       << QList<QStringList>{{"=SUM(A1)", "'x", "=A,B"}} << true;
    QTest::newRow("Latin-1 text") << QByteArray("J\xE4ger,1\r\n") << QList<QStringList>{{QString::fromLatin1("J\xE4ger"), "1"}}
                                  << true;
    QTest::newRow("UTF-8 text") << QByteArray("J\xC3\xA4ger,1\r\n") << QList<QStringList>{{QString::fromUtf8("J\u00e4ger"), "1"}}
                                << true;
    QTest::newRow("a quote left open") << QByteArray("a,\"b\r\n") << QList<QStringList>{{"a", "b\r\n"}} << false;
}

void TestTableTools::csvReadsWhatSpreadsheetsWrite()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    QFETCH(bool, ok);
    const CsvTable table = readCsv(bytes);
    QCOMPARE(table.rows, rows);
    QCOMPARE(table.error.isEmpty(), ok);
}

// What the export writes, the import reads back as it was, guards and all.
void TestTableTools::csvRoundTrip()
{
    const QList<QStringList> rows{{"File", "Name", "Cost"},
                                  {"units/a.fbi", "Heavy, \"big\"", "-5"},
                                  {"b.fbi", "=HYPERLINK(x)", " 7 "},
                                  {"c.fbi", QString::fromUtf8("J\u00e4ger"), ""},
                                  {"d.fbi", "'=not a guard", "'5"},
                                  {"e.fbi", "=A,B", "@x"}};
    for (const bool mark : {false, true})
        QCOMPARE(readCsv(csvText(rows, mark)).rows, rows);
}

QTEST_GUILESS_MAIN(TestTableTools)
#include "tst_tabletools.moc"
