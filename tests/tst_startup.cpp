#include "dialogs/OptionsDialog.h"
#include "docwindow/DocumentWindow.h"
#include "docwindow/ReplaceDialog.h"
#include "documents/Document.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/VariablePanel.h"
#include "settings/CommandLine.h"
#include "settings/ProgramFolder.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QTest>

namespace {
using Scenario = std::function<void(Fixture &)>;
const QString Folder = QStringLiteral("<folder>");   // the test's own folder, in the data's texts
const QString CheckPath = QStringLiteral("\r\nPlease check the file path and try again.");
constexpr auto Ok = QMessageBox::Ok;
constexpr auto Yes = QMessageBox::Yes;
constexpr auto No = QMessageBox::No;

void returningUser(Fixture &f)
{
    f.store.values = {{Settings::FirstRun, "1"},
                      {Settings::VariableDir, f.files.write("Variables.dat", "Acceleration\r\nName\r\nKvOwnKey\r\n")},
                      {Settings::ProjectDir, f.files.path()}};
}

QStringList documentWindows(const Application &app)
{
    QStringList titles;
    for (const DocumentWindow *window : app.mainWindow()->documentWindows())
        titles.append(shownTitle(window) + '=' + QString::number(window->document()->rowCount()));
    return titles;
}
}
Q_DECLARE_METATYPE(Scenario)

class TestStartUp : public FixtureTestCase
{
    Q_OBJECT

private slots:
    void commandLineText_data();
    void commandLineText();
    void firstStart_data();
    void firstStart();
    void commandLine_data();
    void commandLine();
    void messages_data();
    void messages();
    void keepLayoutSetting_data();
    void keepLayoutSetting();
    void windowAndMatchingKeptAcrossStarts_data();
    void windowAndMatchingKeptAcrossStarts();

private:
    TestFolder m_units;
};

void TestStartUp::commandLineText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files");
    const QString a = m_units.write("a.fbi", "{\r\n}\r\n");
    const QString b = m_units.write("b.fbi", "{\r\n}\r\n");
    QTest::newRow("none") << QStringList{"korvid4"} << QStringList();
    QTest::newRow("several existing files, each its own") << QStringList{"korvid4", a, b} << QStringList{a, b};
    QTest::newRow("not all existing: one path joined by blanks")
        << QStringList{"korvid4", a, "b.fbi"} << QStringList{a + " b.fbi"};
    QTest::newRow("a path with blanks") << QStringList{"korvid4", "my", "unit.fbi"} << QStringList{"my unit.fbi"};
    QTest::newRow("quoted in parts") << QStringList{"korvid4", "\"my", "unit.fbi\""} << QStringList{"my unit.fbi"};
    QTest::newRow("only one pair removed") << QStringList{"korvid4", "\"\"a.fbi\"\""} << QStringList{"\"a.fbi\""};
    QTest::newRow("a quote at one end only") << QStringList{"korvid4", "\"a.fbi"} << QStringList{"\"a.fbi"};
    QTest::newRow("empty quotes") << QStringList{"korvid4", "\"\""} << QStringList();
}

// The files the arguments name: each one when all exist, else their text as one path.
void TestStartUp::commandLineText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, files);
    QCOMPARE(CommandLine::filesToOpen(arguments), files);
}

void TestStartUp::firstStart_data()
{
    QTest::addColumn<QString>("earlier");   // the FirstRun setting found; null: none
    QTest::addColumn<bool>("associate");
    QTest::addColumn<QString>("failure");   // the registry's reason, when the association fails
    QTest::newRow("No") << QString() << false << QString();
    QTest::newRow("Yes") << QString() << true << QString();
    QTest::newRow("Yes, the association fails: not recorded") << QString() << true << "Access is denied.";
    // Only "1" means the first start is done.
    QTest::newRow("FirstRun 0 is a first start") << "0" << false << QString();
    QTest::newRow("FirstRun of other text is a first start") << "yes" << false << QString();
}

// The defaults are the program's folder and the data file in it; Yes associates the files.
void TestStartUp::firstStart()
{
    QFETCH(QString, earlier);
    QFETCH(bool, associate);
    QFETCH(QString, failure);
    if (!earlier.isNull())
        f->store.values.insert(Settings::FirstRun, earlier);
    f->registry.failure = failure;
    f->dialogs.buttons << (associate ? Yes : No);
#if defined(Q_OS_WIN)
    if (associate)
        f->dialogs.buttons << Ok; // "Restart", or the failure
#else
    if (!failure.isEmpty())
        f->dialogs.buttons << Ok;
#endif
    const Application &app = f->start();
    QList<QPair<QString, QString>> writes{
        {"FirstRun", "1"}, {"VariableDir", ProgramFolder::file("Variables.dat")}, {"ProjectDir", ProgramFolder::path()}};
    const bool associated = associate && failure.isEmpty();
    if (associated)
        writes.append(qMakePair(QString("Associated"), QString("1")));
    QCOMPARE(f->store.writes, writes);
    QCOMPARE(f->registry.registered.size(), associated ? 1 : 0);
    QCOMPARE(app.options().associated, associated);
    QCOMPARE(app.mainWindow()->variablePanel()->lstAdd()->findItems("Acceleration", Qt::MatchExactly).size(), 1);
}

