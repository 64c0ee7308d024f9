#include "commands/FileCommands.h"
#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"
#include "modwindow/FrozenColumnTableView.h"
#include "documents/Numbers.h"
#include "documents/SafeWrite.h"
#include "mainwindow/MainWindow.h"
#include "mod/Csv.h"
#include "mod/Mod.h"
#include "modwindow/ModTableWindow.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogs.h"
#include "support/TableProgram.h"
#include "support/UnitFiles.h"
#include "support/Files.h"

#include <QDir>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QByteArray unitText(const Rows &rows)
{
    QByteArray text("[UNITINFO]\r\n\t{\r\n");
    for (const auto &[name, value] : rows)
        text += "\t" + name.toLatin1() + "=" + value.toLatin1() + ";\r\n";
    return text + "\t}\r\n";
}

int columnOf(const ModTable &table, const QString &key)
{
    for (int column = 1; column < table.columnCount(); ++column) {
        if (table.key(column).compare(key, Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

QStringList shownColumn(const QAbstractItemModel &model, int column)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.index(row, column).data().toString());
    return values;
}

// A view counts a double click only on the item that the first click pressed.
void doubleClick(QAbstractItemView *view, const QPoint &at)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// The main window ends the event loop as it closes; so that later tests still have one, it closes
// inside a loop of its own.
bool closeMain(MainWindow &main)
{
    bool closed = false;
    QTimer::singleShot(0, &main, [&] {
        closed = main.close();
        if (!closed)
            QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
    return closed;
}

bool waitLoaded(ModTable &table)
{
    QSignalSpy loaded(&table, &ModTable::loaded);
    return !table.isLoading() || loaded.wait(10000);
}

}

class TestModTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsFolder();
    void sharesTheOpenDocumentOfAFile();
    void sortsColumn_data();
    void sortsColumn();
    void filters_data();
    void filters();
    void editWritesDocument_data();
    void editWritesDocument();
    void documentEditsShowInTable();
    void setValuesMakesOneStepPerUnit();
    void aTableStepUndoesInEveryUnit();
    void scaledValue_data();
    void scaledValue();
    void saveAllReportsOnlyTheFailures();
    void saveAllKeepsEachFilesLayout();
    void exportsTableAsShown();
    void sortStaysThroughTheFilter();
    void listsWhatItCannotRead();
    void loadIsCancelled();

    void progressBarGoesAway();
    void doubleClickOpensSharedDocument();
    void closeAsksOncePerFile_data();
    void closeAsksOncePerFile();
    void oneDocumentForTheTableAndAWindow();

private:
    void writeMod();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DocumentSet> m_documents;
};

void TestModTable::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_documents = std::make_unique<DocumentSet>();
}

void TestModTable::cleanup()
{
    m_documents.reset();
    m_dir.reset();
}

// Three units in any letter case and folder, a file that cannot be read, and a file that is no unit.
void TestModTable::writeMod()
{
    writeFile(m_dir->filePath("a.fbi"), unitText({{"UnitName", "ALPHA"}, {"MaxDamage", "100"}, {"BuildTime", "5"}, {"buildtime", "7"}}));
    writeFile(m_dir->filePath("sub/B.FBI"), unitText({{"unitname", "beta"}, {"maxdamage", "200"}}));
    writeFile(m_dir->filePath("sub/deeper/c.Fbi"), unitText({{"MaxDamage ", "50"}, {"//Weapon2", "old"}, {"Weapon1", "gun"}}));
    writeFile(m_dir->filePath("long.fbi"), unitText({{"Name", QString(40000, QLatin1Char('x'))}}));
    writeFile(m_dir->filePath("notes.txt"), unitText({{"UnitName", "NOTE"}}));
}

void TestModTable::loadsFolder()
{
    writeMod();
    ModTable table(*m_documents);
    table.load(m_dir->path());
    QVERIFY(waitLoaded(table));

    QStringList headers;
    for (int column = 0; column < table.columnCount(); ++column)
        headers.append(table.headerData(column, Qt::Horizontal).toString());
    // By the files that set the key; between equally common spellings, the one with capitals. Blanks
    // around a key do not count, and a line commented out is no variable.
    QCOMPARE(headers, QStringList({"Unit", "File", "MaxDamage", "UnitName", "BuildTime", "Weapon1"}));
    QCOMPARE(shownColumn(table, 0), QStringList({"ALPHA", "beta", "c.Fbi"}));
    QCOMPARE(table.index(2, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("sub/deeper/c.Fbi"));
    // Beside the name, the file's name, with its whole path in the tooltip.
    QCOMPARE(shownColumn(table, ModTable::FileColumn), QStringList({"a.fbi", "B.FBI", "c.Fbi"}));
    QCOMPARE(table.index(1, ModTable::FileColumn).data(Qt::ToolTipRole).toString(), m_dir->filePath("sub/B.FBI"));
    QVERIFY(!(table.flags(table.index(1, ModTable::FileColumn)) & Qt::ItemIsEditable));
    QCOMPARE(shownColumn(table, 2), QStringList({"100", "200", "50"}));
    // The later line of a key set twice is the one the game uses.
    QCOMPARE(shownColumn(table, 4), QStringList({"7", "", ""}));
    QVERIFY(!table.index(1, 4).data(ModTable::HasKeyRole).toBool());
    QCOMPARE(table.failures().size(), 1);
    QCOMPARE(table.failures().first().relativePath, QStringLiteral("long.fbi"));
    QVERIFY(!table.failures().first().reason.isEmpty());
}

// A file that a window already shows is that window's document; when the window closes, the
// document stays with the table, its changes with it.
void TestModTable::sharesTheOpenDocumentOfAFile()
{
    writeMod();
    Document *open = m_documents->open(m_dir->filePath("a.fbi")).document;
    open->setValue(1, QStringLiteral("555"));
    ModTable table(*m_documents);
    table.load(m_dir->path());
    QVERIFY(waitLoaded(table));
    QCOMPARE(table.document(0), open);
    QCOMPARE(table.index(0, 2).data().toString(), QStringLiteral("555"));

    m_documents->close(open);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(table.document(0), open);
    QCOMPARE(table.index(0, 2).data().toString(), QStringLiteral("555"));
    QVERIFY(table.document(0)->isModified());
}

void TestModTable::sortsColumn_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("numbers as numbers") << QStringList{"10", "9", "100", "-1.5"} << Qt::AscendingOrder
                                        << QStringList{"-1.5", "9", "10", "100"};
    QTest::newRow("numbers descending") << QStringList{"10", "9", "100", "-1.5"} << Qt::DescendingOrder
                                        << QStringList{"100", "10", "9", "-1.5"};
    QTest::newRow("text ignoring case") << QStringList{"beta", "Alpha", "gamma"} << Qt::AscendingOrder
                                        << QStringList{"Alpha", "beta", "gamma"};
    QTest::newRow("numbers before text") << QStringList{"abc", " 5", "1e2"} << Qt::AscendingOrder
                                         << QStringList{" 5", "1e2", "abc"};
    QTest::newRow("empty and missing last") << QStringList{"", "3", QString(), "1"} << Qt::AscendingOrder
                                            << QStringList{"1", "3", "", ""};
    QTest::newRow("empty last descending") << QStringList{"", "3", "x", "1"} << Qt::DescendingOrder
                                           << QStringList{"x", "3", "1", ""};
}

void TestModTable::sortsColumn()
{
    QFETCH(QStringList, values);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, sorted);
    QList<Rows> units;
    for (const QString &value : values)
        units.append({{"Side", "ARM"}, {"Value", value}});
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles(units));
    ModTableSortFilter shown(&table);
    const int column = columnOf(table, "Value");
    shown.sort(column, order);
    QCOMPARE(shownColumn(shown, column), sorted);
}

