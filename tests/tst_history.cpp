// A document's own history: each kind of edit undone and redone, the modified state following it,
// and the searches and replacements that the Edit menu makes over the rows. No window is needed.
#include "documents/Document.h"
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "support/Rows.h"

#include <QSignalSpy>
#include <QTest>

#include <numeric>

namespace {
using Edit = std::function<void(Document &)>;

// A document as read from a file: Name=Tank, Side=ARM, Weapon1=LASER, Weapon2=ROCKET.
std::unique_ptr<Document> unit()
{
    auto document = std::make_unique<Document>(1);
    document->setContent(readFbi("[UNITINFO]\n{\nName=Tank;\nSide=ARM;\nWeapon1=LASER;\nWeapon2=ROCKET;\n}\n").content);
    document->setFile(QStringLiteral("/units/tank.fbi"), FileStamp());
    return document;
}

const QStringList Original{"Name=Tank", "Side=ARM", "Weapon1=LASER", "Weapon2=ROCKET"};
}

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void eachEditIsOneStep_data();
    void eachEditIsOneStep();
    void modifiedFollowsTheHistory();
    void nothingChangedMakesNoStep();
    void pasteTakesOnlyRows();
    void findWrapsAndMisses();
    void valueRuleAtEveryWayIn_data();
    void valueRuleAtEveryWayIn();
    void replaceWholeValueAndCase_data();
    void replaceWholeValueAndCase();
    void sectionsKeepTheirRows();
    void bigEditsAreOneModelChange();
    void earlierRowsOfAKeyAreOverridden_data();
    void earlierRowsOfAKeyAreOverridden();
};

void TestHistory::eachEditIsOneStep_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QList<int>>("selectedAfterUndo");

    QTest::newRow("change value") << Edit([](Document &d) { d.setValue(1, "CORE"); }) << "Change Value"
                                  << QStringList{"Name=Tank", "Side=CORE", "Weapon1=LASER", "Weapon2=ROCKET"}
                                  << QList<int>{1};
    QTest::newRow("add variable") << Edit([](Document &d) { d.addRow("BuildTime", "Change This"); })
                                  << "Add Variable" << (Original + QStringList{"BuildTime=Change This"})
                                  << QList<int>{3};
    QTest::newRow("remove rows apart") << Edit([](Document &d) { d.removeRows({3, 0}, "Remove Variable"); })
                                       << "Remove Variable" << QStringList{"Side=ARM", "Weapon1=LASER"}
                                       << QList<int>{0, 3};
    QTest::newRow("paste in the middle")
        << Edit([](Document &d) { d.insertRows(2, {{"A", "1"}, {"B", "2"}}, "Paste"); }) << "Paste"
        << QStringList{"Name=Tank", "Side=ARM", "A=1", "B=2", "Weapon1=LASER", "Weapon2=ROCKET"} << QList<int>{1};
    QTest::newRow("replace all") << Edit([](Document &d) { QCOMPARE(d.replaceInValues("la", "BLA").replaced, 1); })
                                 << "Replace All"
                                 << QStringList{"Name=Tank", "Side=ARM", "Weapon1=BLASER", "Weapon2=ROCKET"}
                                 << QList<int>{2};
    QTest::newRow("a table's edit taking rows out") << Edit([](Document &d) {
        QVERIFY(d.apply(DocumentEdit{{{1, "CORE"}, {3, "x"}}, {{-1, FbiRow{"A", "1"}}}, {3, 0}}, "Remove Key").isEmpty());
    }) << "Remove Key" << QStringList{"Side=CORE", "Weapon1=LASER", "A=1"} << QList<int>{0, 1, 3};
}

// Undo puts back the rows as they were, at their places, and tells where (the window selects them);
// redo does the step again.
void TestHistory::eachEditIsOneStep()
{
    QFETCH(Edit, edit);
    QFETCH(QString, step);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, selectedAfterUndo);
    auto document = unit();
    QSignalSpy edited(document.get(), &Document::rowsEdited);
    edit(*document);
    QCOMPARE(rowsOf(*document), after);
    QCOMPARE(document->history()->count(), 1);
    QCOMPARE(document->history()->undoText(), step);

    document->history()->undo();
    QCOMPARE(rowsOf(*document), Original);
    QCOMPARE(edited.constLast().constFirst().value<QList<int>>(), selectedAfterUndo);
    QCOMPARE(document->history()->redoText(), step);
    document->history()->redo();
    QCOMPARE(rowsOf(*document), after);
}

