// Working in document windows as a modder does: the Edit menu's commands with their enabled states,
// rows copied between windows, finding, the keys, and lists that fill the window and scroll as one.
#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "mainwindow/HelpTopicsWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/VariablePanel.h"
#include "support/Fixture.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n\tWeapon1=LASER;\r\n}\r\n";

QAction *item(MainWindow &main, const char *name)
{
    return Fixture::action(main, name);
}

// Cut, Copy, Paste, Undo and Redo, and the tooltip of Undo's toolbar button.
QString toolbar(MainWindow &main)
{
    QString state;
    for (const char *name : {"mnuEdit_Cut", "mnuEdit_Copy", "mnuEdit_Paste", "mnuEdit_Undo", "mnuEdit_Redo"})
        state += item(main, name)->isEnabled() ? '+' : '-';
    return state + ' ' + item(main, "mnuEdit_Undo")->toolTip();
}
}

class TestEditing : public FixtureTestCase
{
    Q_OBJECT

private slots:
    void commandsAreThereWhenTheyCanAct();
    void rowsMoveBetweenWindowsAndBack();
    void findSelectsTheNextMatch();
    void keysOpenTheValueEditor();
    void addingAVariableTheDocumentHasSelectsIt();
    void titleAndActivationTellWhatIsOpen();
    void listsFillTheWindowAndScrollAsOne();
    void fileDialogsStartWhereTheUserWas();
    void helpTopicsAddToTheActiveDocument();
};

void TestEditing::commandsAreThereWhenTheyCanAct()
{
    QApplication::clipboard()->clear();
    MainWindow &main = f->main();
    QCOMPARE(toolbar(main), "----- Undo");
    Document *document = f->open("tank.fbi", Tank);
    DocumentWindow *window = main.activeDocumentWindow();
    // A window opens on its first row.
    QCOMPARE(toolbar(main), "++--- Undo");
    window->selectRows({});
    QCOMPARE(toolbar(main), "----- Undo");
    window->selectRow(1);
    QCOMPARE(toolbar(main), "++--- Undo");
    document->setValue(1, "CORE");
    QCOMPARE(toolbar(main), "++-+- Undo Change Value");
    QCOMPARE(item(main, "mnuEdit_Undo")->text(), "&Undo Change Value");
    item(main, "mnuEdit_Undo")->trigger();
    QCOMPARE(toolbar(main), "++--+ Undo");
    QCOMPARE(item(main, "mnuEdit_Redo")->text(), "R&edo Change Value");
    // Paste is there only when the clipboard holds a row.
    QApplication::clipboard()->setText("no rows here");
    QVERIFY(!item(main, "mnuEdit_Paste")->isEnabled());
    QApplication::clipboard()->setText("Name=Tank;");
    QVERIFY(item(main, "mnuEdit_Paste")->isEnabled());
    window->close();
    QCOMPARE(toolbar(main), "----- Undo");
}

// Copy in one window, paste in another after its selected row, and undo each step back.
void TestEditing::rowsMoveBetweenWindowsAndBack()
{
    MainWindow &main = f->main();
    Document *from = f->open("tank.fbi", Tank);
    DocumentWindow *fromWindow = main.activeDocumentWindow();
    fromWindow->selectRows({0, 2});
    fromWindow->copy();
    QCOMPARE(QApplication::clipboard()->text(), "Name=Tank;\r\nWeapon1=LASER;\r\n");
    fromWindow->cut();
    QCOMPARE(Fixture::rows(from), QStringList{"Side=ARM"});
    from->history()->undo();
    QCOMPARE(Fixture::rows(from), (QStringList{"Name=Tank", "Side=ARM", "Weapon1=LASER"}));
    QCOMPARE(fromWindow->selectedRows(), (QList<int>{0, 2}));

    Document *to = f->open("scout.fbi", "[UNITINFO]\r\n{\r\n\tName=Scout;\r\n\tSide=CORE;\r\n}\r\n");
    DocumentWindow *toWindow = main.activeDocumentWindow();
    toWindow->selectRow(0);
    toWindow->paste();
    QCOMPARE(Fixture::rows(to), (QStringList{"Name=Scout", "Name=Tank", "Weapon1=LASER", "Side=CORE"}));
    QCOMPARE(toWindow->selectedRows(), (QList<int>{1, 2}));
    // Several rows selected: Delete takes them all, as one step.
    toWindow->deleteSelection();
    QCOMPARE(Fixture::rows(to), (QStringList{"Name=Scout", "Side=CORE"}));
    QCOMPARE(to->history()->count(), 2);
    QVERIFY(from->history()->count() == 1 && !from->isModified());
}

