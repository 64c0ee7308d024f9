// Working in document windows as a modder does: the Edit menu's commands with their enabled states,
// rows copied between windows, finding, the keys, and lists that fill the window and scroll as one.
#include "docwindow/DocumentWindow.h"
#include "docwindow/ReplaceDialog.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "mainwindow/HelpTopicsWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/VariablePanel.h"
#include "mod/ModTable.h"
#include "modwindow/ModTableWindow.h"
#include "support/Fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollArea>
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
    void replaceAsTheBoxesSay_data();
    void replaceAsTheBoxesSay();
    void savedWithValuesNotYetSet_data();
    void savedWithValuesNotYetSet();
    void eachKindOfFileStartsWhereItWasChosen_data();
    void eachKindOfFileStartsWhereItWasChosen();
    void messagesTellOfTheLastCommand_data();
    void messagesTellOfTheLastCommand();
    void keysMoveFromTheRowShown_data();
    void keysMoveFromTheRowShown();
    void tabReachesEveryControl_data();
    void tabReachesEveryControl();
    void selectionShowsWhereTheKeyboardIs();
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

// The lists take the room the window has; short of room they give way down to a few characters and
// rows before the window scrolls around them. They scroll as one.
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
    const auto *outer = window->findChild<QScrollArea *>("scrBorder");
    const auto scrolls = [outer] { return outer->horizontalScrollBar()->isVisible() || outer->verticalScrollBar()->isVisible(); };
    window->showNormal();
    window->resize(window->minimumSizeHint());
    QTest::qWait(20);
    QVERIFY(!scrolls());
    QVERIFY(window->lstVars()->width() < names.width());
    for (const QListView *list : {window->lstVars(), window->lstVals()}) {
        QVERIFY(list->width() >= 6 * list->fontMetrics().horizontalAdvance('0'));
        QVERIFY(list->height() >= 3 * list->fontMetrics().lineSpacing());
    }
    window->resize(100, 100);
    QTest::qWait(20);
    QVERIFY(scrolls());
    QCOMPARE(window->lstVals()->width(), window->lstVals()->minimumWidth());

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

void TestEditing::replaceAsTheBoxesSay_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<bool>("wholeValue");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("message");
    QTest::newRow("any part: 1150 becomes 1200 too")
        << "150" << "200" << false << false << QStringList{"200", "1200", "X200x200", "ARM", "Arm"}
        << "Replaced 4 times in 3 rows.";
    QTest::newRow("whole value only: 1150 stays") << "150" << "200" << true << false
                                                  << QStringList{"200", "1150", "X150x150", "ARM", "Arm"}
                                                  << "Replaced 1 time in 1 row.";
    QTest::newRow("any letter case") << "arm" << "CORE" << false << false
                                     << QStringList{"150", "1150", "X150x150", "CORE", "CORE"}
                                     << "Replaced 2 times in 2 rows.";
    QTest::newRow("match case") << "Arm" << "Core" << true << true
                                << QStringList{"150", "1150", "X150x150", "ARM", "Core"} << "Replaced 1 time in 1 row.";
}

// Replace All through the dialog's own boxes and button, and the count it leaves in the status bar.
void TestEditing::replaceAsTheBoxesSay()
{
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(bool, wholeValue);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    MainWindow &main = f->main();
    Document *document = f->open("r.fbi", "[UNITINFO]\r\n{\r\n\tA=150;\r\n\tB=1150;\r\n\tC=X150x150;\r\n\tSide=ARM;\r\n\tName=Arm;\r\n}\r\n");
    item(main, "mnuEdit_Replace")->trigger();
    auto *replace = main.findChild<ReplaceDialog *>();
    QVERIFY(replace && replace->isVisible());
    replace->txtFind()->setText(find);
    replace->txtReplace()->setText(with);
    if (wholeValue)
        replace->chkWholeValue()->click();
    if (matchCase)
        replace->chkMatchCase()->click();
    for (QPushButton *button : replace->findChildren<QPushButton *>()) {
        if (button->text() == "Replace &All")
            button->click();
    }
    QStringList shown;
    for (int row = 0; row < document->rowCount(); ++row)
        shown.append(document->value(row));
    QCOMPARE(shown, values);
    QCOMPARE(main.statusPanels().message->text(), message);
}