void TestStartUp::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("windows");   // their titles and rows
    QTest::newRow("none") << QStringList() << QStringList{"Default1.fbi=0"};
    QTest::newRow("several files, each its own document")
        << QStringList{Folder + "/a.fbi", Folder + "/b.fbi"} << QStringList{"a.fbi=1", "b.fbi=1"};
    QTest::newRow("a quoted path") << QStringList{'"' + Folder + "/my unit.fbi\""} << QStringList{"my unit.fbi=1"};
}

// A returning user's program starts with the options and known variables of the settings.
void TestStartUp::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, windows);
    returningUser(*f);
    for (const char *name : {"a.fbi", "b.fbi", "my unit.fbi"})
        f->files.write(name, "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n");
    const Application &app = f->start(arguments.replaceInStrings(Folder, f->files.path()));
    QCOMPARE(documentWindows(app), windows);
    QCOMPARE(app.options().projectFolder, f->files.path());
    QCOMPARE(app.mainWindow()->variablePanel()->lstAdd()->findItems("KvOwnKey", Qt::MatchExactly).size(), 1);
    QVERIFY(f->store.writes.isEmpty() && f->dialogs.messages.isEmpty());
}

void TestStartUp::messages_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<MessageBoxRequest>("expected");
    const auto save = [](Fixture &f) { Fixture::clickToolbar(*f.app->mainWindow(), "mnuFile_Save"); };
    QTest::newRow("open a missing file") << Scenario([](Fixture &f) {
        returningUser(f);
        f.dialogs.buttons << Ok;
        f.start({f.files.filePath("missing.fbi")});
    }) << MessageBoxRequest{"Cannot open " + Folder + "/missing.fbi" + CheckPath, "Error Opening File", Ok,
                            QMessageBox::NoButton, QMessageBox::Critical};
    // "*" stands for the system's reason, on a line of its own.
    QTest::newRow("save fails") << Scenario([=](Fixture &f) {
        returningUser(f);
        f.dialogs.paths << f.files.filePath("no folder/new.fbi");
        f.dialogs.buttons << Ok;
        f.start();
        save(f);
    }) << MessageBoxRequest{"Cannot save " + Folder + "/no folder/new.fbi" + CheckPath + "\r\n*", "Error Saving File",
                            Ok, QMessageBox::NoButton, QMessageBox::Critical};
    QTest::newRow("Save As over another file") << Scenario([=](Fixture &f) {
        returningUser(f);
        f.dialogs.paths << f.files.write("other.fbi", "{\r\n}\r\n") << QString();
        f.dialogs.buttons << No;
        f.start();
        save(f);
    }) << MessageBoxRequest{"other.fbi already exists.\r\nDo you want to replace it?", "Save...", Yes | No, No,
                            QMessageBox::Warning};
    QTest::newRow("closing a changed document") << Scenario([](Fixture &f) {
        returningUser(f);
        f.dialogs.buttons << QMessageBox::Cancel;
        f.start().documents().documents()[0]->addRow("Name", "Tank");
        f.app->mainWindow()->activeDocumentWindow()->close();
    }) << MessageBoxRequest{"The data in Default1.fbi has changed.\r\nDo you wish to save before closing the file?",
                            "Save before Closing", Yes | No, Yes, QMessageBox::Information, QMessageBox::Cancel};
    QTest::newRow("first start") << Scenario([](Fixture &f) {
        f.dialogs.buttons << No;
        f.start();
    }) << MessageBoxRequest{"This is the first time that you have run Korvid! Do you wish to associate all .FBI files "
                            "with Korvid?", "Welcome to Korvid!", Yes | No, Yes, QMessageBox::Information};
#if defined(Q_OS_WIN)
    // A freedesktop desktop takes the association at once; only Windows wants a restart.
    QTest::newRow("associating") << Scenario([](Fixture &f) {
        f.dialogs.buttons << Yes << Ok;
        f.start();
    }) << MessageBoxRequest{"You will need to restart your computer for settings to take affect.", "Restart", Ok,
                            QMessageBox::NoButton, QMessageBox::Information};