void TestHistory::modifiedFollowsTheHistory()
{
    auto document = unit();
    QSignalSpy modified(document.get(), &Document::modifiedChanged);
    QVERIFY(!document->isModified());
    document->setValue(0, "Big Tank");
    document->setValue(0, "Bigger Tank");
    QVERIFY(document->isModified());
    document->history()->undo();
    document->history()->undo();
    QVERIFY2(!document->isModified(), "back where the file was read: nothing to save");
    document->history()->redo();
    QVERIFY(document->isModified());
    // A save marks where the history stands; undoing from there is a change again.
    document->setFile("/units/tank.fbi", FileStamp());
    QVERIFY(!document->isModified());
    document->history()->undo();
    QVERIFY(document->isModified());
    QCOMPARE(modified.count(), 5);
}

void TestHistory::nothingChangedMakesNoStep()
{
    auto document = unit();
    document->setValue(1, "ARM");
    document->removeRows({}, "Remove Variable");
    document->insertRows(0, {}, "Paste");
    QCOMPARE(document->replaceInValues("nowhere", "x").replaced, 0);
    QCOMPARE(document->history()->count(), 0);
    QVERIFY(!document->isModified());
    // A change of letter case is a change.
    document->setValue(1, "arm");
    QVERIFY(document->isModified());
}

void TestHistory::pasteTakesOnlyRows()
{
    const QByteArray clipboard = "[UNITINFO]\r\n{\r\n\tName=Tank; // note\r\n// Side=CORE;\r\n/* Weapon1=X;\r\n*/\r\n"
                                 "\t[SFXTypes]\r\n\t{\r\n\texplosiongenerator0=custom:dust;\r\n\t}\r\n\tMaxDamage=90;\r\n}\r\n"
                                 "After=1;\r\n";
    const QList<FbiRow> rows = parseRows(clipboard);
    QCOMPARE(rows, (QList<FbiRow>{{"Name", "Tank"}, {"// Side", "CORE"}, {"MaxDamage", "90"}}));
    // Lines copied from a window are rows without a header or braces.
    QCOMPARE(parseRows("Name=Tank;\r\nSide=ARM;\r\n"), (QList<FbiRow>{{"Name", "Tank"}, {"Side", "ARM"}}));
    QCOMPARE(unitFileLines({{"Name", "Tank"}, {"Side", "ARM"}}), QString("Name=Tank;\r\nSide=ARM;\r\n"));
}

void TestHistory::findWrapsAndMisses()
{
    auto document = unit();
    QCOMPARE(document->findRow("weapon", 0), 2);
    QCOMPARE(document->findRow("weapon", 3), 3);
    QCOMPARE(document->findRow("weapon", 4), 2);   // wraps at the end
    QCOMPARE(document->findRow("arm", 0), 1);      // values too, any letter case
    QCOMPARE(document->findRow("nowhere", 0), -1);
    QCOMPARE(document->findValueRow("weapon", 0), -1);
}

void TestHistory::valueRuleAtEveryWayIn_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("side"); // the value of Side (row 1) after the edit
    QTest::addColumn<QString>("added"); // the value of a row the edit added, if any
    QTest::newRow("a leading tab pasted") << Edit([](Document &d) { d.setValue(1, "\tT"); }) << "T" << "";
    QTest::newRow("a trailing blank on a row without a semicolon")
        << Edit([](Document &d) { d.setValue(1, "new "); }) << "new" << "";
    QTest::newRow("a semicolon and more") << Edit([](Document &d) { d.setValue(1, "ARM;Evil=1"); }) << "ARM" << "";
    QTest::newRow("a line break") << Edit([](Document &d) { d.setValue(1, "CORE\r\nEvil=1"); }) << "CORE" << "";
    QTest::newRow("a tab inside stays") << Edit([](Document &d) { d.setValue(1, "36 30\t38"); }) << "36 30\t38" << "";
    QTest::newRow("replace all bringing a semicolon") << Edit([](Document &d) {
        const ReplaceCount count = d.replaceInValues("ARM", "ARM;Evil=1");
        QCOMPARE(count.refused, 1);
        QCOMPARE(count.replaced, 0);
    }) << "ARM" << "";
    QTest::newRow("replace one bringing a line break")
        << Edit([](Document &d) { QVERIFY(!d.replaceInValue(1, "ARM", "A\nB", {})); }) << "ARM" << "";
    QTest::newRow("replace leaving a blank at the end")
        << Edit([](Document &d) { QVERIFY(d.replaceInValue(1, "M", " ", {})); }) << "AR" << "";
    QTest::newRow("paste with blanks around a value")
        << Edit([](Document &d) { d.insertRows(2, {{"A", " x\t"}}, "Paste"); }) << "ARM" << "x";
    QTest::newRow("a table's edit") << Edit([](Document &d) {
        d.apply(DocumentEdit{{{1, " CORE\t"}}, {{-1, FbiRow{"A", "1;2"}}}, {}}, "Set Value");
    }) << "CORE" << "1";
}

