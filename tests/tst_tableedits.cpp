#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "documents/FbiReader.h"
#include "mod/ModReplace.h"
#include "mod/ModTable.h"
#include "mod/SavePreview.h"
#include "mod/Csv.h"
#include "mod/CsvReader.h"
#include "mod/ModTableSortFilter.h"
#include "mod/RowComparison.h"
#include "mod/TableImport.h"
#include "support/UnitFiles.h"
#include "support/Files.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

QString changeText(const TableChange &change)
{
    const QString row = change.table->unitName(change.row) + QLatin1Char('.') + change.key;
    if (!change.canApply())
        return row + QStringLiteral(" refused");
    return row + (change.action == TableChange::Action::Add ? QStringLiteral("+=") : QStringLiteral("=")) + change.newValue;
}

// A document's rows: "name=value", a section as "[name]", a dot before a row per level it is nested.
QStringList shape(const Document &document)
{
    QStringList rows;
    for (const FbiRow &row : document.content().rows())
        rows.append(QString(row.depth, QLatin1Char('.')) + (row.section ? QLatin1Char('[') + row.name + QLatin1Char(']') : row.name + QLatin1Char('=') + row.value));
    return rows;
}

QStringList column(const ModTable &table, const QString &key)
{
    QStringList values;
    const int column = table.columnOfKey(key);
    for (int row = 0; row < table.unitCount(); ++row)
        values.append(table.index(row, column).data(ModTable::HasKeyRole).toBool() ? table.index(row, column).data().toString()
                                                                                    : QStringLiteral("(none)"));
    return values;
}
}

class TestTableEdits : public QObject
{
    Q_OBJECT

private slots:
    void replaces_data();
    void replaces();
    void replaceRefusesWhatItCannot_data();
    void replaceRefusesWhatItCannot();
    void replaceIsOneStep();
    void replaceInSelectedCells();
    void aChangeShownEarlierIsNotMadeOnAMovedFile();
    void addsAndRemovesKeys_data();
    void addsAndRemovesKeys();
    void comparesRows();
    void copiesValuesBetweenRows();
    void savePreviewLines_data();
    void imports_data();
    void imports();
    void importChangesOnlyTheEditedLines();
    void savePreviewLines();
};

void TestTableEdits::replaces_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("wholeValue");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("expression");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("a text anywhere, any case") << "arm_laser" << "GUN" << false << false << false
                                              << QStringList{"GUN", "GUN", "CORE_LASER", "GUN2", "", "(none)"};
    QTest::newRow("matching case") << "arm_laser" << "GUN" << false << true << false
                                   << QStringList{"ARM_LASER", "GUN", "CORE_LASER", "ARM_LASER2", "", "(none)"};
    QTest::newRow("the whole value") << "ARM_LASER" << "GUN" << true << false << false
                                     << QStringList{"GUN", "GUN", "CORE_LASER", "ARM_LASER2", "", "(none)"};
    QTest::newRow("an empty whole value, never a key added") << "" << "NONE" << true << false << false
                                                             << QStringList{"ARM_LASER", "arm_laser", "CORE_LASER", "ARM_LASER2", "NONE", "(none)"};
    QTest::newRow("captures") << "^(arm|core)_(\\w+)$" << "\\2_\\1" << false << false << true
                              << QStringList{"LASER_ARM", "laser_arm", "LASER_CORE", "LASER2_ARM", "", "(none)"};
    QTest::newRow("an expression as the whole value") << "arm_laser" << "X" << true << false << true
                                                       << QStringList{"X", "X", "CORE_LASER", "ARM_LASER2", "", "(none)"};
    QTest::newRow("an expression matching case") << "[a-z]+_" << "" << false << true << true
                                                 << QStringList{"ARM_LASER", "laser", "CORE_LASER", "ARM_LASER2", "", "(none)"};
    QTest::newRow("a backslash of a plain text is itself") << "ARM_" << "\\1" << false << true << false
                                                           << QStringList{"\\1LASER", "arm_laser", "CORE_LASER", "\\1LASER2", "", "(none)"};
}