void TestEditing::savedWithValuesNotYetSet_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("message");
    QTest::newRow("every value set") << QStringList() << "";
    QTest::newRow("one not yet set") << QStringList{"Acceleration"}
                                     << "tank.fbi was saved with Acceleration still \"Change This\".";
    QTest::newRow("several not yet set")
        << QStringList{"Acceleration", "BrakeRate", "Category", "Corpse", "Description", "Explodeas"}
        << "tank.fbi was saved with 6 values still \"Change This\": Acceleration, BrakeRate, Category, Corpse, "
           "Description, ....";
}

// A row added and not yet set is saved as it is; the status bar says which are still unset.
void TestEditing::savedWithValuesNotYetSet()
{
    QFETCH(QStringList, added);
    QFETCH(QString, message);
    MainWindow &main = f->main();
    main.setKnownVariables(added);
    Document *document = f->open("tank.fbi", Tank);
    for (int row = 0; row < added.size(); ++row) {
        main.variablePanel()->lstAdd()->setCurrentRow(row);
        main.variablePanel()->cmdAdd()->click();
    }
    item(main, "mnuFile_Save")->trigger();
    QVERIFY(!document->isModified());
    QCOMPARE(main.statusPanels().message->text(), message);
    for (const QString &name : added)
        QVERIFY(f->files.read("tank.fbi").contains((name + "=Change This;").toLatin1()));
}

void TestEditing::eachKindOfFileStartsWhereItWasChosen_data()
{
    QTest::addColumn<QString>("project");   // the project folder of the options
    QTest::addColumn<QString>("before");    // a dialog answered before, in <folder>/other
    QTest::addColumn<QString>("kind");      // the dialog looked at
    QTest::addColumn<QString>("start");
    QTest::newRow("Open: the project folder") << "<folder>" << "" << "Open" << "<folder>";
    QTest::newRow("Open: the program's own folder is no place for units")
        << "<program>" << "" << "Open" << "<home>";
    QTest::newRow("Open: a project folder that is gone") << "<folder>/gone" << "" << "Open" << "<home>";
    QTest::newRow("Open after an Open") << "<folder>" << "Open" << "Open" << "<folder>/other";
    QTest::newRow("Open Folder: the project folder") << "<folder>" << "" << "Open Folder" << "<folder>";
    QTest::newRow("Open Folder after an Open Folder: beside the mod")
        << "<folder>" << "Open Folder" << "Open Folder" << "<folder>/other";
    QTest::newRow("Open Folder after an Open: each kind its own") << "<folder>" << "Open" << "Open Folder" << "<folder>";
    QTest::newRow("Export Table: the project folder") << "<program>" << "" << "Export Table" << "<home>";
    QTest::newRow("Export Table after an Export") << "<folder>" << "Export Table" << "Export Table" << "<folder>/other";
}

// Each kind of file dialog starts where the user last chose that kind of file, else in the project
// folder, else at home; never in the program's own folder unless the user goes there.
void TestEditing::eachKindOfFileStartsWhereItWasChosen()
{
    QFETCH(QString, project);
    QFETCH(QString, before);
    QFETCH(QString, kind);
    QFETCH(QString, start);
    const auto place = [this](QString path) {
        return QDir::cleanPath(path.replace("<folder>", f->files.path())
                                   .replace("<program>", QCoreApplication::applicationDirPath())
                                   .replace("<home>", QDir::homePath()));
    };
    QDir(f->files.path()).mkpath("other/mod/units");
    QDir(f->files.path()).mkpath("mod/units");
    f->files.write("other/tank.fbi", Tank);
    f->files.write("mod/units/tank.fbi", Tank);
    f->options.projectFolder = place(project);
    MainWindow &main = f->main();
    ModTableWindow *table = nullptr;
    const auto show = [&](const QString &dialog, const QString &answer) {
        if (dialog == "Open") {
            f->dialogs.paths << (answer.isEmpty() ? QString() : place(answer + "/tank.fbi"));
            f->commands.open();
        } else if (dialog == "Open Folder") {
            f->dialogs.paths << (answer.isEmpty() ? QString() : place(answer + "/mod"));
            main.openFolder();
        } else {
            if (!table)
                table = main.openFolder(place("<folder>/mod"));
            QTRY_VERIFY(!table->table()->isLoading());
            f->dialogs.paths << (answer.isEmpty() ? QString() : place(answer + "/table.csv"));
            table->exportTable();
        }
    };
    if (!before.isEmpty())
        show(before, "<folder>/other");
    show(kind, "");
    const FileDialogRequest shown = f->dialogs.fileDialogs.constLast();
    QCOMPARE(shown.directory.isEmpty() ? QFileInfo(shown.fileName).absolutePath() : QDir::cleanPath(shown.directory),
             place(start));
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
    QCOMPARE(main.activeDocumentWindow()->selectedRows(), QList<int>{3});
    QCOMPARE(main.statusPanels().message->text(), "MaxDamage was added to tank.fbi.");
    // Escape closes it, from the list as from the filter.
    QTest::keyClick(topics->lstTopics(), Qt::Key_Escape);
    QVERIFY(!topics->isVisible());
    main.showHelpTopics();
    QTest::keyClick(topics->txtFilter(), Qt::Key_Escape);
    QVERIFY(!topics->isVisible());
}

