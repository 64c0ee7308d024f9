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
    void openStartsWithTheLastFile();
    void saveAsStartsWithTheDocumentsOwnFile_data();
    void saveAsStartsWithTheDocumentsOwnFile();
    void replacingAnotherFileAsks_data();
    void replacingAnotherFileAsks();
};

void TestCommands::openStartsWithTheLastFile()
{
    const QString tank = f->files.write("tank.fbi", Tank);
    f->dialogs.paths << tank << QString();
    f->commands.open();
    f->commands.open();
    QCOMPARE(f->documents.documents().size(), 1);
    QCOMPARE(Fixture::rows(f->documents.documents()[0]), QStringList{"Name=Tank"});
    QCOMPARE(f->dialogs.fileDialogs[0].directory, f->options.projectFolder);
    QCOMPARE(f->dialogs.fileDialogs[1].fileName, tank);
}

void TestCommands::saveAsStartsWithTheDocumentsOwnFile_data()
{
    QTest::addColumn<bool>("openFirst");    // units/tank.fbi, then more/other.fbi
    QTest::addColumn<bool>("saveOpened");   // Save As of tank.fbi, or of a new document
    QTest::addColumn<QString>("start");
    QTest::newRow("the document's own file") << true << true << "units/tank.fbi";
    QTest::newRow("a new document: its name in the project folder") << false << false << "Default1.fbi";
    QTest::newRow("a new document: its name in the last folder") << true << false << "more/Default3.fbi";
}

void TestCommands::saveAsStartsWithTheDocumentsOwnFile()
{
    QFETCH(bool, openFirst);
    QFETCH(bool, saveOpened);
    QFETCH(QString, start);
    if (openFirst) {
        QDir(f->files.path()).mkpath("units");
        QDir(f->files.path()).mkpath("more");
        f->dialogs.paths << f->files.write("units/tank.fbi", Tank) << f->files.write("more/other.fbi", Tank);
        f->commands.open();
        f->commands.open();
    }
    Document *document = saveOpened ? f->documents.documents()[0] : f->commands.newDocument();
    f->dialogs.paths << QString();
    QVERIFY(!f->commands.saveAs(document));
    QCOMPARE(QDir::cleanPath(f->dialogs.fileDialogs.constLast().fileName), f->files.filePath(start));
}

void TestCommands::replacingAnotherFileAsks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");   // to the question, each time it is asked
    QTest::addColumn<bool>("saved");
    QTest::newRow("another file, Yes") << "other.fbi" << QList{QMessageBox::Yes} << true;
    QTest::newRow("another file, No: the file dialog again") << "other.fbi" << QList{QMessageBox::No} << false;
    QTest::newRow("the document's own file: no question") << "tank.fbi" << QList<QMessageBox::StandardButton>() << true;
    QTest::newRow("a new file: no question") << "new.fbi" << QList<QMessageBox::StandardButton>() << true;
}

void TestCommands::replacingAnotherFileAsks()
{
    QFETCH(QString, target);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(bool, saved);
    f->files.write("other.fbi", Tank);
    Document *document = f->open("tank.fbi", Tank);
    document->setValue(0, "Changed");
    f->dialogs.paths << f->files.filePath(target);
    f->dialogs.buttons = answers;
    if (!saved)
        f->dialogs.paths << QString();
    QCOMPARE(f->commands.saveAs(document), saved);
    QCOMPARE(f->dialogs.messages.size(), answers.size());
    QCOMPARE(f->dialogs.fileDialogs.size(), saved ? 1 : 2);
    QCOMPARE(f->files.read(target).contains("Name=Changed;"), saved);
    QCOMPARE(f->files.read("other.fbi") == Tank, target != "other.fbi" || !saved);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