// A replace over the whole table changes the values that match and nothing else.
void TestTableEdits::replaces()
{
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(bool, wholeValue);
    QFETCH(bool, matchCase);
    QFETCH(bool, expression);
    QFETCH(QStringList, after);
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"),
                   unitFiles({{{"Weapon1", "ARM_LASER"}}, {{"Weapon1", "arm_laser"}}, {{"Weapon1", "CORE_LASER"}},
                              {{"Weapon1", "ARM_LASER2"}}, {{"Weapon1", ""}}, {{"Side", "ARM"}}}));
    const ModReplace replace({find, replacement, wholeValue, matchCase, expression});
    QCOMPARE(replace.error(), QString());
    const QList<TableChange> changes = replace.changes(QList<const ModTable *>{&table});
    for (const TableChange &change : changes)
        QVERIFY(change.canApply());
    QVERIFY(table.applyChanges(changes, QStringLiteral("Replace")).refused.isEmpty());
    QCOMPARE(column(table, "Weapon1"), after);
    // The names the side column holds are no weapon: untouched.
    QCOMPARE(column(table, "Side"), QStringList({"(none)", "(none)", "(none)", "(none)", "(none)", "ARM"}));
}

void TestTableEdits::replaceRefusesWhatItCannot_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("expression");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("refused");

    QTest::newRow("nothing to find") << "" << "x" << false << "Type what to find." << 0;
    QTest::newRow("not an expression") << "(arm" << "x" << true << "\"(arm\" is not a regular expression" << 0;
    QTest::newRow("a semicolon would end the value") << "laser" << "a;b" << false << "" << 2;
    QTest::newRow("a line break would end the line") << "laser" << "a\nb" << false << "" << 2;
}

// What cannot be made is said before anything is made, and never made.
void TestTableEdits::replaceRefusesWhatItCannot()
{
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(bool, expression);
    QFETCH(QString, error);
    QFETCH(int, refused);
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"Weapon1", "ARM_LASER"}}, {{"Weapon1", "core_laser"}}}));
    const ModReplace replace({find, replacement, false, false, expression});
    QVERIFY2(error.isEmpty() ? replace.error().isEmpty() : replace.error().startsWith(error), qPrintable(replace.error()));
    const QList<TableChange> changes = replace.changes(QList<const ModTable *>{&table});
    QCOMPARE(int(std::count_if(changes.cbegin(), changes.cend(), [](const TableChange &change) { return !change.canApply(); })), refused);
    table.applyChanges(changes, QStringLiteral("Replace"));
    QCOMPARE(column(table, "Weapon1"), QStringList({"ARM_LASER", "core_laser"}));
    QCOMPARE(table.history()->count(), 0);
}

// A replace over many units is one step of the table's history: one undo puts every value back.
void TestTableEdits::replaceIsOneStep()
{
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"Side", "ARM"}, {"Weapon1", "ARM_GUN"}},
                                                          {{"Side", "arm"}},
                                                          {{"Side", "CORE"}, {"Weapon2", "arm_gun"}}}));
    const QList<TableChange> changes = ModReplace({"arm", "TLL", false, false, false}).changes(QList<const ModTable *>{&table});
    QCOMPARE(changes.size(), 4);
    const ModTable::EditResult result = table.applyChanges(changes, QStringLiteral("Replace"));
    QCOMPARE(result.cells, 4);
    QCOMPARE(result.units, 3);
    QCOMPARE(column(table, "Side"), QStringList({"TLL", "TLL", "CORE"}));
    QCOMPARE(column(table, "Weapon2"), QStringList({"(none)", "(none)", "TLL_gun"}));
    QCOMPARE(table.history()->count(), 1);
    QCOMPARE(table.history()->undoText(), QStringLiteral("Replace"));
    table.history()->undo();
    QCOMPARE(column(table, "Side"), QStringList({"ARM", "arm", "CORE"}));
    QCOMPARE(column(table, "Weapon1"), QStringList({"ARM_GUN", "(none)", "(none)"}));
    QCOMPARE(column(table, "Weapon2"), QStringList({"(none)", "(none)", "arm_gun"}));
    for (int row = 0; row < table.unitCount(); ++row)
        QVERIFY(!table.document(row)->isModified());
}