void TestEditing::findSelectsTheNextMatch()
{
    MainWindow &main = f->main();
    f->open("tank.fbi", Tank);
    DocumentWindow *window = main.activeDocumentWindow();
    f->dialogs.texts << "a";
    item(main, "mnuEdit_Find")->trigger();
    QCOMPARE(window->selectedRow(), 0);            // Name=Tank, from the top
    item(main, "mnuEdit_Next")->trigger();
    QCOMPARE(window->selectedRow(), 1);            // Side=ARM
    item(main, "mnuEdit_Next")->trigger();
    item(main, "mnuEdit_Next")->trigger();
    QCOMPARE(window->selectedRow(), 0);            // round past the end
    QCOMPARE(main.statusPanels().message->text(), "Search wrapped to the top.");
    f->dialogs.texts << "nowhere";
    item(main, "mnuEdit_Find")->trigger();
    QCOMPARE(window->selectedRow(), 0);
    QCOMPARE(main.statusPanels().message->text(), "\"nowhere\" was not found.");
    QVERIFY(f->dialogs.messages.isEmpty());
}

// Enter and F2 on a row open the value editor; Enter in it is OK, Escape is Cancel.
void TestEditing::keysOpenTheValueEditor()
{
    MainWindow &main = f->main();
    Document *document = f->open("tank.fbi", Tank);
    DocumentWindow *window = main.activeDocumentWindow();
    window->selectRow(1);
    f->onNextModal<ValueEditor>([](ValueEditor *editor) {
        editor->txtValue()->setText("CORE");
        QTest::keyClick(editor->txtValue(), Qt::Key_Return);
    });
    QTest::keyClick(window->lstVals(), Qt::Key_Return);
    f->onNextModal<ValueEditor>([](ValueEditor *editor) {
        editor->txtValue()->setText("GONE");
        QTest::keyClick(editor->txtValue(), Qt::Key_Escape);
    });
    QTest::keyClick(window->lstVars(), Qt::Key_F2);
    QCOMPARE(f->modalsShown, 2);
    QCOMPARE(document->value(1), "CORE");
}

// A second line of a key would change which value the game uses: the row there is selected instead.
void TestEditing::addingAVariableTheDocumentHasSelectsIt()
{
    MainWindow &main = f->main();
    main.setKnownVariables({"Acceleration", "SIDE"});
    Document *document = f->open("tank.fbi", Tank);
    main.variablePanel()->lstAdd()->setCurrentRow(1);
    main.variablePanel()->cmdAdd()->click();
    QCOMPARE(document->rowCount(), 3);
    QCOMPARE(main.activeDocumentWindow()->selectedRow(), 1);
    QCOMPARE(main.statusPanels().message->text(), "tank.fbi already has Side; its row is selected.");
}

void TestEditing::titleAndActivationTellWhatIsOpen()
{
    MainWindow &main = f->main();
    Document *tank = f->open("tank.fbi", Tank);
    DocumentWindow *tankWindow = main.activeDocumentWindow();
    f->commands.newDocument();
    QCOMPARE(tankWindow->windowTitle(), "tank.fbi[*]");
    QVERIFY(!tankWindow->isWindowModified());
    tank->setValue(0, "Big Tank");
    QVERIFY(tankWindow->isWindowModified());
    QCOMPARE(shownTitle(tankWindow), "tank.fbi*");
    QCOMPARE(tankWindow->toolTip(), f->files.filePath("tank.fbi"));
    // Opening the file again shows its window and keeps the change.
    QCOMPARE(f->commands.openFile(f->files.filePath("tank.fbi")), tank);
    QCOMPARE(f->documents.documents().size(), 2);
    QCOMPARE(main.activeDocumentWindow(), tankWindow);
    QCOMPARE(main.statusPanels().path->text(), f->files.filePath("tank.fbi"));
    QCOMPARE(tank->value(0), "Big Tank");
}