void TestModTable::filters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hidden");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("nothing typed") << "" << "" << QStringList{"ALPHA", "BETA", "gamma.fbi"};
    QTest::newRow("unit name, any case") << "alP" << "" << QStringList{"ALPHA"};
    QTest::newRow("file name") << "zed" << "" << QStringList{"BETA"};
    QTest::newRow("a value") << "core" << "" << QStringList{"BETA"};
    QTest::newRow("a value in a hidden column") << "laser" << "Weapon1" << QStringList{};
    QTest::newRow("beyond Latin-1") << QString::fromUtf8("\u20ac") << "" << QStringList{};
    QTest::newRow("a key's value, any case") << "SIDE=arm" << "" << QStringList{"ALPHA", "gamma.fbi"};
    QTest::newRow("a key's value in a hidden column") << "side=core" << "Side" << QStringList{"BETA"};
    QTest::newRow("a key and a word") << "side=arm laser" << "" << QStringList{"ALPHA"};
    QTest::newRow("a key's value is the whole value") << "side=ar" << "" << QStringList{};
    QTest::newRow("a key no row sets") << "speed=1" << "" << QStringList{};
    QTest::newRow("an empty value for a missing key") << "cost=" << "" << QStringList{"gamma.fbi"};
    QTest::newRow("greater than") << "cost>50" << "" << QStringList{"ALPHA"};
    QTest::newRow("less than") << "cost<50" << "" << QStringList{"BETA"};
    QTest::newRow("a number compared as a number") << "cost>9" << "" << QStringList{"ALPHA"};
    QTest::newRow("the file column") << "file=ZED.fbi" << "" << QStringList{"BETA"};
    QTest::newRow("the name column") << "unit=beta" << "" << QStringList{"BETA"};
}