namespace {
const QByteArray Eight = "[UNITINFO]\r\n{\r\n\tUnitName=KVTANK;\r\n\tName=Tank;\r\n\tSide=ARM;\r\n\tWeapon1=LASER;\r\n"
                         "\tWeapon2=ROCKET;\r\n\tWeapon3=FLAK;\r\n\tMaxDamage=2000;\r\n\tBuildTime=100;\r\n}\r\n";

// The main window shown and active, as shortcuts and the keyboard focus need, with Eight open.
DocumentWindow *openEight(Fixture &f)
{
    MainWindow &main = f.main();
    main.show();
    if (!QTest::qWaitForWindowActive(&main))
        return nullptr;
    f.open("eight.fbi", Eight);
    return main.activeDocumentWindow();
}

// Presses keys such as "Shift+Down" where the keyboard is.
void press(const QStringList &keys)
{
    for (const QString &key : keys) {
        const QKeyCombination combination = QKeySequence::fromString(key)[0];
        QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
    }
}
}

void TestEditing::messagesTellOfTheLastCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("Select All") << "mnuEdit_All" << "";
    QTest::newRow("Copy") << "mnuEdit_Copy" << "";
    QTest::newRow("Find, found") << "mnuEdit_Find" << "";
    QTest::newRow("Remove Variable") << "cmdRemove" << "";
    QTest::newRow("Add Variable") << "cmdAdd" << "Acceleration was added to eight.fbi.";
    QTest::newRow("Change Value, cancelled") << "cmdChange" << "";
    QTest::newRow("Find Next, not found again") << "mnuEdit_Next" << "\"nowhere\" was not found.";
}

// An old message goes when the next command starts; the command may leave its own.
void TestEditing::messagesTellOfTheLastCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, message);
    DocumentWindow *window = openEight(*f);
    QVERIFY(window);
    MainWindow &main = f->main();
    main.setKnownVariables({"Acceleration"});
    main.variablePanel()->lstAdd()->setCurrentRow(0);
    window->selectRow(2);
    f->dialogs.texts << "nowhere";
    item(main, "mnuEdit_Find")->trigger();
    QCOMPARE(main.statusPanels().message->text(), "\"nowhere\" was not found.");
    if (command == "mnuEdit_Find")
        f->dialogs.texts << "Side";
    if (command == "cmdChange")
        f->onNextModal<ValueEditor>([](ValueEditor *editor) { editor->reject(); });
    if (auto *button = main.variablePanel()->findChild<QPushButton *>(command))
        button->click();
    else
        item(main, qPrintable(command))->trigger();
    QCOMPARE(main.statusPanels().message->text(), message);
}