#endif
    QTest::newRow("the association fails") << Scenario([](Fixture &f) {
        f.registry.failure = "HKEY_CURRENT_USER\\Software\\Classes\\.fbi: Access is denied.";
        f.dialogs.buttons << Yes << Ok;
        f.start();
    }) << MessageBoxRequest{"Cannot associate .FBI files with Korvid.\r\nHKEY_CURRENT_USER\\Software\\Classes\\.fbi: "
                            "Access is denied.", "Error Associating Files", Ok, QMessageBox::NoButton,
                            QMessageBox::Critical};
    QTest::newRow("variables file missing") << Scenario([](Fixture &f) {
        returningUser(f);
        f.store.values.insert(Settings::VariableDir, f.files.filePath("missing.dat"));
        f.dialogs.buttons << Ok;
        f.start();
    }) << MessageBoxRequest{"Error loading the variables data file please check the file path in the options or "
                            "specify a new one.", "Error Loading...", Ok, QMessageBox::NoButton, QMessageBox::Critical};
    QTest::newRow("saving over a file changed on disk") << Scenario([=](Fixture &f) {
        returningUser(f);
        const QString tank = f.files.write("tank.fbi", "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n}\r\n");
        f.dialogs.buttons << No;
        f.start({tank}).documents().documents()[0]->setValue(0, "Big Tank");
        f.files.write("tank.fbi", "[UNITINFO]\r\n{\r\n\tName=Their Tank;\r\n}\r\n");
        save(f);
        QVERIFY(f.files.read("tank.fbi").contains("Their Tank"));
    }) << MessageBoxRequest{Folder + "/tank.fbi has changed on disk since it was opened. Save anyway?",
                            "File Changed on Disk", Yes | No, No, QMessageBox::Warning};
    // A comment left open on a row's line: a row added after it would fall into the comment.
    QTest::newRow("the file's own layout cannot take the changes") << Scenario([=](Fixture &f) {
        returningUser(f);
        const QByteArray odd("[UNITINFO]\r\n{\r\n\tName=Tank; /* open\r\n\tclosed */\r\n}\r\n");
        const QString path = f.files.write("odd.fbi", odd);
        f.dialogs.buttons << QMessageBox::Cancel << QMessageBox::Save;
        f.start({path}).documents().documents()[0]->addRow("Side", "ARM");
        save(f);
        QCOMPARE(f.files.read("odd.fbi"), odd);
        QVERIFY(f.app->documents().documents()[0]->isModified());
        QCOMPARE(f.app->mainWindow()->statusPanels().message->text(), "odd.fbi was not saved: nothing was written.");
        // Asked again, the user chooses the standard layout, and is told so.
        save(f);
        QCOMPARE(f.files.read("odd.fbi"), "[UNITINFO]\r\n\t{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n/* open\r\n\tclosed */\r\n\t}\r\n");
        QCOMPARE(f.app->mainWindow()->statusPanels().message->text(), "odd.fbi was saved in the standard layout.");
    }) << MessageBoxRequest{"The changes cannot be saved in the file's own layout: " + Folder + "/odd.fbi\r\nThe file has "
                            "not been changed. Save it in the standard layout? Its comments and its own layout will be "
                            "lost.\r\n*", "Save in the Standard Layout", QMessageBox::Save | QMessageBox::Cancel,
                            QMessageBox::Cancel, QMessageBox::Warning, QMessageBox::Cancel,
                            {{QMessageBox::Save, "Save in the Standard Layout"}}};
    QTest::newRow("a paste past the lines the reader opens") << Scenario([](Fixture &f) {
        returningUser(f);
        QString many;
        for (int row = 0; row < 32767; ++row)
            many += QStringLiteral("Row%1=%1;\n").arg(row);
        f.dialogs.buttons << Ok;
        DocumentWindow *window = f.start().mainWindow()->activeDocumentWindow();
        QApplication::clipboard()->setText(many);
        window->paste();
        QCOMPARE(window->document()->rowCount(), 0);
    }) << MessageBoxRequest{"The file would have more than 32768 lines, more than the reader opens again.\r\nNothing was "
                            "changed.", "Paste", Ok, QMessageBox::NoButton, QMessageBox::Warning};
    QTest::newRow("a typed default folder that is not there") << Scenario([](Fixture &f) {
        returningUser(f);
        f.dialogs.buttons << Ok;
        f.onNextModal<OptionsDialog>([&f](OptionsDialog *options) {
            options->txtSaveDir()->setText(f.files.filePath("nowhere"));
            options->cmdOk()->click();
            QVERIFY(options->isVisible());
        });
        Fixture::action(*f.start().mainWindow(), "mnuEdit_Options")->trigger();
        QCOMPARE(f.modalsShown, 1);
    }) << MessageBoxRequest{"The folder " + Folder + "/nowhere does not exist.\r\nPlease type the path of an existing "
                            "folder, or choose one with Browse.", "Korvid Options", Ok, QMessageBox::NoButton,
                            QMessageBox::Warning};
    QTest::newRow("settings cannot be written") << Scenario([](Fixture &f) {
        f.store.failWrites = true;
        f.dialogs.buttons << Ok << No;
        f.start();
    }) << MessageBoxRequest{"Korvid cannot save its settings to /test/settings.\r\nThey are kept until Korvid is closed.",
                            "Error Saving Settings", Ok, QMessageBox::NoButton, QMessageBox::Warning};
}