// With cells given, only those are looked at.
void TestTableEdits::replaceInSelectedCells()
{
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"Side", "ARM"}, {"Weapon1", "ARM_GUN"}}, {{"Side", "ARM"}}}));
    const int side = table.columnOfKey(QStringLiteral("Side"));
    const QList<TableChange> changes
        = ModReplace({"ARM", "CORE", false, false, false}).changes(QList<ModReplace::Cell>{{&table, 1, side}, {&table, 0, ModTable::UnitColumn}});
    table.applyChanges(changes, QStringLiteral("Replace"));
    QCOMPARE(column(table, "Side"), QStringList({"ARM", "CORE"}));
    QCOMPARE(column(table, "Weapon1"), QStringList({"ARM_GUN", "(none)"}));
}

// A replace previewed, then the file edited in its own window so that its rows move: the change is
// not made on whatever row now stands there, and says why.
void TestTableEdits::aChangeShownEarlierIsNotMadeOnAMovedFile()
{
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"Side", "ARM"}, {"Name", "ARM tank"}}, {{"Side", "ARM"}}}));
    const QList<TableChange> changes = ModReplace({"ARM", "CORE", true, false, false}).changes(QList<const ModTable *>{&table});
    QCOMPARE(changes.size(), 2);
    QVERIFY(table.document(0)->insertRows(0, {FbiRow{"Extra", "ARM"}}, QStringLiteral("Add Variable")).isEmpty());
    const ModTable::EditResult result = table.applyChanges(changes, QStringLiteral("Replace"));
    QCOMPARE(result.cells, 1);
    QCOMPARE(result.refused.size(), 1);
    QVERIFY(result.refused.first().contains(QStringLiteral("changed since")));
    QCOMPARE(table.document(0)->content().rows(), QList<FbiRow>({{"Extra", "ARM"}, {"Side", "ARM"}, {"Name", "ARM tank"}}));
    QCOMPARE(column(table, "Side"), QStringList({"ARM", "CORE"}));
}

void TestTableEdits::addsAndRemovesKeys_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");

    const QStringList first{"UnitName=A", "Cost=5", "Cost=6", "[customparams]", ".notes=x"};
    const QStringList second{"UnitName=B"};
    QTest::newRow("added where missing, set where the row has it")
        << true << "cost" << "9" << QStringList{"A.Cost=9", "B.Cost+=9"} << QStringList{"UnitName=A", "Cost=5", "Cost=9", "[customparams]", ".notes=x"}
        << QStringList{"UnitName=B", "Cost=9"};
    QTest::newRow("a row with that value already is left alone")
        << true << "UnitName" << "A" << QStringList{"A.UnitName refused", "B.UnitName=A"} << first << QStringList{"UnitName=A"};
    QTest::newRow("added in its section, refused where there is none")
        << true << "customparams.speed" << "9" << QStringList{"A.customparams.speed+=9", "B.customparams.speed refused"}
        << QStringList{"UnitName=A", "Cost=5", "Cost=6", "[customparams]", ".notes=x", ".speed=9"} << second;
    QTest::newRow("removed with the earlier line of a key set twice")
        << false << "cost" << "9" << QStringList{"A.Cost=", "B.cost refused"} << QStringList{"UnitName=A", "[customparams]", ".notes=x"} << second;
    QTest::newRow("removed from its section") << false << "customparams.notes" << "9" << QStringList{"A.customparams.notes=", "B.customparams.notes refused"}
                                              << QStringList{"UnitName=A", "Cost=5", "Cost=6", "[customparams]"} << second;
}