void TestModTable::filters()
{
    QFETCH(QString, text);
    QFETCH(QString, hidden);
    QFETCH(QStringList, kept);
    QList<UnitFile> files = unitFiles({{{"UnitName", "ALPHA"}, {"Side", "ARM"}, {"Weapon1", "laser"}, {"Cost", "100"}},
                                       {{"UnitName", "BETA"}, {"Side", "CORE"}, {"Cost", "5"}},
                                       {{"Side", "ARM"}}});
    files[1].relativePath = QStringLiteral("zed.fbi");
    files[2].relativePath = QStringLiteral("gamma.fbi");
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"), files);
    ModTableSortFilter shown(&table);
    if (!hidden.isEmpty())
        shown.setColumnShown(columnOf(table, hidden), false);
    shown.setFilterText(text);
    QCOMPARE(shownColumn(shown, 0), kept);
}

void TestModTable::editWritesDocument_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");

    QTest::newRow("changes the value") << "MaxDamage" << "150" << Rows{{"UnitName", "ALPHA"}, {"MaxDamage", "150"}};
    QTest::newRow("adds a missing key at the end")
        << "BuildTime" << "9" << Rows{{"UnitName", "ALPHA"}, {"MaxDamage", "100"}, {"BuildTime", "9"}};
    QTest::newRow("empty text adds no key") << "BuildTime" << "" << Rows{{"UnitName", "ALPHA"}, {"MaxDamage", "100"}};
    QTest::newRow("clearing keeps the key") << "MaxDamage" << "" << Rows{{"UnitName", "ALPHA"}, {"MaxDamage", ""}};
    QTest::newRow("cut at a semicolon") << "MaxDamage" << "12;34" << Rows{{"UnitName", "ALPHA"}, {"MaxDamage", "12"}};
    QTest::newRow("cut at a line break") << "MaxDamage" << "7\r\n8" << Rows{{"UnitName", "ALPHA"}, {"MaxDamage", "7"}};
}

void TestModTable::editWritesDocument()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"),
                   unitFiles({{{"UnitName", "ALPHA"}, {"MaxDamage", "100"}}, {{"BuildTime", "3"}}}));
    Document *document = table.document(0);
    const QList<FbiRow> before = document->content().rows();

    QVERIFY(table.setData(table.index(0, columnOf(table, key)), text));
    Rows after;
    for (const FbiRow &row : document->content().rows())
        after.append({row.name, row.value});
    QCOMPARE(after, rows);
    const bool changed = before != document->content().rows();
    QCOMPARE(document->isModified(), changed);
    QCOMPARE(table.index(0, 0).data(ModTable::ModifiedRole).toBool(), changed);
    QCOMPARE(document->history()->count(), changed ? 1 : 0);
    document->history()->undo();
    QCOMPARE(document->content().rows(), before);
}

void TestModTable::documentEditsShowInTable()
{
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"UnitName", "ALPHA"}, {"MaxDamage", "100"}}}));
    Document *document = table.document(0);
    QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);

    document->setValue(1, QStringLiteral("250"));
    QCOMPARE(table.index(0, columnOf(table, "MaxDamage")).data().toString(), QStringLiteral("250"));
    QVERIFY(!changed.isEmpty());
    document->setValue(0, QStringLiteral("OMEGA"));
    QCOMPARE(table.index(0, 0).data().toString(), QStringLiteral("OMEGA"));
    // A key the document window adds becomes a column; removing it empties the cell.
    document->addRow(QStringLiteral("Brand"), QStringLiteral("new"));
    QCOMPARE(table.key(table.columnCount() - 1), QStringLiteral("Brand"));
    QCOMPARE(table.index(0, table.columnCount() - 1).data().toString(), QStringLiteral("new"));
    document->removeRows({1}, QStringLiteral("Remove Variable"));
    QVERIFY(!table.index(0, columnOf(table, "MaxDamage")).data(ModTable::HasKeyRole).toBool());
    QCOMPARE(table.index(0, table.columnCount() - 1).data().toString(), QStringLiteral("new"));
}

