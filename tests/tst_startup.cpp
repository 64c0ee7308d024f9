#include "docwindow/DocumentWindow.h"
#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"
#include "app/Globals.h"
#include "settings/ProgramFolder.h"
#include "support/AppTestCase.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace Globals;

namespace {
const MessageBoxRequest Welcome{
    "This is the first time that you have run Korvid! Do you wish to associate all .FBI files with Korvid?",
    "Welcome to Korvid!", QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Information};
const MessageBoxRequest Restart{"You will need to restart your computer for settings to take affect.", "Restart",
                                QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::Information};
const MessageBoxRequest ErrorLoading{
    "Error loading the variables data file please check the file path in the options or specify a new one.",
    "Error Loading...", QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::Critical};

QStringList shownKnownVariables()
{
    QStringList names;
    const QListWidget *list = AppFixture::main()->variablePanel()->lstAdd();
    for (int row = 0; row < list->count(); ++row)
        names.append(list->item(row)->text());
    return names;
}

using Writes = QList<QPair<QString, QString>>;
}

class TestStartUp : public AppTestCase
{
    Q_OBJECT

public:
    TestStartUp()
        : AppTestCase(false)
    {
    }

private slots:
    void firstStart_data();
    void firstStart();
    void settingsBecomeTheGlobals_data();
    void settingsBecomeTheGlobals();
    void startWithoutFile();
    void startWithFile_data();
    void startWithFile();
    void startWithMissingFile();
    void knownVariables_data();
    void knownVariables();
    void missingVariablesFileLeavesTheProgramUsable();

};

void TestStartUp::firstStart_data()
{
    QTest::addColumn<QString>("firstRun");
    QTest::addColumn<bool>("yes");
    QTest::newRow("never started, No") << "" << false;
    QTest::newRow("never started, Yes") << "" << true;
    QTest::newRow("first-run mark not exactly 1") << "yes" << false;
}

void TestStartUp::firstStart()
{
    QFETCH(QString, firstRun);
    QFETCH(bool, yes);
    if (!firstRun.isEmpty())
        m_app->settings.values.insert("FirstRun", firstRun);
    m_app->settings.values.insert("VariableDir", "/somewhere/else.dat");
    m_app->dialogs.answerMessage(yes ? QMessageBox::Yes : QMessageBox::No);
    if (yes)
        m_app->dialogs.answerMessage(QMessageBox::Ok);
    m_app->start();

    const QString folder = ProgramFolder::path();
    const QString variables = folder + QDir::separator() + "Variables.dat";
    Writes expected{{"FirstRun", "1"}, {"VariableDir", variables}, {"ProjectDir", folder}};
    if (yes)
        expected.append(qMakePair(QString("Associated"), QString("1")));
    QCOMPARE(m_app->settings.writes, expected);
    QCOMPARE(m_app->dialogs.messages(), (yes ? QList<MessageBoxRequest>{Welcome, Restart} : QList<MessageBoxRequest>{Welcome}));
    QCOMPARE(VariableDir, variables);
    QCOMPARE(ProjectDir, folder);
    QCOMPARE(IsAssociated, yes);
    // The variables data file beside the program was read.
    QVERIFY(shownKnownVariables().contains("Acceleration"));
}

void TestStartUp::settingsBecomeTheGlobals_data()
{
    QTest::addColumn<QString>("associated");
    QTest::addColumn<bool>("isAssociated");
    QTest::newRow("associated") << "1" << true;
    QTest::newRow("not associated") << "" << false;
    QTest::newRow("anything but 1") << "true" << false;
}

void TestStartUp::settingsBecomeTheGlobals()
{
    QFETCH(QString, associated);
    QFETCH(bool, isAssociated);
    m_app->setReturningUser();
    m_app->settings.values.insert("Associated", associated);
    m_app->settings.values.insert("ProjectDir", "/projects/ta");
    m_app->start();
    QCOMPARE(IsAssociated, isAssociated);
    QCOMPARE(VariableDir, m_app->path("Variables.dat"));
    QCOMPARE(ProjectDir, "/projects/ta");
    QVERIFY(m_app->settings.writes.isEmpty());
    QVERIFY(m_app->dialogs.shown.isEmpty());
}