// Add Key and Remove Key on rows: one step, the rows that cannot take it listed, one undo puts all back.
void TestTableEdits::addsAndRemovesKeys()
{
    QFETCH(bool, adding);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    DocumentSet documents;
    ModTable table(documents);
    ModFile unit;
    unit.relativePath = QStringLiteral("a.fbi");
    unit.path = QStringLiteral("/nowhere/a.fbi");
    unit.read = readFbi("[UNITINFO]\r\n{\r\nUnitName=A;\r\nCost=5;\r\nCost=6;\r\n[customparams]\r\n{\r\nnotes=x;\r\n}\r\n}\r\n");
    table.setFiles(QStringLiteral("/nowhere"), {unit, unitFiles({{{"UnitName", "B"}}}).first()});
    const QStringList firstBefore = shape(*table.document(0));
    const QStringList secondBefore = shape(*table.document(1));

    QList<TableChange> made;
    QStringList shown;
    for (int row = 0; row < table.unitCount(); ++row) {
        made.append(adding ? table.additionFor(row, key, value) : table.removalFor(row, key));
        shown.append(changeText(made.last()));
    }
    QCOMPARE(shown, changes);
    table.applyChanges(made, adding ? QStringLiteral("Add Key") : QStringLiteral("Remove Key"));
    QCOMPARE(shape(*table.document(0)), first);
    QCOMPARE(shape(*table.document(1)), second);
    QCOMPARE(table.history()->count(), 1);
    table.history()->undo();
    QCOMPARE(shape(*table.document(0)), firstBefore);
    QCOMPARE(shape(*table.document(1)), secondBefore);
}

// Rows side by side: a line per key any of them sets, the differences and the missing marked.
void TestTableEdits::comparesRows()
{
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"UnitName", "A"}, {"Cost", "5"}, {"Side", "ARM"}},
                                                          {{"UnitName", "B"}, {"Cost", "5"}, {"Side", "CORE"}},
                                                          {{"UnitName", "C"}, {"Speed", "2"}}}));
    const RowComparison comparison = RowComparison::of(table, {0, 1});
    QStringList lines;
    for (const RowComparison::Line &line : comparison.lines)
        lines.append(line.key + QLatin1Char(':') + line.values.join(QLatin1Char('|')) + (line.differs ? QStringLiteral(" differs") : QString()));
    // Speed is set by neither: no line.
    QCOMPARE(lines, QStringList({"UnitName:A|B differs", "Cost:5|5", "Side:ARM|CORE differs"}));
    const RowComparison withMissing = RowComparison::of(table, {0, 2});
    const auto speed = std::find_if(withMissing.lines.cbegin(), withMissing.lines.cend(), [](const RowComparison::Line &line) { return line.key == "Speed"; });
    QVERIFY(speed != withMissing.lines.cend());
    QVERIFY(speed->values.first().isNull() && speed->differs);
}

// The chosen keys' values copied from one row to the others, as one step.
void TestTableEdits::copiesValuesBetweenRows()
{
    DocumentSet documents;
    ModTable table(documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"Cost", "5"}, {"Side", "ARM"}},
                                                          {{"Cost", "7"}, {"Side", "CORE"}},
                                                          {{"Side", "ARM"}}}));
    const QList<TableChange> changes = RowComparison::copyChanges(table, 0, {0, 1, 2}, {"cost", "side", "speed"});
    QStringList shown;
    for (const TableChange &change : changes)
        shown.append(changeText(change));
    // The third row gets the key it lacks; a value already the same, and a key the source lacks, are left.
    QCOMPARE(shown, QStringList({"unit1.fbi.Cost=5", "unit2.fbi.Cost+=5", "unit1.fbi.Side=ARM"}));
    QCOMPARE(table.applyChanges(changes, QStringLiteral("Copy Values")).units, 2);
    QCOMPARE(column(table, "Cost"), QStringList({"5", "5", "5"}));
    QCOMPARE(column(table, "Side"), QStringList({"ARM", "ARM", "ARM"}));
    QCOMPARE(table.history()->count(), 1);
}