void TestModTable::setValuesMakesOneStepPerUnit()
{
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"MaxDamage", "100"}, {"Speed", "1.25"}},
                                                          {{"MaxDamage", "300"}, {"Speed", "fast"}},
                                                          {{"Speed", "2"}}}));
    const int damage = columnOf(table, "MaxDamage");
    const int speed = columnOf(table, "Speed");
    // The third unit gets the key it lacks and its other value in one step.
    QCOMPARE(table.setValues({table.index(0, damage), table.index(1, damage), table.index(2, damage), table.index(2, speed)},
                             QStringLiteral("120"))
                 .units,
             3);
    QCOMPARE(shownColumn(table, damage), QStringList({"120", "120", "120"}));
    QCOMPARE(shownColumn(table, speed), QStringList({"1.25", "fast", "120"}));
    for (int unit = 0; unit < 3; ++unit)
        QCOMPARE(table.document(unit)->history()->count(), 1);
    table.document(2)->history()->undo();
    QCOMPARE(table.document(2)->content().rows(), QList<FbiRow>({{"Speed", "2"}}));

    // Only the numbers are scaled, each to the decimals it had.
    QCOMPARE(table.scaleValues({table.index(0, speed), table.index(1, speed), table.index(2, speed)}, 2).cells, 2);
    QCOMPARE(shownColumn(table, speed), QStringList({"2.50", "fast", "4"}));
    QCOMPARE(table.document(1)->history()->count(), 1);
}

void TestModTable::scaledValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("scaled");

    QTest::newRow("whole number stays whole") << "3620" << 1.1 << "3982";
    QTest::newRow("decimals kept") << "1.30" << 1.5 << "1.95";
    QTest::newRow("half rounds away from zero") << "7" << 0.5 << "4";
    QTest::newRow("negative") << "-4.2" << 2.0 << "-8.4";
    QTest::newRow("leading point") << ".5" << 3.0 << "1.5";
    QTest::newRow("blanks around kept") << " 300 " << 1.1 << " 330 ";
    QTest::newRow("zero has no sign") << "0.4" << -0.1 << "0.0";
    QTest::newRow("three numbers are no number") << "28 45 20" << 2.0 << QString();
    QTest::newRow("text") << "ARM_TANK" << 2.0 << QString();
    QTest::newRow("exponent") << "1e3" << 2.0 << QString();
    QTest::newRow("empty") << "" << 2.0 << QString();
}

void TestModTable::scaledValue()
{
    QFETCH(QString, value);
    QFETCH(double, factor);
    QFETCH(QString, scaled);
    QCOMPARE(scaledNumber(value, factor).value_or(QString()), scaled);
}

void TestModTable::saveAllReportsOnlyTheFailures()
{
    writeMod();
    ModTable table(*m_documents);
    table.load(m_dir->path());
    QVERIFY(waitLoaded(table));
    QVERIFY(table.setData(table.index(0, columnOf(table, "MaxDamage")), QStringLiteral("111")));
    QVERIFY(table.setData(table.index(1, columnOf(table, "MaxDamage")), QStringLiteral("222")));
    // The first file's place is taken by a folder: it cannot be written.
    const QString blocked = m_dir->filePath("a.fbi");
    QVERIFY(QFile::remove(blocked));
    QVERIFY(QDir().mkdir(blocked));

    const QList<ModTable::SaveFailure> failures = table.saveAll();
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().path, blocked);
    QVERIFY(readFile(m_dir->filePath("sub/B.FBI")).contains("\tmaxdamage=222;\r\n"));
    QVERIFY(table.document(0)->isModified());
    QVERIFY(!table.document(1)->isModified());
    QVERIFY(QFileInfo(blocked).isDir());
}