// Every message box the program shows, as the user sees it, reached through the real commands.
void TestStartUp::messages()
{
    QFETCH(Scenario, scenario);
    QFETCH(MessageBoxRequest, expected);
    scenario(*f);
    expected.text.replace(Folder, f->files.path());
    MessageBoxRequest shown;
    for (const MessageBoxRequest &message : f->dialogs.messages) {
        if (message.title == expected.title)
            shown = message;
    }
    if (expected.text.endsWith("\r\n*")) {
        expected.text.chop(3);
        const QString reason = shown.text.mid(expected.text.size());
        shown.text.truncate(expected.text.size());
        QVERIFY2(reason.startsWith("\r\n") && reason.size() > 2, qPrintable(reason));
    }
    QCOMPARE(shown.text, expected.text);
    QCOMPARE(shown.title, expected.title);
    QCOMPARE(shown.buttons, expected.buttons);
    QCOMPARE(shown.defaultButton, expected.defaultButton);
    QCOMPARE(shown.icon, expected.icon);
    QCOMPARE(shown.escapeButton, expected.escapeButton);
    QCOMPARE(shown.buttonTexts, expected.buttonTexts);
}

void TestStartUp::keepLayoutSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("kept");
    QTest::newRow("never set: a user from before the setting") << QString() << true;
    QTest::newRow("0 turns it off") << "0" << false;
    QTest::newRow("any other text leaves it on") << "false" << true;
}

// Saves keep the file's own text unless the setting is exactly "0".
void TestStartUp::keepLayoutSetting()
{
    QFETCH(QString, setting);
    QFETCH(bool, kept);
    returningUser(*f);
    if (!setting.isNull())
        f->store.values.insert(Settings::KeepLayout, setting);
    const QString tank = f->files.write("tank.fbi", "[UNITINFO]\n{\n  Name=Tank; // note\n}\n");
    f->start({tank}).documents().documents()[0]->setValue(0, "Big Tank");
    Fixture::clickToolbar(*f->app->mainWindow(), "mnuFile_Save");
    QCOMPARE(f->files.read("tank.fbi"), kept ? QByteArray("[UNITINFO]\n{\n  Name=Big Tank; // note\n}\n")
                                             : QByteArray("[UNITINFO]\r\n\t{\r\n\tName=Big Tank;\r\n\t}\r\n"));
}

void TestStartUp::windowAndMatchingKeptAcrossStarts_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("wholeValue");
    QTest::newRow("moved and resized, whole values") << false << true;
    QTest::newRow("maximized, any part of a value") << true << false;
}

// The main window opens where it was closed, and Replace matches as the user last chose.
void TestStartUp::windowAndMatchingKeptAcrossStarts()
{
    QFETCH(bool, maximized);
    QFETCH(bool, wholeValue);
    returningUser(*f);
    MainWindow *main = f->start().mainWindow();
    const QRect normal(40, 30, 700, 520);
    main->setGeometry(normal);
    if (maximized)
        main->showMaximized();
    main->activeDocumentWindow()->replace();
    auto *replace = main->findChild<ReplaceDialog *>();
    QVERIFY(replace);
    replace->chkMatchCase()->click();
    if (wholeValue)
        replace->chkWholeValue()->click();
    QCOMPARE(f->store.values.value(Settings::ReplaceMatchCase), "1");
    QCOMPARE(f->store.values.value(Settings::ReplaceWholeValue), wholeValue ? "1" : "0");
    // A window opened since matches the same way.
    f->app->documents().create();
    main->activeDocumentWindow()->replace();
    QCOMPARE(main->findChildren<ReplaceDialog *>().size(), 2);
    for (const ReplaceDialog *shown : main->findChildren<ReplaceDialog *>())
        QCOMPARE(shown->options().wholeValue, wholeValue);
    QVERIFY(main->close());

    main = f->start().mainWindow();
    QCOMPARE(main->isMaximized(), maximized);
    QCOMPARE(main->normalGeometry().size(), normal.size());
    if (!maximized)
        QCOMPARE(main->geometry(), normal);
    main->activeDocumentWindow()->replace();
    replace = main->findChild<ReplaceDialog *>();
    QVERIFY(replace);
    QVERIFY(replace->chkMatchCase()->isChecked());
    QCOMPARE(replace->chkWholeValue()->isChecked(), wholeValue);
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
