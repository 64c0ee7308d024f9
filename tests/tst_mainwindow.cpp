#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "help/ShowVariableHelp.h"
#include "help/VariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"
#include "app/Globals.h"
#include "support/AppTestCase.h"
#include "support/ModalDriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Globals;
using App = AppFixture;

namespace {
const QByteArray TwoRows = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";

VariablePanel *panel()
{
    return App::main()->variablePanel();
}

QStringList menuBar()
{
    QStringList titles;
    for (QAction *menu : App::main()->menuBar()->actions())
        titles.append(menu->text());
    return titles;
}

// An item of the menus the menu bar shows now.
QAction *shownMenuItem(const QString &name)
{
    QList<QMenu *> menus;
    for (QAction *menu : App::main()->menuBar()->actions())
        menus.append(menu->menu());
    return App::menuItem(menus, name);
}

QString toolbarState()
{
    QString state;
    for (int position = 1; position <= 15; ++position) {
        QAction *button = App::main()->toolbarButton(position);
        state += button->isSeparator() ? '|' : button->isEnabled() ? '+' : '-';
    }
    return state;
}

void selectKnown(const QString &name)
{
    QListWidget *known = panel()->lstAdd();
    known->setCurrentItem(known->findItems(name, Qt::MatchExactly).constFirst());
}

void clickButton(int position)
{
    MainWindow *main = App::main();
    QTest::mouseClick(main->barTools()->widgetForAction(main->toolbarButton(position)), Qt::LeftButton);
}
}

class TestMainWindow : public AppTestCase
{
    Q_OBJECT

private slots:
    void toolbar();
    void toolbarDispatch_data();
    void toolbarDispatch();
    void menuBarSwitches();
    void statusBarPanels();
    void panelScrollerHeight_data();
    void panelScrollerHeight();
    void panelScrollerFollowsTheWindow();
    void panelDesign();
    void knownVariableShowsItsHelp();
    void addVariable_data();
    void addVariable();
    void panelWithoutDocumentDoesNothing();
    void removeVariable_data();
    void removeVariable();
    void changeValue_data();
    void changeValue();
    void closingAsksAboutEachChangedDocument();
    void closingStopsWhenASaveDoesNotHappen();
    void exitEndsTheProgramAtOnce();

private:
    DocumentWindow *openTwoRows()
    {
        FileCommands::OpenDocument(m_app->writeFile("two.fbi", TwoRows));
        return App::main()->activeDocumentWindow();
    }
};

void TestMainWindow::toolbar()
{
    MainWindow *main = App::main();
    const QStringList keys{"New", "Open", "Save", "", "Cut", "Copy", "Paste", "Delete", "Find", "", "Undo", "Redo", "", "Options", "Help"};
    QCOMPARE(main->barTools()->actions().size(), 15);
    QCOMPARE(main->barTools()->iconSize(), QSize(16, 16));
    for (int position = 1; position <= 15; ++position) {
        QAction *button = main->toolbarButton(position);
        const QString key = keys[position - 1];
        QCOMPARE(button->isSeparator(), key.isEmpty());
        if (key.isEmpty())
            continue;
        QCOMPARE(button->data().toString(), key);
        QCOMPARE(button->toolTip(), key);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(qobject_cast<QToolButton *>(main->barTools()->widgetForAction(button))->toolButtonStyle(),
                 Qt::ToolButtonIconOnly);
    }
    // Save and Delete follow the open documents; Cut to Redo never come on; Help is always on.
    const QString withDocuments = "+++|---+-|--|++";
    QCOMPARE(toolbarState(), withDocuments);
    openTwoRows();
    App::window(1)->close();
    QCOMPARE(toolbarState(), withDocuments);
    App::window(2)->close();
    QCOMPARE(toolbarState(), "++-|-----|--|++");
    FileCommands::NewDocument();
    QCOMPARE(toolbarState(), withDocuments);
}

void TestMainWindow::toolbarDispatch_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("changed");
    const QStringList two{"Default1.fbi", "two.fbi"};
    QTest::newRow("New") << 1 << two + QStringList{"Default3.fbi"} << QStringList{} << false;
    QTest::newRow("Open") << 2 << two + QStringList{"other.fbi"} << QStringList{"Name=Other"} << false;
    QTest::newRow("Save") << 3 << two << QStringList{"Name=Tank", "Side=ARM", "Extra=1"} << false;
    QTest::newRow("Delete") << 8 << two << QStringList{"Side=ARM"} << true;
    QTest::newRow("Help") << 15 << two << QStringList{"Name=Tank", "Side=ARM"} << false;
}

