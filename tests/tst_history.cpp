// A document's own history: each kind of edit undone and redone, the modified state following it,
// and the searches and replacements that the Edit menu makes over the rows. No window is needed.
#include "documents/Document.h"
#include "documents/FbiReader.h"

#include <QSignalSpy>
#include <QTest>

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

QStringList rowsOf(const Document &document)
{
    QStringList rows;
    for (int row = 0; row < document.rowCount(); ++row)
        rows.append(document.name(row) + '=' + document.value(row));
    return rows;
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
    QTest::newRow("add variable") << Edit([](Document &d) { d.appendRow("BuildTime", "Change This"); })
                                  << "Add Variable" << (Original + QStringList{"BuildTime=Change This"})
                                  << QList<int>{3};
    QTest::newRow("remove rows apart") << Edit([](Document &d) { d.removeRows({3, 0}, "Remove Variable"); })
                                       << "Remove Variable" << QStringList{"Side=ARM", "Weapon1=LASER"}
                                       << QList<int>{0, 3};
    QTest::newRow("paste in the middle")
        << Edit([](Document &d) { d.insertRows(2, {{"A", "1"}, {"B", "2"}}, "Paste"); }) << "Paste"
        << QStringList{"Name=Tank", "Side=ARM", "A=1", "B=2", "Weapon1=LASER", "Weapon2=ROCKET"} << QList<int>{1};
    QTest::newRow("replace all") << Edit([](Document &d) { QCOMPARE(d.replaceInValues("la", "BLA"), 1); })
                                 << "Replace All"
                                 << QStringList{"Name=Tank", "Side=ARM", "Weapon1=BLASER", "Weapon2=ROCKET"}
                                 << QList<int>{2};
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
    // A remove with nothing selected counts as a change until the next save, without a step.
    auto marked = unit();
    marked->markModified();
    QVERIFY(marked->isModified());
    QCOMPARE(marked->history()->count(), 0);
    marked->setFile("/units/tank.fbi", FileStamp());
    QVERIFY(!marked->isModified());
}

void TestHistory::nothingChangedMakesNoStep()
{
    auto document = unit();
    document->setValue(1, "ARM");
    document->removeRows({}, "Remove Variable");
    document->insertRows(0, {}, "Paste");
    QCOMPARE(document->replaceInValues("nowhere", "x"), 0);
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

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
