#include "dialogs/AboutBox.h"
#include "dialogs/OptionsDialog.h"
#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "help/VariableHelp.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/VariablePanel.h"
#include "support/Fixture.h"

#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";
using Writes = QList<QPair<QString, QString>>;

// Save, Delete (a window opens on its first row) and the panel's three buttons.
QList<bool> documentCommands(MainWindow &main)
{
    const VariablePanel *panel = main.variablePanel();
    return {Fixture::action(main, "mnuFile_Save")->isEnabled(), Fixture::action(main, "mnuEdit_Delete")->isEnabled(),
            panel->cmdAdd()->isEnabled(), panel->cmdRemove()->isEnabled(), panel->cmdChange()->isEnabled()};
}
}

class TestWindows : public FixtureTestCase
{
    Q_OBJECT

private slots:
    void documentCommandsFollowTheDocuments();
    void closingTheMainWindow_data();
    void closingTheMainWindow();
    void editCommands_data();
    void editCommands();
    void changeValue_data();
    void changeValue();
    void valueEditorKeepsOutWhatEndsAValue_data();
    void valueEditorKeepsOutWhatEndsAValue();
    void listsKeepTheSameRow();
    void tilesFillTheDocumentArea();
    void optionsTakeEffectAtOnce_data();
    void optionsTakeEffectAtOnce();
    void aboutBoxOpensTheSite();
    void saveAsStartsWithTheDocumentsOwnFile_data();
    void saveAsStartsWithTheDocumentsOwnFile();
    void replacingAnotherFileAsks_data();
    void replacingAnotherFileAsks();
    void closingKeepsAFileChangedOnDisk();
};

void TestWindows::documentCommandsFollowTheDocuments()
{
    MainWindow &main = f->main();
    QCOMPARE(documentCommands(main), QList<bool>(5, false));
    f->commands.newDocument();
    f->open("tank.fbi", Tank);
    main.documentWindows()[0]->close();
    QCOMPARE(documentCommands(main), QList<bool>(5, true));
    main.documentWindows()[0]->close();
    QCOMPARE(documentCommands(main), QList<bool>(5, false));
}

void TestWindows::closingTheMainWindow_data()
{
    QTest::addColumn<int>("answer");       // to "Save before Closing"; none: the document is unchanged
    QTest::addColumn<QString>("saveAs");   // a new document's Save As answer, "-" cancels; none: a file's document
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("unchanged: no question") << int(QMessageBox::NoButton) << "" << true << false;
    QTest::newRow("No discards") << int(QMessageBox::No) << "" << true << false;
    QTest::newRow("Yes saves to its file") << int(QMessageBox::Yes) << "" << true << true;
    QTest::newRow("Yes, Save As") << int(QMessageBox::Yes) << "new.fbi" << true << true;
    QTest::newRow("Yes, Save As cancelled: the program keeps running")
        << int(QMessageBox::Yes) << "-" << false << false;
    QTest::newRow("Yes, the save fails: the window stays")
        << int(QMessageBox::Yes) << "no folder/new.fbi" << false << false;
    QTest::newRow("Escape or the close box: the window stays") << int(QMessageBox::Cancel) << "" << false << false;
}

// Each window asks about its own document, though another window is active.
void TestWindows::closingTheMainWindow()
{
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    MainWindow &main = f->main();
    const bool hasFile = saveAs.isEmpty();
    Document *document = hasFile ? f->open("tank.fbi", Tank) : f->commands.newDocument();
    const QString title = document->title();
    f->commands.newDocument();
    if (answer != QMessageBox::NoButton) {
        document->addRow("Extra", "1");
        f->dialogs.buttons << QMessageBox::StandardButton(answer);
    }
    if (!saveAs.isEmpty())
        f->dialogs.paths << (saveAs == "-" ? QString() : f->files.filePath(saveAs));
    if (saveAs.startsWith("no folder"))
        f->dialogs.buttons << QMessageBox::Ok;
    QCOMPARE(main.close(), closes);
    QCOMPARE(Fixture::programRunning(), !closes);
    QCOMPARE(f->documents.documents().size(), closes ? 0 : 2);
    if (answer != QMessageBox::NoButton)
        QVERIFY(f->dialogs.messages.value(0).text.startsWith("The data in " + title + " has changed."));
    if (!closes)
        QVERIFY(document->isModified() && Fixture::rows(document).contains("Extra=1"));
    QCOMPARE(f->files.read(hasFile ? "tank.fbi" : saveAs).contains("Extra=1;"), saved);
}

