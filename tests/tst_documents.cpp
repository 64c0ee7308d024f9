#include "docwindow/DocumentWindow.h"
#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"
#include "app/Globals.h"
#include "support/AppTestCase.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTest>

using namespace Globals;

namespace {
const QByteArray TankFile = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=CORE;\r\n}\r\n";

MessageBoxRequest cannotOpen(const QString &path)
{
    return {"Cannot open " + path + "\r\nPlease check the file path and try again.", "Error Opening File",
            QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::Critical};
}

MessageBoxRequest cannotSave(const QString &path)
{
    return {"Cannot save " + path + "\r\nPlease check the file path and try again.", "Error Saving File",
            QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::Critical};
}

void closeWindow(int number)
{
    AppFixture::window(number)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The five controls that need an open document.
QList<bool> documentCommandsEnabled()
{
    MainWindow *main = AppFixture::main();
    VariablePanel *panel = main->variablePanel();
    return {main->toolbarButton(3)->isEnabled(), main->toolbarButton(8)->isEnabled(), panel->cmdAdd()->isEnabled(),
            panel->cmdRemove()->isEnabled(), panel->cmdChange()->isEnabled()};
}
}

class TestDocuments : public AppTestCase
{
    Q_OBJECT

private slots:
    void numbersAreReusedLowestFirst();
    void captionIsTheNameAfterTheLastSeparator_data();
    void captionIsTheNameAfterTheLastSeparator();
    void openCommand();
    void openCancelledCreatesNothing();
    void openFailures_data();
    void openFailures();
    void sameFileOpensTwice();
    void saveAsksForANameOnlyOnce();
    void saveAsReplacesWithoutAsking();
    void failedSaveKeepsEverything();
    void documentCommandsFollowTheOpenWindows();

};

void TestDocuments::numbersAreReusedLowestFirst()
{
    QCOMPARE(AppFixture::captions(), QStringList{"Default1.fbi"});
    QCOMPARE(CurrentDoc, 1);
    FileCommands::NewDocument();
    FileCommands::NewDocument();
    QCOMPARE(AppFixture::captions(), (QStringList{"Default1.fbi", "Default2.fbi", "Default3.fbi"}));
    QCOMPARE(CurrentDoc, 3);

    closeWindow(1);
    closeWindow(3);
    QVERIFY(DocStates[1].Closed && !DocStates[2].Closed && DocStates[3].Closed);
    QCOMPARE(FileCommands::NewDocument()->documentNumber(), 1);
    QCOMPARE(FileCommands::NewDocument()->documentNumber(), 3);
    QCOMPARE(FileCommands::NewDocument()->documentNumber(), 4);
    QCOMPARE(DocStates.size(), 5);
    QCOMPARE(AppFixture::captions(), (QStringList{"Default2.fbi", "Default1.fbi", "Default3.fbi", "Default4.fbi"}));
    // A reused number comes up as a new, empty document.
    QCOMPARE(AppFixture::window(1)->document()->rowCount(), 0);
}

void TestDocuments::captionIsTheNameAfterTheLastSeparator_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");
    QTest::newRow("full path") << "/games/ta/Units/Tank.FBI" << "Tank.FBI";
    QTest::newRow("no separator") << "tank.fbi" << QString();
    QTest::newRow("blanks kept") << "/my units/big tank.fbi" << "big tank.fbi";
}

void TestDocuments::captionIsTheNameAfterTheLastSeparator()
{
    QFETCH(QString, path);
    QFETCH(QString, caption);
    QCOMPARE(FileCommands::captionForPath(QDir::toNativeSeparators(path)), caption);
}

void TestDocuments::openCommand()
{
    const QString tank = m_app->writeFile("tank.fbi", TankFile);
    m_app->dialogs.answerFile(tank);
    FileCommands::OpenCommand();

    const QList<FileDialogRequest> shown = m_app->dialogs.fileDialogs();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(int(shown[0].mode), int(FileDialogRequest::Mode::Open));
    QCOMPARE(shown[0].title, "Open...");
    QCOMPARE(shown[0].filters, (QStringList{"TA FBI Files(*.fbi)", "All Files(*.*)"}));
    QCOMPARE(shown[0].filterIndex, 0);
    QCOMPARE(shown[0].defaultSuffix, "fbi");
    QCOMPARE(shown[0].directory, m_app->dir.path());
    QCOMPARE(shown[0].fileName, QString());

    DocumentWindow *window = AppFixture::window(2);
    QCOMPARE(window->windowTitle(), "tank.fbi");
    QCOMPARE(window->document()->rowCount(), 2);
    QCOMPARE(window->document()->name(0), "Name");
    QCOMPARE(window->document()->value(1), "CORE");
    QCOMPARE(DocStates[2].FilePath, tank);
    QVERIFY(!DocStates[2].Changed);
    QVERIFY(m_app->dialogs.messages().isEmpty());

    // The next file dialog starts with the name chosen last.
    m_app->dialogs.answerFile(std::nullopt);
    FileCommands::SaveAsCommand(window);
    QCOMPARE(m_app->dialogs.fileDialogs().last().fileName, tank);
}

void TestDocuments::openCancelledCreatesNothing()
{
    m_app->dialogs.answerFile(std::nullopt);
    FileCommands::OpenCommand();
    QCOMPARE(AppFixture::captions(), QStringList{"Default1.fbi"});
    QVERIFY(m_app->dialogs.messages().isEmpty());
}