// The lists take the room the window has, never less than the design's; they scroll as one.
void TestEditing::listsFillTheWindowAndScrollAsOne()
{
    QByteArray many = "[UNITINFO]\r\n{\r\n";
    for (int row = 0; row < 300; ++row)
        many += "\tKey" + QByteArray::number(row) + "=" + QByteArray::number(row) + ";\r\n";
    MainWindow &main = f->main();
    main.resize(1200, 900);
    f->open("many.fbi", many + "}\r\n");
    DocumentWindow *window = main.activeDocumentWindow();
    const QSize names = window->lstVars()->size();
    const QSize values = window->lstVals()->size();
    QVERIFY(values.width() >= window->lstVals()->minimumWidth());
    window->showMaximized();
    QTest::qWait(20);
    QVERIFY(window->lstVals()->width() > values.width() + 200);
    QVERIFY(window->lstVars()->height() > names.height() + 100);
    QCOMPARE(window->lstVars()->width(), names.width());
    // Smaller than the design, the lists keep the design's size and the window scrolls.
    window->showNormal();
    window->resize(100, 100);
    QTest::qWait(20);
    QCOMPARE(window->lstVals()->width(), window->lstVals()->minimumWidth());
    QVERIFY(window->lstVals()->height() >= window->lstVals()->minimumHeight());
    QVERIFY(window->lstVals()->minimumWidth() >= 150 && window->lstVals()->minimumHeight() >= 300);

    window->lstVals()->verticalScrollBar()->setValue(40);
    QCOMPARE(window->lstVars()->verticalScrollBar()->value(), 40);
    window->selectRow(250);
    QCOMPARE(window->lstVals()->verticalScrollBar()->value(), window->lstVars()->verticalScrollBar()->value());
    QVERIFY(window->lstVars()->verticalScrollBar()->value() > 40);
}

// Open and Save As start in the folder last used; before that in the project folder, else at home.
void TestEditing::fileDialogsStartWhereTheUserWas()
{
    f->options.projectFolder.clear();
    f->dialogs.paths << QString();
    f->commands.open();
    QCOMPARE(f->fileDialogFolder(), QDir::homePath());
    f->options.projectFolder = f->files.path();
    f->dialogs.paths << QString();
    f->commands.open();
    QCOMPARE(f->fileDialogFolder(), f->files.path());
    QDir(f->files.path()).mkdir("mod");
    const QString a = f->files.write("mod/a.fbi", Tank), b = f->files.write("mod/b.fbi", Tank);
    f->dialogs.paths << a + '\n' + b;
    f->commands.open();
    QCOMPARE(f->documents.documents().size(), 2);
    f->dialogs.paths << QString();
    f->commands.saveAs(f->commands.newDocument());
    QCOMPARE(f->dialogs.fileDialogs.constLast().fileName, f->files.filePath("mod/Default3.fbi"));
}

void TestEditing::helpTopicsAddToTheActiveDocument()
{
    MainWindow &main = f->main();
    Document *document = f->open("tank.fbi", Tank);
    main.showHelpTopics();
    auto *topics = main.findChild<HelpTopicsWindow *>();
    QVERIFY(topics && topics->isVisible() && !topics->isModal());
    topics->txtFilter()->setText("maxdam");
    QCOMPARE(topics->lstTopics()->currentItem()->text(), "MaxDamage");
    QVERIFY(topics->lblTopic()->text().contains("MaxDamage"));
    QTest::keyClick(topics->txtFilter(), Qt::Key_Return);
    QCOMPARE(Fixture::rows(document).constLast(), "MaxDamage=Change This");
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