void TestEditing::keysMoveFromTheRowShown_data()
{
    QTest::addColumn<int>("clicked");       // a row clicked in a list before (-1: none)
    QTest::addColumn<QString>("list");      // the list clicked in
    QTest::addColumn<QString>("found");     // the text Find looks for; empty: no Find
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("opened: the keyboard is on the first row") << -1 << "" << "" << QStringList{"Down", "Shift+Down"}
                                                             << QList<int>{1, 2};
    QTest::newRow("found from the names list: Shift extends from the found row")
        << 6 << "names" << "weapon2" << QStringList{"Shift+Down", "Shift+Down"} << QList<int>{4, 5, 6};
    QTest::newRow("found from the values list: Shift extends from the found row")
        << 1 << "values" << "weapon2" << QStringList{"Shift+Down", "Shift+Down"} << QList<int>{4, 5, 6};
    QTest::newRow("found, then Find Next, then Shift+Up")
        << 7 << "values" << "weapon" << QStringList{"F4", "Shift+Up"} << QList<int>{3, 4};
    QTest::newRow("found, then the names list") << 0 << "values" << "side" << QStringList{"Shift+Tab", "Shift+Down"}
                                                << QList<int>{2, 3};
    QTest::newRow("found, then the values list") << 6 << "names" << "side" << QStringList{"Tab", "Down", "Shift+Down"}
                                                 << QList<int>{3, 4};
    QTest::newRow("clicked in the values list, arrows there") << 5 << "values" << "" << QStringList{"Up", "Shift+Up"}
                                                               << QList<int>{3, 4};
}

// The arrows, alone and with Shift, move from the row the window shows as current: the first row of
// a window just opened, the row found, the row clicked; in either list.
void TestEditing::keysMoveFromTheRowShown()
{
    QFETCH(int, clicked);
    QFETCH(QString, list);
    QFETCH(QString, found);
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, selected);
    DocumentWindow *window = openEight(*f);
    QVERIFY(window);
    QCOMPARE(QApplication::focusWidget(), window->lstVars());
    if (clicked >= 0)
        Fixture::click(list == "names" ? window->lstVars() : window->lstVals(), clicked);
    if (!found.isEmpty()) {
        f->dialogs.texts << found;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    }
    press(keys);
    QCOMPARE(window->selectedRows(), selected);
    QCOMPARE(window->selectedRow(), keys.constLast().contains("Up") ? selected.constFirst() : selected.constLast());
}

void TestEditing::tabReachesEveryControl_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("stops");     // where the keyboard goes, starting from the names list
    QTest::newRow("Tab") << "Tab" << QStringList{"lstVals", "lstAdd", "cmdAdd", "cmdRemove", "cmdChange", "lstVars"};
    QTest::newRow("Shift+Tab") << "Shift+Tab"
                               << QStringList{"cmdChange", "cmdRemove", "cmdAdd", "lstAdd", "lstVals", "lstVars"};
}

void TestEditing::tabReachesEveryControl()
{
    QFETCH(QString, key);
    QFETCH(QStringList, stops);
    DocumentWindow *window = openEight(*f);
    QVERIFY(window);
    QStringList reached;
    for (qsizetype step = 0; step < stops.size(); ++step) {
        press({key});
        QWidget *focus = QApplication::focusWidget();
        reached.append(focus ? focus->objectName() : QString());
        // A list with the keyboard has the current row in its own column: it draws its focus frame there.
        if (auto *list = qobject_cast<QListView *>(focus); list && list->model() == window->document())
            QCOMPARE(list->currentIndex().column(), list->modelColumn());
    }
    QCOMPARE(reached, stops);
}

// The list with the keyboard shows the selected row in the full highlight, its partner paler; Tab
// swaps them.
void TestEditing::selectionShowsWhereTheKeyboardIs()
{
    DocumentWindow *window = openEight(*f);
    QVERIFY(window);
    const auto rowColour = [window](QListView *list) {
        const QRect row = list->visualRect(window->document()->index(0, list->modelColumn()));
        return list->viewport()->grab().toImage().pixelColor(row.right() - 4, row.center().y());
    };
    const int highlight = window->lstVars()->palette().color(QPalette::Active, QPalette::Highlight).lightness();
    const int base = window->lstVars()->palette().color(QPalette::Base).lightness();
    for (QListView *keyboard : {window->lstVars(), window->lstVals()}) {
        QListView *partner = keyboard == window->lstVars() ? window->lstVals() : window->lstVars();
        QCOMPARE(QApplication::focusWidget(), keyboard);
        QVERIFY(qAbs(rowColour(keyboard).lightness() - highlight) < 8);
        const int paler = rowColour(partner).lightness();
        QVERIFY2(paler > highlight + 30 && paler < base - 10, qPrintable(QString::number(paler)));
        press({"Tab"});
    }
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