void TestMainWindow::toolbarDispatch()
{
    QFETCH(int, position);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, rows);
    QFETCH(bool, changed);
    DocumentWindow *two = openTwoRows();
    two->selectRow(0);
    if (position == 3)
        two->appendVariable("Extra", "1");
    if (position == 2)
        m_app->dialogs.answerFile(m_app->writeFile("other.fbi", "{\nName=Other;\n}"));
    clickButton(position);

    QCOMPARE(App::captions(), captions);
    QCOMPARE(App::rows(App::main()->activeDocumentWindow()), rows);
    QCOMPARE(DocStates[CurrentDoc].Changed, changed);
    if (position == 2)
        QCOMPARE(m_app->dialogs.fileDialogs().constFirst().title, "Open...");
    if (position == 3)
        QVERIFY(m_app->readFile("two.fbi").contains("\tExtra=1;\r\n"));
}

// The main window's own menus show only while no document window is active.
void TestMainWindow::menuBarSwitches()
{
    QCOMPARE(menuBar(), (QStringList{"&File", "&Edit", "&Window", "&Help"}));
    App::window(1)->close();
    QStringList items;
    for (QAction *menu : App::main()->menuBar()->actions()) {
        for (QAction *item : menu->menu()->actions()) {
            items.append(item->objectName() + ' ' + item->text());
            QVERIFY(item->shortcut().isEmpty());
        }
    }
    QCOMPARE(items, (QStringList{"mnuFile_New &New", "mnuFile_Open &Open...", "Seperator1 ", "mnuFile_Exit E&xit",
                                 "mnuEdit_Options &Options...", "mnuHelp_Help Help &Topics...", "Seperator3 ",
                                 "mnuHelp_About &About..."}));
    shownMenuItem("mnuFile_New")->trigger();
    FileCommands::NewDocument();
    QCOMPARE(menuBar(), (QStringList{"&File", "&Edit", "&Window", "&Help"}));
    QCOMPARE(App::main()->menuBar()->actions().constFirst()->menu(), App::window(2)->menus().constFirst());
    App::main()->mdiArea()->setActiveSubWindow(App::window(1));
    QCOMPARE(App::main()->menuBar()->actions().constFirst()->menu(), App::window(1)->menus().constFirst());
}

void TestMainWindow::statusBarPanels()
{
    MainWindow *main = App::main();
    main->resize(900, 700);
    QTest::qWait(0);
    const QStringList texts{"", "", "CAPS", "NUM", "INS", "Version: 4.00"};
    const QList<int> widths{96, -1, 43, 43, 43, 96};
    for (int position = 1; position <= 6; ++position) {
        QCOMPARE(main->statusPanel(position)->text(), texts[position - 1]);
        if (widths[position - 1] > 0)
            QCOMPARE(main->statusPanel(position)->width(), widths[position - 1]);
        if (position > 1)
            QVERIFY(main->statusPanel(position)->x() > main->statusPanel(position - 1)->x());
    }
    // The second panel takes the width the others leave.
    const int wide = main->statusPanel(2)->width();
    main->resize(500, 700);
    QTest::qWait(0);
    QCOMPARE(main->statusPanel(2)->width(), wide - 400);

    // Insert mode is the program's own: each press of Insert toggles its panel.
    QListView *list = App::window(1)->lstVars();
    QApplication::setActiveWindow(main);
    QVERIFY(QTest::qWaitForWindowActive(main));
    list->setFocus();
    const bool before = main->insertMode();
    for (bool expected : {!before, before}) {
        QTest::keyClick(list, Qt::Key_Insert);
        QCOMPARE(main->insertMode(), expected);
        QCOMPARE(main->statusPanel(5)->isEnabled(), expected);
    }
}

void TestMainWindow::panelScrollerHeight_data()
{
    QTest::addColumn<float>("outer");
    QTest::addColumn<float>("height");
    QTest::newRow("shorter than the margin") << 900.0f << -1.0f;
    QTest::newRow("exactly the margin") << 1320.0f << -1.0f;
    QTest::newRow("one pixel more") << 1335.0f << 15.0f;
    QTest::newRow("design height") << 9630.0f << 8310.0f;
}

void TestMainWindow::panelScrollerHeight()
{
    QFETCH(float, outer);
    QFETCH(float, height);
    QCOMPARE(MainWindow::panelScrollerHeight(outer).value_or(-1.0f), height);
}