void TestModTable::exportsTableAsShown()
{
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"),
                   unitFiles({{{"UnitName", "ALPHA"}, {"Cost", "-5"}, {"Name", "Heavy, \"big\""}, {"Side", "ARM"}},
                              {{"UnitName", "BETA"}, {"Cost", "20"}, {"Name", "=HYPERLINK(x)"}, {"Side", "ARM"}},
                              {{"UnitName", "GAMMA"}, {"Cost", "7"}, {"Side", "CORE"}}}));
    ModTableSortFilter shown(&table);
    shown.setColumnShown(columnOf(table, "UnitName"), false);
    shown.sort(columnOf(table, "Cost"), Qt::DescendingOrder);
    shown.setFilterText(QStringLiteral("arm"));
    // The File column, hidden or not, names each row's file by its path in the mod.
    shown.setColumnShown(ModTable::FileColumn, false);
    const QByteArray csv("Unit,File,Cost,Side,Name\r\n"
                         "BETA,unit1.fbi,20,ARM,'=HYPERLINK(x)\r\n"
                         "ALPHA,unit0.fbi,-5,ARM,\"Heavy, \"\"big\"\"\"\r\n");
    QCOMPARE(csvText(shown.shownRows()), csv);
    // The byte order mark only when the user asks for it.
    QCOMPARE(csvText(shown.shownRows(), true), "\xEF\xBB\xBF" + csv);
}

// A table step undoes in every unit it changed, as one step of the table's history; a unit changed
// since in its own window stops it, and nothing changes.
void TestModTable::aTableStepUndoesInEveryUnit()
{
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles({{{"BuildTime", "100"}}, {{"BuildTime", "7"}}, {{"BuildTime", "x"}}}));
    const int time = columnOf(table, "BuildTime");
    const QModelIndexList cells{table.index(0, time), table.index(1, time), table.index(2, time)};
    QCOMPARE(table.scaleValues(cells, 2).units, 2);
    QCOMPARE(table.history()->undoText(), QStringLiteral("Scale by 2"));
    QCOMPARE(shownColumn(table, time), QStringList({"200", "14", "x"}));
    QVERIFY(table.undoBlocker().isEmpty());
    table.history()->undo();
    QCOMPARE(shownColumn(table, time), QStringList({"100", "7", "x"}));
    QVERIFY(!table.document(0)->isModified() && !table.document(1)->isModified());
    table.history()->redo();
    QCOMPARE(shownColumn(table, time), QStringList({"200", "14", "x"}));

    // A later edit of one unit, in its own window, stands on top of the table's step there.
    table.document(1)->setValue(0, QStringLiteral("15"));
    QVERIFY(!table.undoBlocker().isEmpty());
    table.document(1)->history()->undo();
    QVERIFY(table.undoBlocker().isEmpty());
    // A unit where the step is undone already is left as it is.
    table.document(0)->history()->undo();
    QVERIFY(table.undoBlocker().isEmpty());
    table.history()->undo();
    QCOMPARE(shownColumn(table, time), QStringList({"100", "7", "x"}));
    QVERIFY(table.redoBlocker().isEmpty());
}

// Save All writes each changed unit in its own layout: only the changed line differs.
void TestModTable::saveAllKeepsEachFilesLayout()
{
    const QByteArray unit("// by hand\n[UNITINFO]\n{\n  UnitName=KEPT;  // name\n  MaxDamage=10;\n}\n");
    writeFile(m_dir->filePath("kept.fbi"), unit);
    writeFile(m_dir->filePath("other.fbi"), unit);
    ModTable table(*m_documents);
    table.load(m_dir->path());
    QVERIFY(waitLoaded(table));
    QVERIFY(table.setData(table.index(0, columnOf(table, "MaxDamage")), QStringLiteral("20")));
    // Another program rewrites the other unit after the table read it: its text is not overwritten.
    QVERIFY(table.setData(table.index(1, columnOf(table, "MaxDamage")), QStringLiteral("30")));
    QTest::qWait(20);
    writeFile(m_dir->filePath("other.fbi"), "[UNITINFO]\n{\n  MaxDamage=99;\n}\n");
    const QList<ModTable::SaveFailure> failures = table.saveAll();
    QCOMPARE(readFile(m_dir->filePath("kept.fbi")), QByteArray(unit).replace("MaxDamage=10;", "MaxDamage=20;"));
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().path, m_dir->filePath("other.fbi"));
    QVERIFY(failures.first().reason.contains(QStringLiteral("changed on disk")));
    QCOMPARE(readFile(m_dir->filePath("other.fbi")), QByteArray("[UNITINFO]\n{\n  MaxDamage=99;\n}\n"));
    QVERIFY(table.document(1)->isModified());
}