void TestWindows::editCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("modified");
    const QStringList both{"Name=Tank", "Side=ARM"};
    QTest::newRow("Add Variable") << "Add Variable" << 1 << both + QStringList{"BuildTime=Change This"} << true;
    QTest::newRow("Remove Variable") << "Remove Variable" << 0 << QStringList{"Side=ARM"} << true;
    QTest::newRow("toolbar Delete") << "toolbar Delete" << 1 << QStringList{"Name=Tank"} << true;
    QTest::newRow("Edit Delete") << "Edit Delete" << 1 << QStringList{"Name=Tank"} << true;
    QTest::newRow("Remove Variable, nothing selected: no change") << "Remove Variable" << -1 << both << false;
    QTest::newRow("toolbar Delete, nothing selected") << "toolbar Delete" << -1 << both << false;
}

void TestWindows::editCommands()
{
    QFETCH(QString, command);
    QFETCH(int, selected);
    QFETCH(QStringList, rows);
    QFETCH(bool, modified);
    MainWindow &main = f->main();
    VariablePanel *panel = main.variablePanel();
    main.setKnownVariables({"BuildTime"});
    Document *document = f->open("tank.fbi", Tank);
    DocumentWindow *window = main.activeDocumentWindow();
    window->selectRows(selected >= 0 ? QList<int>{selected} : QList<int>());
    panel->lstAdd()->setCurrentRow(0);
    QAction *remove = Fixture::action(main, "mnuEdit_Delete");
    QCOMPARE(remove->isEnabled(), selected >= 0);
    if (command == "Add Variable")
        panel->cmdAdd()->click();
    else if (command == "Remove Variable")
        panel->cmdRemove()->click();
    else if (command == "toolbar Delete")
        Fixture::clickToolbar(main, "mnuEdit_Delete");
    else
        remove->trigger();
    QCOMPARE(Fixture::rows(document), rows);
    QCOMPARE(document->isModified(), modified);
    // An added row is selected, in view; a removal leaves no selection.
    QCOMPARE(window->selectedRow(), command == "Add Variable" ? 2 : -1);
}

void TestWindows::changeValue_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("value");
    QTest::newRow("Change Value, a new value") << "Change Value" << "CORE" << "OK" << "CORE";
    QTest::newRow("double-click on the name, only the letter case") << "names" << "arm" << "OK" << "arm";
    QTest::newRow("double-click on the value, the same value") << "values" << "ARM" << "OK" << "ARM";
    QTest::newRow("Change Value, Cancel") << "Change Value" << "CORE" << "Cancel" << "ARM";
    QTest::newRow("double-click, the close box") << "values" << "CORE" << "close" << "ARM";
}

// The value editor shows the row's name and value and the help the panel shows.
void TestWindows::changeValue()
{
    QFETCH(QString, from);
    QFETCH(QString, typed);
    QFETCH(QString, ending);
    QFETCH(QString, value);
    MainWindow &main = f->main();
    VariablePanel *panel = main.variablePanel();
    main.setKnownVariables({"Acceleration"});
    Document *document = f->open("tank.fbi", Tank);
    DocumentWindow *window = main.activeDocumentWindow();
    f->onNextModal<ValueEditor>([&](ValueEditor *editor) {
        QCOMPARE(editor->lblVarName()->text(), "Side");
        QCOMPARE(editor->txtValue()->text(), "ARM");
        QCOMPARE(editor->lblHelp()->text(), panel->helpText());
        editor->txtValue()->setText(typed);
        if (ending == "close")
            editor->close();
        else
            (ending == "OK" ? editor->cmdOk() : editor->cmdCancel())->click();
    });
    if (from == "Change Value") {
        window->selectRow(1);
        // The panel now shows the help of a known variable, not that of the row's name.
        panel->lstAdd()->setCurrentRow(0);
        panel->cmdChange()->click();
    } else {
        Fixture::click(from == "names" ? window->lstVars() : window->lstVals(), 1, true);
    }
    QCOMPARE(f->modalsShown, 1);
    QCOMPARE(document->value(1), value);
    // Any value but the one read, letter case included, is a change.
    QCOMPARE(document->isModified(), value != "ARM");
}