void TestTableEdits::savePreviewLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("nothing changed") << QByteArray("a\nb\n") << QByteArray("a\nb\n") << QStringList{};
    QTest::newRow("line ends do not count") << QByteArray("a\r\nb\r\n") << QByteArray("a\nb") << QStringList{};
    QTest::newRow("a value changed") << QByteArray("a\nb\nc\n") << QByteArray("a\nB\nc\n") << QStringList{"-2 b", "+2 B"};
    QTest::newRow("a line added") << QByteArray("a\nc\n") << QByteArray("a\nb\nc\n") << QStringList{"+2 b"};
    QTest::newRow("a line removed") << QByteArray("a\nb\nc\n") << QByteArray("a\nc\n") << QStringList{"-2 b"};
    QTest::newRow("the line between two changes stays") << QByteArray("a\nb\nc\nd\ne\n") << QByteArray("a\nB\nc\nD\ne\n")
                                                       << QStringList{"-2 b", "+2 B", "-4 d", "+4 D"};
    QTest::newRow("a line added at the end") << QByteArray("a\n}\n") << QByteArray("a\nx\n}\n") << QStringList{"+2 x"};
    QTest::newRow("a new file") << QByteArray() << QByteArray("a\nb\n") << QStringList{"+1 a", "+1 b"};
}

// The lines Save All's preview shows: those that go and those that come, by their line on disk.
void TestTableEdits::savePreviewLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, lines);
    QStringList shown;
    for (const SavePreview::Line &line : SavePreview::difference(before, after))
        shown.append(QStringLiteral("%1%2 %3").arg(line.added ? '+' : '-').arg(line.number).arg(line.text));
    QCOMPARE(shown, lines);
}

void TestTableEdits::imports_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("unknownFiles");
    QTest::addColumn<QStringList>("unknownColumns");
    QTest::addColumn<QString>("error");

    QTest::newRow("a changed cell") << QByteArray("File,Cost\r\nunit0.fbi,150\r\nsub/unit1.fbi,20\r\n") << QStringList{"ALPHA.Cost=150"}
                                    << QStringList{} << QStringList{} << "";
    QTest::newRow("columns and files in any case, either slash")
        << QByteArray("FILE,cost\r\nUNIT0.FBI,150\r\nsub\\Unit1.fbi,25\r\n") << QStringList{"ALPHA.Cost=150", "BETA.Cost=25"}
        << QStringList{} << QStringList{} << "";
    QTest::newRow("an empty cell changes nothing") << QByteArray("File,Cost,Side\r\nunit0.fbi,,\r\n") << QStringList{} << QStringList{}
                                                   << QStringList{} << "";
    QTest::newRow("a key the unit lacks is added") << QByteArray("File,Side\r\nsub/unit1.fbi,ARM\r\n") << QStringList{"BETA.Side+=ARM"}
                                                   << QStringList{} << QStringList{} << "";
    QTest::newRow("unknown files and columns listed") << QByteArray("File,Cost,Speed\r\nnone.fbi,1,2\r\nunit0.fbi,3,4\r\n")
                                                      << QStringList{"ALPHA.Cost=3"} << QStringList{"none.fbi"} << QStringList{"Speed"} << "";
    QTest::newRow("a value the file cannot hold") << QByteArray("File,Cost\r\nunit0.fbi,1;2\r\n") << QStringList{"ALPHA.Cost refused"}
                                                  << QStringList{} << QStringList{} << "";
    QTest::newRow("the name column identifies nothing for units") << QByteArray("Unit,File,Cost\r\nRENAMED,unit0.fbi,9\r\n")
                                                                   << QStringList{"ALPHA.Cost=9"} << QStringList{} << QStringList{} << "";
    QTest::newRow("no File column") << QByteArray("Unit,Cost\r\nALPHA,1\r\n") << QStringList{} << QStringList{} << QStringList{}
                                    << "The table has no File column";
}