// Sorted by a column, filtered, the filter cleared: the rows are still in the order the header shows.
void TestModTable::sortStaysThroughTheFilter()
{
    QList<Rows> units;
    for (const char *value : {"513", "176584", "53872", "176532", "9"})
        units.append(Rows{{"Side", "ARM"}, {"Cost", value}});
    units[2][0].second = QStringLiteral("CORE");
    ModTable table(*m_documents);
    table.setFiles(QStringLiteral("/nowhere"), unitFiles(units));
    ModTableSortFilter shown(&table);
    const int cost = columnOf(table, "Cost");
    shown.sort(cost, Qt::DescendingOrder);
    shown.setFilterText(QStringLiteral("core"));
    QCOMPARE(shownColumn(shown, cost), QStringList({"53872"}));
    shown.setFilterText(QString());
    QCOMPARE(shownColumn(shown, cost), QStringList({"176584", "176532", "53872", "513", "9"}));
}

// An entry named like a unit file that is no file to read is listed with its reason.
void TestModTable::listsWhatItCannotRead()
{
    writeMod();
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.fbi")));
#ifdef Q_OS_UNIX
    // Windows has no link a user makes without rights, nor a pipe in a folder.
    QVERIFY(QFile::link(m_dir->filePath("gone.txt"), m_dir->filePath("dangling.fbi")));
    QCOMPARE(mkfifo(QFile::encodeName(m_dir->filePath("pipe.fbi")).constData(), 0600), 0);
#endif
    ModTable table(*m_documents);
    table.load(m_dir->path());
    QVERIFY(waitLoaded(table));
    QStringList failures;
    for (const ModTable::Failure &failure : table.failures())
        failures.append(failure.relativePath + QStringLiteral(": ") + failure.reason);
    QStringList expected;
#ifdef Q_OS_UNIX
    expected.append(QStringLiteral("dangling.fbi: is a link to nothing"));
#endif
    expected.append(QStringLiteral("folder.fbi: is a folder"));
    expected.append(failures.filter(QStringLiteral("long.fbi")));
#ifdef Q_OS_UNIX
    expected.append(QStringLiteral("pipe.fbi: is not a regular file"));
#endif
    QCOMPARE(failures, expected);
    QCOMPARE(table.unitCount(), 3);
}

// Closing a table while it reads returns at once, and the reading leaves nothing behind.
void TestModTable::loadIsCancelled()
{
    for (int unit = 0; unit < 400; ++unit)
        writeFile(m_dir->filePath(QStringLiteral("u%1/unit.fbi").arg(unit)), unitText({{"UnitName", "U"}}));
    ModTable table(*m_documents);
    QSignalSpy loaded(&table, &ModTable::loaded);
    table.load(m_dir->path());
    table.clear();
    QVERIFY(!table.isLoading());
    QTest::qWait(50);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(table.unitCount(), 0);
    table.load(m_dir->path());
    QVERIFY(waitLoaded(table));
    QCOMPARE(table.unitCount(), 400);
}

void TestModTable::progressBarGoesAway()
{
    writeMod();
    ScriptedDialogs dialogs;
    ModTableWindow window(*m_documents, dialogs);
    window.show();
    window.load(m_dir->path());
    QVERIFY(window.progressBar()->isVisible());
    QVERIFY(waitLoaded(*window.mod()));
    QVERIFY(!window.progressBar()->isVisible());
    QCOMPARE(window.shownTable()->rowCount(), 3);
    QCOMPARE(window.errorList()->count(), 1);
    QVERIFY(window.errorList()->item(0)->text().startsWith(QStringLiteral("long.fbi")));
}

void TestModTable::doubleClickOpensSharedDocument()
{
    writeMod();
    TableProgram program(*m_documents);
    MainWindow &main = program.main;
    ModTableWindow *window = program.openTable(m_dir->path());
    QVERIFY(window);
    const int documentWindows = int(main.documentWindows().size());

    QTableView *frozen = window->tableView()->frozenView();
    const QPoint unitCell = frozen->visualRect(frozen->model()->index(1, 0)).center();
    doubleClick(frozen, unitCell);
    Document *document = window->table()->document(1);
    QCOMPARE(main.documentWindows().size(), documentWindows + 1);
    DocumentWindow *shown = main.documentWindows().last();
    QCOMPARE(shown->document(), document);

    // One object: an edit in the table is in the window's rows, and the other way round.
    QVERIFY(window->shownTable()->setData(window->shownTable()->index(1, 2), QStringLiteral("999")));
    QCOMPARE(shown->lstVals()->model()->index(1, Document::ValueColumn).data().toString(), QStringLiteral("999"));
    document->setValue(0, QStringLiteral("BETA2"));
    QCOMPARE(window->shownTable()->index(1, 0).data().toString(), QStringLiteral("BETA2"));

    // Asked again, the same window comes to the front.
    main.mdiArea()->setActiveSubWindow(window);
    doubleClick(frozen, unitCell);
    QCOMPARE(main.documentWindows().size(), documentWindows + 1);
    QCOMPARE(main.mdiArea()->activeSubWindow(), shown);
}