void TestDocuments::openFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rowsKept");
    QTest::newRow("missing file") << "missing.fbi" << QByteArray() << 0;
    QTest::newRow("a folder") << "" << QByteArray() << 0;
    QTest::newRow("a line that is too long") << "long.fbi" << "{\r\nA=1;\r\nB=" + QByteArray(40000, 'x') + "\r\nC=3;\r\n}" << 1;
    QTest::newRow("binary without line ends") << "binary.fbi" << QByteArray(70000, '\0') << 0;
}

// A file that cannot be read leaves a new, unnamed document with the rows read before the failure.
void TestDocuments::openFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, rowsKept);
    const QString path = bytes.isEmpty() ? m_app->path(name) : m_app->writeFile(name, bytes);
    m_app->dialogs.answerMessage(QMessageBox::Ok);
    FileCommands::OpenDocument(path);

    QCOMPARE(m_app->dialogs.messages(), QList<MessageBoxRequest>{cannotOpen(path)});
    DocumentWindow *window = AppFixture::window(2);
    QCOMPARE(window->windowTitle(), "Default2.fbi");
    QCOMPARE(window->document()->rowCount(), rowsKept);
    QCOMPARE(DocStates[2].FilePath, QString());
    QVERIFY(!DocStates[2].Changed);
}

void TestDocuments::sameFileOpensTwice()
{
    const QString tank = m_app->writeFile("tank.fbi", TankFile);
    FileCommands::OpenDocument(tank);
    FileCommands::OpenDocument(tank);
    QCOMPARE(AppFixture::captions(), (QStringList{"Default1.fbi", "tank.fbi", "tank.fbi"}));
    AppFixture::window(2)->appendVariable("Extra", "1");
    QCOMPARE(AppFixture::window(3)->document()->rowCount(), 2);
    QVERIFY(DocStates[2].Changed && !DocStates[3].Changed);
}

void TestDocuments::saveAsksForANameOnlyOnce()
{
    DocumentWindow *window = AppFixture::window(1);
    window->appendVariable("Name", "Tank");
    QVERIFY(DocStates[1].Changed);
    const QString target = m_app->path("new.fbi");
    m_app->dialogs.answerFile(target);
    QVERIFY(FileCommands::SaveCommand(window));

    const FileDialogRequest shown = m_app->dialogs.fileDialogs().constFirst();
    QCOMPARE(int(shown.mode), int(FileDialogRequest::Mode::Save));
    QCOMPARE(shown.title, "Save...");
    QCOMPARE(shown.filters, QStringList{"TA FBI Files(*.fbi)"});
    QCOMPARE(shown.defaultSuffix, "fbi");
    QCOMPARE(shown.directory, m_app->dir.path());
    QCOMPARE(m_app->readFile("new.fbi"), QByteArray("[UNITINFO]\r\n\t{\r\n\tName=Tank;\r\n\t}\r\n"));
    QCOMPARE(window->windowTitle(), "new.fbi");
    QCOMPARE(DocStates[1].FilePath, target);
    QVERIFY(!DocStates[1].Changed);

    window->appendVariable("Side", "ARM");
    QVERIFY(FileCommands::SaveCommand(window));
    QCOMPARE(m_app->dialogs.fileDialogs().size(), 1);
    QCOMPARE(m_app->readFile("new.fbi"), QByteArray("[UNITINFO]\r\n\t{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n\t}\r\n"));
}

void TestDocuments::saveAsReplacesWithoutAsking()
{
    const QString existing = m_app->writeFile("existing.fbi", TankFile);
    m_app->dialogs.answerFile(existing);
    QVERIFY(FileCommands::SaveAsCommand(AppFixture::window(1)));
    QCOMPARE(m_app->readFile("existing.fbi"), QByteArray("[UNITINFO]\r\n\t{\r\n\t}\r\n"));
    QVERIFY(m_app->dialogs.messages().isEmpty());
}

void TestDocuments::failedSaveKeepsEverything()
{
    const QString tank = m_app->writeFile("tank.fbi", TankFile);
    FileCommands::OpenDocument(tank);
    DocumentWindow *window = AppFixture::window(2);
    window->appendVariable("Extra", "1");

    const QString unreachable = m_app->path("no such folder/tank.fbi");
    m_app->dialogs.answerFile(unreachable);
    m_app->dialogs.answerMessage(QMessageBox::Ok);
    QVERIFY(!FileCommands::SaveAsCommand(window));

    QCOMPARE(m_app->dialogs.messages(), QList<MessageBoxRequest>{cannotSave(unreachable)});
    QCOMPARE(window->windowTitle(), "tank.fbi");
    QCOMPARE(DocStates[2].FilePath, tank);
    QVERIFY(DocStates[2].Changed);
    QCOMPARE(m_app->readFile("tank.fbi"), TankFile);
}

void TestDocuments::documentCommandsFollowTheOpenWindows()
{
    const QList<bool> allOn{true, true, true, true, true};
    const QList<bool> allOff{false, false, false, false, false};
    QCOMPARE(documentCommandsEnabled(), allOn);
    FileCommands::NewDocument();
    closeWindow(1);
    QCOMPARE(documentCommandsEnabled(), allOn);
    closeWindow(2);
    QCOMPARE(documentCommandsEnabled(), allOff);
    FileCommands::OpenDocument(m_app->writeFile("tank.fbi", TankFile));
    QCOMPARE(documentCommandsEnabled(), allOn);
    closeWindow(1);
    m_app->dialogs.answerMessage(QMessageBox::Ok);
    FileCommands::OpenDocument(m_app->path("missing.fbi"));
    QCOMPARE(documentCommandsEnabled(), allOn);
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