void TestWindows::valueEditorKeepsOutWhatEndsAValue_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("note");
    QTest::newRow("typed text") << "1" << 1 << "23" << "" << "123" << false;
    QTest::newRow("typed \";\"") << "12" << 2 << ";" << "" << "12" << true;
    QTest::newRow("pasted with \";\"") << "x" << 1 << "" << "ab;cd" << "xab" << true;
    QTest::newRow("pasted with a line break") << "" << 0 << "" << "a\r\nb" << "a" << true;
    QTest::newRow("pasted in the middle") << "1234" << 2 << "" << "x;y" << "12x34" << true;
    QTest::newRow("pasted with a leading tab") << "" << 0 << "" << "\tT" << "T" << true;
    QTest::newRow("typed with a blank at its end") << "" << 0 << "new " << "" << "new" << true;
    QTest::newRow("a blank inside stays") << "" << 0 << "Big Tank" << "" << "Big Tank" << false;
}

// A ";" or a line break, typed or pasted, cuts the value there, and the note says why.
void TestWindows::valueEditorKeepsOutWhatEndsAValue()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, value);
    QFETCH(bool, note);
    ValueEditor editor("Side", before, "help", nullptr);
    editor.txtValue()->setCursorPosition(cursor);
    QGuiApplication::clipboard()->setText(pasted);
    if (typed.isEmpty())
        QTest::keyClick(editor.txtValue(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(editor.txtValue(), typed);
    QCOMPARE(editor.value(), value);
    QCOMPARE(!editor.lblNote()->text().isEmpty(), note);
}

void TestWindows::listsKeepTheSameRow()
{
    f->main();
    f->open("tank.fbi", "{\r\nName=Tank;\r\nSide=ARM;\r\nBuildTime=100;\r\n}\r\n");
    DocumentWindow *window = f->main().activeDocumentWindow();
    Fixture::click(window->lstVals(), 2);
    QCOMPARE(window->selectedRow(), 2);
    QTest::keyClick(window->lstVars(), Qt::Key_Up);
    QCOMPARE(window->lstVals()->selectionModel()->selectedIndexes().value(0).row(), 1);
    QCOMPARE(f->main().variablePanel()->helpText(), Help::variableHelpText(u"Side"));
}

// Three windows, one of them maximized, become three strips that cover the document area exactly.
void TestWindows::tilesFillTheDocumentArea()
{
    MainWindow &main = f->main();
    for (int count = 0; count < 3; ++count)
        f->commands.newDocument();
    const QRect area = main.mdiArea()->viewport()->rect();
    for (const auto arrangement : {WindowArrangement::Arrangement::TileVertical, WindowArrangement::Arrangement::TileHorizontal}) {
        main.activeDocumentWindow()->showMaximized();
        main.arrange(arrangement);
        const bool sideBySide = arrangement == WindowArrangement::Arrangement::TileVertical;
        QRegion covered;
        for (DocumentWindow *window : main.documentWindows()) {
            const QRect place = window->geometry();
            QCOMPARE(sideBySide ? place.height() : place.width(), sideBySide ? area.height() : area.width());
            QVERIFY(!covered.intersects(place));
            covered += place;
        }
        QCOMPARE(covered, QRegion(area));
    }
}

void TestWindows::optionsTakeEffectAtOnce_data()
{
    QTest::addColumn<bool>("associate");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<Writes>("writes");
    const Writes chosen{{"VariableDir", "/new/Known.dat"}, {"ProjectDir", "/new/units/"}, {"KeepLayout", "1"}};
    QTest::newRow("OK") << false << "OK" << chosen;
    QTest::newRow("OK after Associate") << true << "OK" << chosen + Writes{{"Associated", "1"}};
    QTest::newRow("Cancel drops everything") << true << "Cancel" << Writes{};
    QTest::newRow("the close box drops everything") << true << "close" << Writes{};
}

// Nothing is written before OK; from OK on, the running program uses the new options.
void TestWindows::optionsTakeEffectAtOnce()
{
    QFETCH(bool, associate);
    QFETCH(QString, ending);
    QFETCH(Writes, writes);
    Settings settings(&f->store);
    f->options = {"/old/Variables.dat", "/old/units/", false};
    OptionsDialog dialog(settings, f->options, f->dialogs, f->registry, nullptr);
    f->dialogs.paths << "/new/Known.dat" << "/new/units";
    dialog.cmdVarBrowse()->click();
    dialog.cmdBrowse()->click();
    if (associate)
        dialog.cmdAssociate()->click();
    QVERIFY(f->store.writes.isEmpty() && f->registry.values.isEmpty());
#if defined(Q_OS_WIN)
    if (ending == "OK" && associate)
        f->dialogs.buttons << QMessageBox::Ok;
#endif
    if (ending == "close")
        dialog.close();
    else
        (ending == "OK" ? dialog.cmdOk() : dialog.cmdCancel())->click();
    QCOMPARE(f->store.writes, writes);
    QCOMPARE(f->registry.values.isEmpty(), !writes.contains({"Associated", "1"}));
    QCOMPARE(f->options.projectFolder, ending == "OK" ? "/new/units/" : "/old/units/");
}

void TestWindows::aboutBoxOpensTheSite()
{
    AboutBox about(f->dialogs, nullptr);
    about.show();
    QTest::mouseClick(about.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!about.isVisible() && f->dialogs.openedUrls.isEmpty());
    about.show();
    QTest::mouseClick(about.windowHandle(), Qt::LeftButton, {}, about.lblLink()->geometry().center());
    QVERIFY(!about.isVisible());
    QCOMPARE(f->dialogs.openedUrls, QList<QUrl>{QUrl(AboutBox::WebAddress + "/")});
}

void TestWindows::saveAsStartsWithTheDocumentsOwnFile_data()
{
    QTest::addColumn<bool>("openFirst");    // units/tank.fbi, then more/other.fbi
    QTest::addColumn<bool>("saveOpened");   // Save As of tank.fbi, or of a new document
    QTest::addColumn<QString>("start");
    QTest::newRow("the document's own file") << true << true << "units/tank.fbi";
    QTest::newRow("a new document: its name in the project folder") << false << false << "Default1.fbi";
    QTest::newRow("a new document: its name in the last folder") << true << false << "more/Default3.fbi";
}

void TestWindows::saveAsStartsWithTheDocumentsOwnFile()
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

void TestWindows::replacingAnotherFileAsks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");   // to the question, each time it is asked
    QTest::addColumn<bool>("saved");
    QTest::newRow("another file, Yes") << "other.fbi" << QList{QMessageBox::Yes} << true;
    QTest::newRow("another file, No: the file dialog again") << "other.fbi" << QList{QMessageBox::No} << false;
    QTest::newRow("the document's own file: no question") << "tank.fbi" << QList<QMessageBox::StandardButton>() << true;
    QTest::newRow("a new file: no question") << "new.fbi" << QList<QMessageBox::StandardButton>() << true;
}

void TestWindows::replacingAnotherFileAsks()
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

// A changed document whose file another program rewrote: Yes to saving, then No to writing over that
// program's text. Nothing is written, the window stays open with its changes, and the user is told.
void TestWindows::closingKeepsAFileChangedOnDisk()
{
    MainWindow &main = f->main();
    Document *document = f->open("tank.fbi", Tank);
    document->setValue(0, "Big Tank");
    const QByteArray theirs("[UNITINFO]\r\n{\r\n\tName=Their Tank;\r\n}\r\n");
    f->files.write("tank.fbi", theirs);
    f->dialogs.buttons << QMessageBox::Yes << QMessageBox::No;
    QVERIFY(!main.activeDocumentWindow()->close());
    QCOMPARE(f->dialogs.messages.constLast().title, "File Changed on Disk");
    QCOMPARE(f->files.read("tank.fbi"), theirs);
    QCOMPARE(main.documentWindows().size(), 1);
    QVERIFY(document->isModified() && document->value(0) == "Big Tank");
    QCOMPARE(main.statusPanels().message->text(), "tank.fbi was not saved: nothing was written.");
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