void TestStartUp::startWithoutFile()
{
    m_app->setReturningUser();
    m_app->start();
    MainWindow *main = AppFixture::main();
    QVERIFY(main->isVisible());
    QCOMPARE(main->windowTitle(), "Korvid Version 4.00");
    QCOMPARE(main->statusPanel(6)->text(), "Version: 4.00");
    QCOMPARE(AppFixture::captions(), QStringList{"Default1.fbi"});
    QCOMPARE(main->activeDocumentWindow(), AppFixture::window(1));
    QCOMPARE(DocStates.size(), 2);
    QVERIFY(!DocStates[0].Closed && !DocStates[0].Changed && DocStates[0].FilePath.isEmpty());
    QVERIFY(DocWindows[0].isNull());
}

void TestStartUp::startWithFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("quoted");
    QTest::newRow("plain path") << "tank.fbi" << false;
    QTest::newRow("path with blanks") << "big tank.fbi" << false;
    QTest::newRow("quoted path with blanks") << "big tank.fbi" << true;
}

void TestStartUp::startWithFile()
{
    QFETCH(QString, name);
    QFETCH(bool, quoted);
    m_app->setReturningUser();
    const QString path = m_app->writeFile(name, "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n");
    QStringList arguments = path.split(' ');
    if (quoted)
        arguments = QStringList{'"' + path + '"'};
    m_app->start(arguments);

    QCOMPARE(AppFixture::captions(), QStringList{name});
    DocumentWindow *window = AppFixture::window(1);
    QCOMPARE(AppFixture::main()->activeDocumentWindow(), window);
    QCOMPARE(window->document()->rowCount(), 1);
    QCOMPARE(DocStates[1].FilePath, path);
    QVERIFY(m_app->dialogs.shown.isEmpty());
}

void TestStartUp::startWithMissingFile()
{
    m_app->setReturningUser();
    const QString missing = m_app->path("missing.fbi");
    m_app->dialogs.answerMessage(QMessageBox::Ok);
    m_app->start({missing});
    const MessageBoxRequest cannotOpen{"Cannot open " + missing + "\r\nPlease check the file path and try again.",
                                       "Error Opening File", QMessageBox::Ok, QMessageBox::NoButton,
                                       QMessageBox::Critical};
    QCOMPARE(m_app->dialogs.messages(), QList<MessageBoxRequest>{cannotOpen});
    QCOMPARE(AppFixture::captions(), QStringList{"Default1.fbi"});
    QCOMPARE(AppFixture::main()->windowTitle(), "Korvid Version 4.00");
}

void TestStartUp::knownVariables_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("CR LF") << QByteArray("Side\r\nName\r\n") << QStringList{"Side", "Name"};
    QTest::newRow("CR") << QByteArray("Side\rName") << QStringList{"Side", "Name"};
    QTest::newRow("LF") << QByteArray("Side\nName\n") << QStringList{"Side", "Name"};
    QTest::newRow("kept as read") << QByteArray(" Side \r\n\r\nSide\r\n") << QStringList{" Side ", "", "Side"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestStartUp::knownVariables()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    m_app->setReturningUser();
    m_app->settings.values.insert("VariableDir", m_app->writeFile("known.dat", bytes));
    m_app->start();
    QCOMPARE(shownKnownVariables(), names);
    QVERIFY(m_app->dialogs.shown.isEmpty());
}

void TestStartUp::missingVariablesFileLeavesTheProgramUsable()
{
    for (const QString &variables : {m_app->path("missing.dat"), m_app->dir.path(), QString()}) {
        m_app->setReturningUser();
        m_app->settings.values.insert("VariableDir", variables);
        m_app->dialogs.answerMessage(QMessageBox::Ok);
        m_app->start();
        QCOMPARE(m_app->dialogs.messages(), QList<MessageBoxRequest>{ErrorLoading});
        QCOMPARE(m_app->dialogs.shown.constFirst().owner, AppFixture::main());
        QVERIFY(shownKnownVariables().isEmpty());
        QCOMPARE(AppFixture::captions(), QStringList{"Default1.fbi"});
        QCOMPARE(AppFixture::main()->windowTitle(), "Korvid Version 4.00");
        FileCommands::NewDocument();
        QCOMPARE(AppFixture::captions(), (QStringList{"Default1.fbi", "Default2.fbi"}));
        m_app->stop();
        m_app->dialogs.clear();
    }
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