void TestMainWindow::panelScrollerFollowsTheWindow()
{
    MainWindow *main = App::main();
    const QScrollArea *scroller = panel()->scrTools();
    main->showNormal();
    main->resize(800, 700);
    QTest::qWait(0);
    const int tall = scroller->height();
    QVERIFY(tall > 0 && tall <= panel()->height());
    main->showMinimized();
    QTest::qWait(0);
    QCOMPARE(scroller->height(), tall);
    main->showNormal();
    main->resize(800, 400);
    QTest::qWait(0);
    QVERIFY(scroller->height() < tall);
    QVERIFY(scroller->verticalScrollBar()->isVisible());
}

void TestMainWindow::panelDesign()
{
    VariablePanel *tools = panel();
    QCOMPARE(tools->width(), 187);
    const QList<std::tuple<QPushButton *, QString, QString>> buttons{
        {tools->cmdAdd(), "Add Variable", "Adds the selected variable to the list above"},
        {tools->cmdRemove(), "Remove Variable", "Remove selected variable from the list"},
        {tools->cmdChange(), "Change Value", "Change the value of the variable selected"}};
    for (const auto &[button, text, tip] : buttons) {
        QCOMPARE(button->text(), text);
        QCOMPARE(button->toolTip(), tip);
    }
    QCOMPARE(tools->findChild<QGroupBox *>("frmAddRemove")->title(), "Add/Remove Variables");
    QCOMPARE(tools->findChild<QGroupBox *>("Frame3")->title(), "Variable Help");
    QCOMPARE(tools->lblHelp()->text(), "Nothing Selected.");
    QCOMPARE(tools->lstAdd()->item(0)->text(), "Acceleration");
}

void TestMainWindow::knownVariableShowsItsHelp()
{
    QLabel *label = panel()->lblHelp();
    selectKnown("Acceleration");
    QCOMPARE(label->text(), "How fast the unit accelerates.\r\n(Acceleration=0.895;)");
    QCOMPARE(label->toolTip(), label->text());

    // The longest help is shown whole: the label grows and the panel scrolls to it.
    const int designHeight = label->height();
    const QWidget *content = panel()->scrTools()->widget();
    const int designContent = content->minimumHeight();
    ShowVariableHelp(QStringLiteral("WindGenerator"));
    QVERIFY(label->height() > designHeight);
    QVERIFY(label->height() >= label->heightForWidth(label->width()));
    QVERIFY(content->minimumHeight() > designContent);
    selectKnown("Name");
    QCOMPARE(label->text(), Help::VariableHelpText(QStringLiteral("Name")));
    QCOMPARE(label->height(), designHeight);
    QCOMPARE(content->minimumHeight(), designContent);
}

void TestMainWindow::addVariable_data()
{
    QTest::addColumn<QString>("known");
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("button") << "BuildTime" << false << QStringList{"Name=Tank", "Side=ARM", "BuildTime=Change This"};
    QTest::newRow("double-click") << "Name" << true << QStringList{"Name=Tank", "Side=ARM", "Name=Change This"};
    QTest::newRow("button, nothing chosen") << "" << false << QStringList{"Name=Tank", "Side=ARM"};
}

// The known variable goes to the end with the value "Change This"; selections and help stay as they were.
void TestMainWindow::addVariable()
{
    QFETCH(QString, known);
    QFETCH(bool, byDoubleClick);
    QFETCH(QStringList, rows);
    DocumentWindow *window = openTwoRows();
    window->selectRow(1);
    if (!known.isEmpty())
        selectKnown(known);
    const QString help = panel()->lblHelp()->text();
    if (byDoubleClick)
        App::doubleClickRow(panel()->lstAdd(), panel()->lstAdd()->currentRow());
    else
        panel()->cmdAdd()->click();
    QCOMPARE(App::rows(window), rows);
    QCOMPARE(DocStates[window->documentNumber()].Changed, !known.isEmpty());
    QCOMPARE(window->selectedRow(), 1);
    QCOMPARE(panel()->lblHelp()->text(), help);
    if (!known.isEmpty()) {
        panel()->cmdAdd()->click();
        QCOMPARE(App::rows(window), rows + QStringList{rows.last()});
    }
}

void TestMainWindow::panelWithoutDocumentDoesNothing()
{
    App::window(1)->close();
    selectKnown("Name");
    App::doubleClickRow(panel()->lstAdd(), panel()->lstAdd()->currentRow());
    panel()->removeVariable();
    panel()->changeValue();
    QVERIFY(App::windows().isEmpty());
}