// Whichever way a value comes in, it keeps the one rule, and the file's own layout can take it:
// the kept layout writes it where it stands, the file's comments stay, and it reads back as shown.
void TestHistory::valueRuleAtEveryWayIn()
{
    QFETCH(Edit, edit);
    QFETCH(QString, side);
    QFETCH(QString, added);
    Document document(1);
    const QByteArray file("[UNITINFO]\r\n{\r\n\tName=Bar; // keep\r\n\tSide=ARM\r\n}\r\n// trailer\r\n");
    document.setContent(readFbi(file).content);
    edit(document);
    QCOMPARE(document.value(1), side);
    const int addedRow = document.findKey("A");
    QCOMPARE(addedRow < 0 ? QString() : document.value(addedRow), added);
    const FbiText written = writeFbi(document.content(), FbiLayout::Kept);
    QVERIFY2(written.ok, qPrintable(written.reason));
    QVERIFY(written.text.contains("// keep") && written.text.contains("// trailer"));
    QCOMPARE(readFbi(written.text).content.rows(), document.content().rows());
}

void TestHistory::replaceWholeValueAndCase_data()
{
    QTest::addColumn<bool>("wholeValue");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("replaced");
    QTest::newRow("part of a value, any case") << false << false << QStringList{"200", "1200", "200 200", "x=200", "ABC"} << 5;
    QTest::newRow("whole value only") << true << false << QStringList{"200", "1150", "150 150", "x=150", "ABC"} << 1;
    QTest::newRow("match case") << false << true << QStringList{"200", "1200", "200 200", "x=200", "ABC"} << 5;
}

// 150 -> 200 over values; names never change, however they read.
void TestHistory::replaceWholeValueAndCase()
{
    QFETCH(bool, wholeValue);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, values);
    QFETCH(int, replaced);
    Document document(1);
    document.setContent(readFbi("{\nA=150;\nB=1150;\nC=150 150;\n150=x=150;\nD=ABC;\n}").content);
    const ReplaceCount count = document.replaceInValues("150", "200", MatchOptions{wholeValue, matchCase});
    QStringList result;
    for (int row = 0; row < document.rowCount(); ++row)
        result.append(document.value(row));
    QCOMPARE(result, values);
    QCOMPARE(document.name(3), "150");
    QCOMPARE(count.replaced, replaced);
    QCOMPARE(document.replaceInValues("abc", "x", MatchOptions{false, true}).replaced, 0);
}

// A section's rows are rows like any other; its header is no variable: not removed, not copied, no value.
void TestHistory::sectionsKeepTheirRows()
{
    Document document(1);
    document.setContent(readFbi("{\nA=1;\n[customparams]\n{\nnotes=x;\n}\nB=2;\n}").content);
    QCOMPARE(rowsOf(document), (QStringList{"A=1", "customparams=", "notes=x", "B=2"}));
    QVERIFY(document.isSection(1));
    QCOMPARE(document.data(document.index(1, Document::NameColumn)).toString(), "[customparams]");
    document.removeRows({1, 2}, "Remove Variable");
    QCOMPARE(rowsOf(document), (QStringList{"A=1", "customparams=", "B=2"}));
    QCOMPARE(document.rows({0, 1, 2}), (QList<FbiRow>{{"A", "1"}, {"B", "2"}}));
    document.setValue(1, "x");
    QCOMPARE(document.value(1), "");
    // Added to the section of the row given, after its last variable.
    document.history()->undo();
    document.addRow("extra", "1", 2);
    QCOMPARE(rowsOf(document), (QStringList{"A=1", "customparams=", "notes=x", "extra=1", "B=2"}));
    QCOMPARE(document.content().depth(3), 1);
    QCOMPARE(document.findKey("NOTES", 1), 2);
    QCOMPARE(document.findKey("notes"), -1);
}