void TestModTable::closeAsksOncePerFile_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");

    QTest::newRow("Yes saves all") << QMessageBox::Yes << true << true;
    QTest::newRow("No drops the changes") << QMessageBox::No << true << false;
    QTest::newRow("Cancel keeps everything") << QMessageBox::Cancel << false << false;
}

// The program closes with two changed units, one of them open in its own window too: the table asks
// about the unit only it holds, the window about its own; no file is asked about twice.
void TestModTable::closeAsksOncePerFile()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    writeMod();
    const QByteArray original = readFile(m_dir->filePath("a.fbi"));
    TableProgram program(*m_documents);
    ScriptedDialogs &dialogs = program.dialogs;
    dialogs.buttons << answer;
    if (answer != QMessageBox::Cancel)
        dialogs.buttons << answer;
    QPointer<ModTableWindow> window = program.openTable(m_dir->path());
    QVERIFY(window);
    QVERIFY(window->table()->setData(window->table()->index(0, 2), QStringLiteral("123")));
    window->table()->setData(window->table()->index(1, 2), QStringLiteral("456"));
    m_documents->show(window->table()->document(0));

    QCOMPARE(closeMain(program.main), closed);
    QCOMPARE(dialogs.messages.size(), closed ? 2 : 1);
    QCOMPARE(dialogs.messages.first().title, QStringLiteral("Save before Closing"));
    QVERIFY(dialogs.messages.first().text.startsWith(QStringLiteral("1 file of ")));
    if (closed)
        QVERIFY(dialogs.messages.last().text.startsWith(QStringLiteral("The data in a.fbi has changed.")));
    QCOMPARE(readFile(m_dir->filePath("a.fbi")).contains("MaxDamage=123;"), saved);
    QCOMPARE(readFile(m_dir->filePath("a.fbi")) == original, !saved);
    QCOMPARE(readFile(m_dir->filePath("sub/B.FBI")).contains("maxdamage=456;"), saved);
    if (!closed)
        QVERIFY(window && window->table()->document(0)->isModified());
    QCOMPARE(dialogs.faults(), QString());
}

// A unit of an open table opened again with File > Open is the table's document: edits made in
// either place are one history, and a save from the window is what the table shows.
void TestModTable::oneDocumentForTheTableAndAWindow()
{
    writeMod();
    TableProgram program(*m_documents);
    ModTableWindow *window = program.openTable(m_dir->path());
    QVERIFY(window);
    ModTable *table = window->table();
    QVERIFY(table->setData(table->index(0, 2), QStringLiteral("321")));
    Document *opened = program.commands.openFile(m_dir->filePath("a.fbi"));
    QCOMPARE(opened, table->document(0));
    QCOMPARE(opened->value(1), QStringLiteral("321"));
    opened->setValue(0, QStringLiteral("ALPHA2"));
    QVERIFY(program.commands.save(opened));
    QCOMPARE(table->index(0, 0).data().toString(), QStringLiteral("ALPHA2"));
    QVERIFY(!table->index(0, 0).data(ModTable::ModifiedRole).toBool());
    const QByteArray saved = readFile(m_dir->filePath("a.fbi"));
    QVERIFY(saved.contains("MaxDamage=321;") && saved.contains("UnitName=ALPHA2;"));
    QCOMPARE(opened->history()->count(), 2);
    // Closing the table leaves the window and its document.
    QVERIFY(window->close());
    QCOMPARE(program.main.documentWindows().constLast()->document(), opened);
    QCOMPARE(opened->value(0), QStringLiteral("ALPHA2"));
    QCOMPARE(program.dialogs.faults(), QString());
}

QTEST_MAIN(TestModTable)
#include "tst_modtable.moc"