void TestMainWindow::removeVariable_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("Remove Variable") << 0 << false << QStringList{"Side=ARM"};
    QTest::newRow("toolbar Delete") << 1 << true << QStringList{"Name=Tank"};
    QTest::newRow("nothing selected") << -1 << false << QStringList{"Name=Tank", "Side=ARM"};
    QTest::newRow("toolbar, nothing selected") << -1 << true << QStringList{"Name=Tank", "Side=ARM"};
}

// Removing marks the document changed even when nothing was selected.
void TestMainWindow::removeVariable()
{
    QFETCH(int, selected);
    QFETCH(bool, toolbar);
    QFETCH(QStringList, rows);
    DocumentWindow *window = openTwoRows();
    if (selected >= 0)
        window->selectRow(selected);
    if (toolbar)
        clickButton(8);
    else
        panel()->cmdRemove()->click();
    QCOMPARE(App::rows(window), rows);
    QVERIFY(DocStates[window->documentNumber()].Changed);
    QCOMPARE(window->selectedRow(), -1);
}

void TestMainWindow::changeValue_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("changed");
    QTest::newRow("new value") << 1 << "CORE" << true << "CORE" << true;
    QTest::newRow("only letter case") << 1 << "arm" << true << "arm" << true;
    QTest::newRow("same value") << 1 << "ARM" << true << "ARM" << false;
    QTest::newRow("cancelled") << 1 << "CORE" << false << "ARM" << false;
    QTest::newRow("nothing selected") << -1 << "" << false << "ARM" << false;
}

void TestMainWindow::changeValue()
{
    QFETCH(int, selected);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, value);
    QFETCH(bool, changed);
    DocumentWindow *window = openTwoRows();
    if (selected >= 0)
        window->selectRow(selected);
    // The editor copies whatever help the panel shows, here that of a known variable.
    selectKnown("Acceleration");
    QString helpInEditor;
    ModalDriver<ValueEditor> editor([&](ValueEditor *dialog) {
        helpInEditor = dialog->lblHelp()->text();
        dialog->txtValue()->setText(typed);
        (ok ? dialog->cmdOk() : dialog->cmdCancel())->click();
    });
    panel()->cmdChange()->click();
    QCOMPARE(editor.appeared(), selected >= 0 ? 1 : 0);
    QCOMPARE(window->document()->value(1), value);
    QCOMPARE(DocStates[window->documentNumber()].Changed, changed);
    if (selected >= 0)
        QCOMPARE(helpInEditor, Help::VariableHelpText(QStringLiteral("Acceleration")));
}

void TestMainWindow::closingAsksAboutEachChangedDocument()
{
    App::window(1)->appendVariable("First", "1");
    DocumentWindow *two = openTwoRows();
    FileCommands::NewDocument()->appendVariable("Fresh", "1");
    two->appendVariable("Extra", "1");
    // Each window answers for its own document, whichever window is active.
    App::main()->mdiArea()->setActiveSubWindow(App::window(3));
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes, QMessageBox::No})
        m_app->dialogs.answerMessage(answer);

    QVERIFY(App::main()->close());
    QStringList asked;
    for (const MessageBoxRequest &message : m_app->dialogs.messages())
        asked.append(message.title + ": " + message.text.section(' ', 3, 3));
    QCOMPARE(asked, (QStringList{"Save before Closing: Default1.fbi", "Save before Closing: two.fbi",
                                 "Save before Closing: Default3.fbi"}));
    QVERIFY(m_app->readFile("two.fbi").contains("\tExtra=1;\r\n"));
    QVERIFY(DocStates[1].Closed && DocStates[2].Closed && DocStates[3].Closed);
    QVERIFY(!App::main()->isVisible());
}

void TestMainWindow::closingStopsWhenASaveDoesNotHappen()
{
    App::window(1)->appendVariable("Unsaved", "1");
    FileCommands::NewDocument()->appendVariable("Also", "1");
    m_app->dialogs.answerMessage(QMessageBox::Yes);
    m_app->dialogs.answerFile(std::nullopt);

    QVERIFY(!App::main()->close());
    QCOMPARE(m_app->dialogs.messages().size(), 1);
    QVERIFY(App::main()->isVisible());
    QCOMPARE(App::windows().size(), 2);
    QVERIFY(DocStates[1].Changed && !DocStates[1].Closed);
}

// The main window's own Exit, reachable only with no document open, ends the program without closing anything.
void TestMainWindow::exitEndsTheProgramAtOnce()
{
    App::window(1)->close();
    QTimer::singleShot(0, shownMenuItem("mnuFile_Exit"), &QAction::trigger);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(App::main()->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