// However many rows an edit, its undo or its redo moves, the views hear of it once.
void TestHistory::bigEditsAreOneModelChange()
{
    Document document(1);
    QList<FbiRow> rows;
    for (int row = 0; row < 32768; ++row)
        rows.append(FbiRow{QStringLiteral("Row%1").arg(row), QString::number(row)});
    QSignalSpy inserted(&document, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&document, &QAbstractItemModel::rowsRemoved);
    QVERIFY(!document.insertRows(0, rows, "Paste").isEmpty()); // more than the reader opens again
    QCOMPARE(document.rowCount(), 0);
    rows.resize(20000);
    QVERIFY(document.insertRows(0, rows, "Paste").isEmpty());
    document.history()->undo();
    document.history()->redo();
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(removed.count(), 1);
    QList<int> every(20000);
    std::iota(every.begin(), every.end(), 0);
    document.removeRows(every, "Cut");
    document.history()->undo();
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(removed.count(), 2);
    QCOMPARE(document.rowCount(), 20000);
    QCOMPARE(document.value(19999), "19999");
}

void TestHistory::earlierRowsOfAKeyAreOverridden_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QList<int>>("overriddenBy");   // by row
    const Edit none = [](Document &) {};
    QTest::newRow("each key once") << QByteArray("{\nA=1;\nB=2;\n}") << none << QList<int>{-1, -1};
    QTest::newRow("set twice: the later row wins") << QByteArray("{\nbuildangle=0;\nSide=ARM;\nbuildangle=1;\n}")
                                                   << none << QList<int>{2, -1, -1};
    QTest::newRow("letter case ignored, as the engines read keys")
        << QByteArray("{\nBuildAngle=0;\nBUILDANGLE=1;\n}") << none << QList<int>{1, -1};
    QTest::newRow("three times: both earlier rows point to the last")
        << QByteArray("{\nA=1;\nA=2;\nB=0;\nA=3;\n}") << none << QList<int>{3, 3, -1, -1};
    QTest::newRow("the same key in a nested section is another key")
        << QByteArray("{\nnotes=a;\n[customparams]\n{\nnotes=b;\n}\n}") << none << QList<int>{-1, -1, -1};
    QTest::newRow("twice within a nested section")
        << QByteArray("{\nnotes=a;\n[customparams]\n{\nnotes=b;\nnotes=c;\n}\n}") << none << QList<int>{-1, -1, 3, -1};
    QTest::newRow("sections of a definitions file each their own")
        << QByteArray("[LASER]\n{\nrange=100;\n}\n[ROCKET]\n{\nrange=200;\nrange=300;\n}\n") << none
        << QList<int>{-1, -1, -1, 4, -1};
    QTest::newRow("the later row removed: none left")
        << QByteArray("{\nA=1;\nB=2;\nA=3;\n}") << Edit([](Document &d) { d.removeRows({2}, "Cut"); })
        << QList<int>{-1, -1};
    QTest::newRow("the removal undone: marked again")
        << QByteArray("{\nA=1;\nB=2;\nA=3;\n}")
        << Edit([](Document &d) { d.removeRows({2}, "Cut"); d.history()->undo(); }) << QList<int>{2, -1, -1};
    QTest::newRow("a pasted row sets a key again") << QByteArray("{\nA=1;\nB=2;\n}")
                                                    << Edit([](Document &d) { d.insertRows(2, {{"a", "9"}}, "Paste"); })
                                                    << QList<int>{2, -1, -1};
}

// A key set twice in one section: the engines use the last row, and every earlier one is marked.
void TestHistory::earlierRowsOfAKeyAreOverridden()
{
    QFETCH(QByteArray, file);
    QFETCH(Edit, edit);
    QFETCH(QList<int>, overriddenBy);
    Document document(1);
    document.setContent(readFbi(file, file.startsWith('[') ? FbiKind::Definitions : FbiKind::Unit).content);
    QList<int> before;
    for (int row = 0; row < document.rowCount(); ++row)
        before.append(document.overridingRow(row));
    edit(document);
    QList<int> found;
    for (int row = 0; row < document.rowCount(); ++row) {
        found.append(document.overridingRow(row));
        QCOMPARE(document.data(document.index(row, Document::ValueColumn), Document::OverriddenByRole).toInt(), found.last());
    }
    QCOMPARE(found, overriddenBy);
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