void TestTableEdits::imports()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, unknownFiles);
    QFETCH(QStringList, unknownColumns);
    QFETCH(QString, error);
    DocumentSet documents;
    ModTable table(documents);
    QList<ModFile> files = unitFiles({{{"UnitName", "ALPHA"}, {"Cost", "100"}, {"Side", "CORE"}}, {{"UnitName", "BETA"}, {"Cost", "20"}}});
    files[1].relativePath = QStringLiteral("sub/unit1.fbi");
    table.setFiles(QStringLiteral("/nowhere"), files);
    const TableImport::Result result = TableImport::changes(table, readCsv(csv).rows);
    QVERIFY2(error.isEmpty() ? result.error.isEmpty() : result.error.startsWith(error), qPrintable(result.error));
    QStringList made;
    for (const TableChange &change : result.changes)
        made.append(changeText(change));
    QCOMPARE(made, changes);
    QCOMPARE(result.unknownFiles, unknownFiles);
    QCOMPARE(result.unknownColumns, unknownColumns);
}

// The table exported, three cells changed and a column deleted in the text, the text imported: those
// three values change, and each file only on the lines that hold them.
void TestTableEdits::importChangesOnlyTheEditedLines()
{
    QTemporaryDir dir;
    const QByteArray alpha("[UNITINFO]\r\n{\r\n\tUnitName=ALPHA;\r\n\tMaxDamage=100; // tough\r\n\tSide=ARM;\r\n\tSpeed=1.5;\r\n}\r\n");
    const QByteArray beta("[UNITINFO]\n{\n  UnitName=BETA;\n  MaxDamage=200;\n  Side=CORE;\n  Speed=2;\n}\n");
    const QByteArray gamma("[UNITINFO]\r\n{\r\n\tUnitName=GAMMA;\r\n\tMaxDamage=300;\r\n\tSide=ARM;\r\n}\r\n");
    writeFile(dir.filePath("units/alpha.fbi"), alpha);
    writeFile(dir.filePath("units/beta.fbi"), beta);
    writeFile(dir.filePath("units/gamma.fbi"), gamma);
    DocumentSet documents;
    ModTable table(documents);
    QSignalSpy loaded(&table, &ModTable::loaded);
    table.load(dir.path());
    QVERIFY(loaded.wait(10000));
    ModTableSortFilter shown(&table);
    QList<QStringList> rows = readCsv(csvText(shown.shownRows())).rows;
    const int file = int(rows.first().indexOf(QStringLiteral("File")));
    const int damage = int(rows.first().indexOf(QStringLiteral("MaxDamage")));
    const int side = int(rows.first().indexOf(QStringLiteral("Side")));
    const int speed = int(rows.first().indexOf(QStringLiteral("Speed")));
    QVERIFY(file >= 0 && damage >= 0 && side >= 0 && speed >= 0);
    for (QStringList &row : rows) {
        if (row[file].endsWith(QStringLiteral("alpha.fbi")))
            row[damage] = QStringLiteral("110");
        if (row[file].endsWith(QStringLiteral("beta.fbi"))) {
            row[damage] = QStringLiteral("220");
            row[side] = QStringLiteral("ARM");
        }
    }
    // The Speed column deleted: a unit's speed stays as it is.
    for (QStringList &row : rows)
        row.removeAt(speed);
    const TableImport::Result result = TableImport::changes(table, readCsv(csvText(rows)).rows);
    QCOMPARE(result.changes.size(), 3);
    QVERIFY(result.unknownFiles.isEmpty() && result.unknownColumns.isEmpty());
    QCOMPARE(table.applyChanges(result.changes, QStringLiteral("Import Table")).cells, 3);
    QCOMPARE(table.history()->count(), 1);
    QVERIFY(table.saveAll().isEmpty());
    QCOMPARE(readFile(dir.filePath("units/alpha.fbi")), QByteArray(alpha).replace("MaxDamage=100;", "MaxDamage=110;"));
    QCOMPARE(readFile(dir.filePath("units/beta.fbi")), QByteArray(beta).replace("MaxDamage=200;", "MaxDamage=220;").replace("Side=CORE;", "Side=ARM;"));
    QCOMPARE(readFile(dir.filePath("units/gamma.fbi")), gamma);
}

QTEST_GUILESS_MAIN(TestTableEdits)
#include "tst_tableedits.moc"
