#include "documents/Document.h"
#include "support/Fixture.h"

#include <QDir>
#include <QTest>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n";
}

class TestCommands : public FixtureTestCase
{
    Q_OBJECT

private slots:
    void openAsksForAFile();
    void saveAsksForANameOnce();
    void saveAsStartsWithTheDocumentsOwnFile_data();
    void saveAsStartsWithTheDocumentsOwnFile();
    void replacingAnotherFileAsks_data();
    void replacingAnotherFileAsks();
};

void TestCommands::openAsksForAFile()
{
    const QString tank = f->files.write("tank.fbi", Tank);
    f->dialogs.answerFile(tank);
    f->dialogs.answerFile({});
    f->commands.open();
    f->commands.open();
    QCOMPARE(f->documents.documents().size(), 1);
    QCOMPARE(Fixture::rows(f->documents.documents().constFirst()), QStringList{"Name=Tank"});
    QCOMPARE(f->dialogs.fileDialogs[0].directory, f->options.projectFolder);
    // The next dialog starts with the file chosen last.
    QCOMPARE(f->dialogs.fileDialogs[1].fileName, tank);
}

void TestCommands::saveAsksForANameOnce()
{
    Document *document = f->commands.newDocument();
    document->appendRow("Name", "Tank");
    f->dialogs.answerFile(f->files.filePath("new.fbi"));
    QVERIFY(f->commands.save(document));
    document->appendRow("Side", "ARM");
    QVERIFY(f->commands.save(document));
    QCOMPARE(f->dialogs.fileDialogs.size(), 1);
    QCOMPARE(f->files.read("new.fbi"), "[UNITINFO]\r\n\t{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n\t}\r\n");
}

void TestCommands::saveAsStartsWithTheDocumentsOwnFile_data()
{
    QTest::addColumn<QString>("opened");     // a file opened before, in a folder of its own
    QTest::addColumn<bool>("saveOpened");    // Save As of that document, or of a new one
    QTest::addColumn<QString>("start");
    QTest::newRow("the document's own file") << "units/tank.fbi" << true << "units/tank.fbi";
    QTest::newRow("a new document: its name in the project folder") << "" << false << "Default1.fbi";
    QTest::newRow("a new document after an open: the last folder") << "units/tank.fbi" << false << "units/Default2.fbi";
}

void TestCommands::saveAsStartsWithTheDocumentsOwnFile()
{
    QFETCH(QString, opened);
    QFETCH(bool, saveOpened);
    QFETCH(QString, start);
    Document *document = nullptr;
    if (!opened.isEmpty()) {
        QDir(f->files.path()).mkdir("units");
        f->dialogs.answerFile(f->files.write(opened, Tank));
        f->commands.open();
        document = f->documents.documents().constFirst();
    }
    if (!saveOpened)
        document = f->commands.newDocument();
    f->dialogs.answerFile({});
    QVERIFY(!f->commands.saveAs(document));
    QCOMPARE(QDir::cleanPath(f->dialogs.fileDialogs.constLast().fileName), f->files.filePath(start));
}

void TestCommands::replacingAnotherFileAsks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<int>>("answers");   // to the question, each time it is asked
    QTest::addColumn<bool>("saved");
    QTest::newRow("another file, Yes") << "other.fbi" << QList<int>{QMessageBox::Yes} << true;
    QTest::newRow("another file, No: the file dialog again") << "other.fbi" << QList<int>{QMessageBox::No} << false;
    QTest::newRow("the document's own file: no question") << "tank.fbi" << QList<int>{} << true;
    QTest::newRow("a new file: no question") << "new.fbi" << QList<int>{} << true;
}

void TestCommands::replacingAnotherFileAsks()
{
    QFETCH(QString, target);
    QFETCH(QList<int>, answers);
    QFETCH(bool, saved);
    const QByteArray other = "[UNITINFO]\r\n{\r\n\tName=Other;\r\n}\r\n";
    f->files.write("other.fbi", other);
    Document *document = f->open("tank.fbi", Tank);
    document->setValue(0, "Changed");
    f->dialogs.answerFile(f->files.filePath(target));
    for (int answer : answers)
        f->dialogs.answerMessage(QMessageBox::StandardButton(answer));
    if (!saved)
        f->dialogs.answerFile({});
    QCOMPARE(f->commands.saveAs(document), saved);
    QCOMPARE(f->dialogs.messages.size(), answers.size());
    QCOMPARE(f->dialogs.fileDialogs.size(), saved ? 1 : 2);
    QCOMPARE(f->files.read(target).contains("Name=Changed;"), saved);
    QCOMPARE(f->files.read("other.fbi") == other, target != "other.fbi" || !saved);
    QCOMPARE(document->isModified(), !saved);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
