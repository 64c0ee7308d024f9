#include "docwindow/frmChild.h"
#include "docwindow/frmInput.h"
#include "documents/ChildForms.h"
#include "documents/FbiDocument.h"
#include "help/ShowVariableHelp.h"
#include "help/VariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/frmMain.h"
#include "startup/Globals.h"
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
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Globals;

namespace {
const QByteArray TwoRows = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";
const QStringList ButtonKeys{"New", "Open", "Save", "", "Cut", "Copy", "Paste", "Delete", "Find", "", "Undo", "Redo", "", "Options", "Help"};

VariablePanel *panel()
{
    return AppFixture::main()->variablePanel();
}

QStringList names(frmChild *window)
{
    QStringList result;
    for (int row = 0; row < window->document()->rowCount(); ++row)
        result.append(window->document()->name(row) + '=' + window->document()->value(row));
    return result;
}

QStringList menuBarTitles()
{
    QStringList titles;
    for (QAction *menu : AppFixture::main()->menuBar()->actions())
        titles.append(menu->text());
    return titles;
}

QList<bool> buttonsEnabled()
{
    QList<bool> enabled;
    for (int position = 1; position <= 15; ++position)
        enabled.append(AppFixture::main()->toolbarButton(position)->isEnabled());
    return enabled;
}

void selectKnown(const QString &name)
{
    QListWidget *known = panel()->lstAdd();
    const QList<QListWidgetItem *> found = known->findItems(name, Qt::MatchExactly);
    known->setCurrentItem(found.constFirst());
}

// An item of the menus the menu bar shows now.
QAction *shownMenuItem(const QString &name)
{
    for (QAction *menu : AppFixture::main()->menuBar()->actions()) {
        for (QAction *item : menu->menu()->actions()) {
            if (item->objectName() == name)
                return item;
        }
    }
    return nullptr;
}

// As a user double-clicks: a click, then the double-click, on the chosen known variable.
void doubleClickKnown()
{
    QListWidget *list = panel()->lstAdd();
    const QPoint at = list->visualItemRect(list->currentItem()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void clickButton(int position)
{
    frmMain *main = AppFixture::main();
    QTest::mouseClick(main->barTools()->widgetForAction(main->toolbarButton(position)), Qt::LeftButton);
}
}

class TestMainWindow : public AppTestCase
{
    Q_OBJECT

private slots:
    void toolbarDesign();
    void toolbarFollowsTheOpenDocuments();
    void toolbarDispatch_data();
    void toolbarDispatch();
    void menuBarSwitches();
    void ownMenusDesign();
    void statusBarPanels();
    void insertKeyTogglesItsPanel();
    void panelScrollerHeight_data();
    void panelScrollerHeight();
    void panelScrollerKeepsItsHeightWhenMinimized();
    void panelDesign();
    void knownVariableShowsItsHelp();
    void addVariable_data();
    void addVariable();
    void doubleClickWithoutDocumentDoesNothing();
    void removeVariable_data();
    void removeVariable();
    void changeValue_data();
    void changeValue();
    void closingAsksAboutEachChangedDocument();
    void closingStopsWhenASaveDoesNotHappen();
    void exitEndsTheProgramAtOnce();

private:
    frmChild *openTwoRows();
};

frmChild *TestMainWindow::openTwoRows()
{
    ChildForms::OpenDocument(m_app->writeFile("two.fbi", TwoRows));
    return AppFixture::main()->activeDocumentWindow();
}

void TestMainWindow::toolbarDesign()
{
    frmMain *main = AppFixture::main();
    QCOMPARE(main->barTools()->actions().size(), 15);
    for (int position = 1; position <= 15; ++position) {
        QAction *button = main->toolbarButton(position);
        const QString key = ButtonKeys[position - 1];
        QCOMPARE(button->isSeparator(), key.isEmpty());
        if (key.isEmpty())
            continue;
        QCOMPARE(button->data().toString(), key);
        QCOMPARE(button->toolTip(), key);
        QVERIFY(!button->icon().isNull());
        auto *tool = qobject_cast<QToolButton *>(main->barTools()->widgetForAction(button));
        QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    QCOMPARE(main->barTools()->iconSize(), QSize(16, 16));
}

void TestMainWindow::toolbarFollowsTheOpenDocuments()
{
    //                         New   Open  Save  -     Cut    Copy   Paste  Delete Find   -     Undo   Redo   -     Options Help
    const QList<bool> one{true, true, true, true, false, false, false, true, false, true, false, false, true, true, true};
    QList<bool> none = one;
    none[2] = none[7] = false;
    QCOMPARE(buttonsEnabled(), one);
    openTwoRows();
    QCOMPARE(buttonsEnabled(), one);
    AppFixture::window(1)->close();
    QCOMPARE(buttonsEnabled(), one);
    AppFixture::window(2)->close();
    QCOMPARE(buttonsEnabled(), none);
    ChildForms::NewDocument();
    QCOMPARE(buttonsEnabled(), one);
}

void TestMainWindow::toolbarDispatch_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("changed");
    QTest::newRow("New") << 1 << QStringList{"Default1.fbi", "two.fbi", "Default3.fbi"} << QStringList{} << false;
    QTest::newRow("Open") << 2 << QStringList{"Default1.fbi", "two.fbi", "other.fbi"} << QStringList{"Name=Other"} << false;
    QTest::newRow("Save") << 3 << QStringList{"Default1.fbi", "two.fbi"} << QStringList{"Name=Tank", "Side=ARM", "Extra=1"} << false;
    QTest::newRow("Delete") << 8 << QStringList{"Default1.fbi", "two.fbi"} << QStringList{"Side=ARM"} << true;
    QTest::newRow("Help") << 15 << QStringList{"Default1.fbi", "two.fbi"} << QStringList{"Name=Tank", "Side=ARM"} << false;
}

void TestMainWindow::toolbarDispatch()
{
    QFETCH(int, position);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, rows);
    QFETCH(bool, changed);
    frmChild *two = openTwoRows();
    two->selectRow(0);
    if (position == 3)
        two->appendVariable("Extra", "1");
    if (position == 2)
        m_app->dialogs.answerFile(m_app->writeFile("other.fbi", "{\nName=Other;\n}"));
    clickButton(position);

    QStringList shown;
    for (frmChild *window : AppFixture::windows())
        shown.append(window->windowTitle());
    QCOMPARE(shown, captions);
    QCOMPARE(names(AppFixture::main()->activeDocumentWindow()), rows);
    QCOMPARE(DocStates[CurrentDoc].Changed, changed);
    if (position == 2)
        QCOMPARE(m_app->dialogs.fileDialogs().constFirst().title, "Open...");
    if (position == 3)
        QVERIFY(m_app->readFile("two.fbi").contains("\tExtra=1;\r\n"));
}

void TestMainWindow::menuBarSwitches()
{
    QCOMPARE(menuBarTitles(), (QStringList{"&File", "&Edit", "&Window", "&Help"}));
    AppFixture::window(1)->close();
    QCOMPARE(menuBarTitles(), (QStringList{"&File", "&Edit", "&Help"}));
    ChildForms::NewDocument();
    ChildForms::NewDocument();
    QCOMPARE(menuBarTitles(), (QStringList{"&File", "&Edit", "&Window", "&Help"}));
    QCOMPARE(AppFixture::main()->menuBar()->actions().constFirst()->menu(), AppFixture::window(2)->menus().constFirst());
    AppFixture::main()->mdiArea()->setActiveSubWindow(AppFixture::window(1));
    QCOMPARE(AppFixture::main()->menuBar()->actions().constFirst()->menu(), AppFixture::window(1)->menus().constFirst());
}

void TestMainWindow::ownMenusDesign()
{
    AppFixture::window(1)->close();
    QStringList items;
    for (QAction *menu : AppFixture::main()->menuBar()->actions()) {
        for (QAction *item : menu->menu()->actions()) {
            items.append(item->objectName() + ' ' + item->text());
            QVERIFY(item->shortcut().isEmpty());
        }
    }
    QCOMPARE(items, (QStringList{"mnuFile_New &New", "mnuFile_Open &Open...", "Seperator1 ", "mnuFile_Exit E&xit",
                                 "mnuEdit_Options &Options...", "mnuHelp_Help Help &Topics...", "Seperator3 ",
                                 "mnuHelp_About &About..."}));
    // New from the main window's own menu brings a document, and with it the document menus.
    shownMenuItem("mnuFile_New")->trigger();
    QCOMPARE(AppFixture::windows().size(), 1);
    QCOMPARE(menuBarTitles(), (QStringList{"&File", "&Edit", "&Window", "&Help"}));
}

void TestMainWindow::statusBarPanels()
{
    frmMain *main = AppFixture::main();
    main->resize(900, 700);
    QTest::qWait(0);
    const QStringList texts{"", "", "CAPS", "NUM", "INS", "Version: 4.00"};
    const QList<int> widths{96, -1, 43, 43, 43, 96};
    int total = 0;
    for (int position = 1; position <= 6; ++position) {
        QLabel *panel = main->statusPanel(position);
        QCOMPARE(panel->text(), texts[position - 1]);
        if (widths[position - 1] > 0)
            QCOMPARE(panel->width(), widths[position - 1]);
        total += panel->width();
        if (position > 1)
            QVERIFY(panel->x() > main->statusPanel(position - 1)->x());
    }
    // The second panel takes what the others leave.
    QVERIFY(main->statusPanel(2)->width() > 300);
    main->resize(500, 700);
    QTest::qWait(0);
    QVERIFY(main->statusPanel(2)->width() < 300);
    QVERIFY(main->statusPanel(2)->width() >= 7);
    QCOMPARE(main->statusPanel(6)->width(), 96);
}

void TestMainWindow::insertKeyTogglesItsPanel()
{
    frmMain *main = AppFixture::main();
    QListView *list = AppFixture::window(1)->lstVars();
    main->activateWindow();
    list->setFocus();
    QApplication::setActiveWindow(main);
    QVERIFY(QTest::qWaitForWindowActive(main));
    list->setFocus();
    const bool before = main->insertMode();
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(main->insertMode(), !before);
    QCOMPARE(main->statusPanel(5)->isEnabled(), !before);
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(main->insertMode(), before);
    QCOMPARE(main->statusPanel(5)->isEnabled(), before);
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
    QCOMPARE(frmMain::panelScrollerHeight(outer).value_or(-1.0f), height);
}

void TestMainWindow::panelScrollerKeepsItsHeightWhenMinimized()
{
    frmMain *main = AppFixture::main();
    main->showNormal();
    main->resize(800, 700);
    QTest::qWait(0);
    const int before = panel()->scrTools()->height();
    QVERIFY(before > 0 && before <= panel()->height());
    main->showMinimized();
    QTest::qWait(0);
    QCOMPARE(panel()->scrTools()->height(), before);
    main->showNormal();
    main->resize(800, 400);
    QTest::qWait(0);
    QVERIFY(panel()->scrTools()->height() < before);
    QVERIFY(panel()->scrTools()->verticalScrollBar()->isVisible());
}

void TestMainWindow::panelDesign()
{
    VariablePanel *tools = panel();
    QCOMPARE(tools->width(), 187);
    QCOMPARE(tools->cmdAdd()->text(), "Add Variable");
    QCOMPARE(tools->cmdAdd()->toolTip(), "Adds the selected variable to the list above");
    QCOMPARE(tools->cmdRemove()->text(), "Remove Variable");
    QCOMPARE(tools->cmdRemove()->toolTip(), "Remove selected variable from the list");
    QCOMPARE(tools->cmdChange()->text(), "Change Value");
    QCOMPARE(tools->cmdChange()->toolTip(), "Change the value of the variable selected");
    QCOMPARE(tools->lblHelp()->text(), "Nothing Selected.");
    QVERIFY(tools->lblHelp()->wordWrap());
    QCOMPARE(tools->findChild<QGroupBox *>("frmAddRemove")->title(), "Add/Remove Variables");
    QCOMPARE(tools->findChild<QGroupBox *>("Frame3")->title(), "Variable Help");
    QCOMPARE(tools->lstAdd()->count(), 3);
    QCOMPARE(tools->lstAdd()->item(0)->text(), "Acceleration");
}

void TestMainWindow::knownVariableShowsItsHelp()
{
    selectKnown("Acceleration");
    QCOMPARE(panel()->lblHelp()->text(), "How fast the unit accelerates.\r\n(Acceleration=0.895;)");
    QCOMPARE(panel()->lblHelp()->toolTip(), panel()->lblHelp()->text());
    selectKnown("Name");
    QCOMPARE(panel()->lblHelp()->text(), Help::VariableHelpText(QStringLiteral("Name")));

    // The longest help is shown whole: the label grows and the panel scrolls to it.
    QLabel *label = panel()->lblHelp();
    const int designHeight = label->height();
    const QWidget *content = panel()->scrTools()->widget();
    const int designContent = content->minimumHeight();
    ShowVariableHelp(QStringLiteral("WindGenerator"));
    QVERIFY(label->height() > designHeight);
    QVERIFY(label->height() >= label->heightForWidth(label->width()));
    QVERIFY(content->minimumHeight() > designContent);
    ShowVariableHelp(QStringLiteral("Side"));
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

void TestMainWindow::addVariable()
{
    QFETCH(QString, known);
    QFETCH(bool, byDoubleClick);
    QFETCH(QStringList, rows);
    frmChild *window = openTwoRows();
    window->selectRow(1);
    const QString help = panel()->lblHelp()->text();
    if (!known.isEmpty())
        selectKnown(known);
    const QString helpAfterChoice = panel()->lblHelp()->text();
    if (byDoubleClick) {
        doubleClickKnown();
    } else {
        panel()->cmdAdd()->click();
    }
    QCOMPARE(names(window), rows);
    QCOMPARE(DocStates[window->documentNumber()].Changed, !known.isEmpty());
    QCOMPARE(window->selectedRow(), 1);
    QCOMPARE(panel()->lblHelp()->text(), known.isEmpty() ? help : helpAfterChoice);
    if (!known.isEmpty()) {
        panel()->cmdAdd()->click();
        QCOMPARE(window->document()->rowCount(), rows.size() + 1);
        QCOMPARE(window->document()->name(rows.size()), known);
    }
}

void TestMainWindow::doubleClickWithoutDocumentDoesNothing()
{
    AppFixture::window(1)->close();
    selectKnown("Name");
    doubleClickKnown();
    panel()->cmdRemove()->click();
    panel()->removeVariable();
    panel()->changeValue();
    QVERIFY(AppFixture::windows().isEmpty());
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
    frmChild *window = openTwoRows();
    if (selected >= 0)
        window->selectRow(selected);
    if (toolbar)
        clickButton(8);
    else
        panel()->cmdRemove()->click();
    QCOMPARE(names(window), rows);
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
    frmChild *window = openTwoRows();
    if (selected >= 0)
        window->selectRow(selected);
    // The editor copies whatever help the panel shows, here that of a known variable.
    selectKnown("Acceleration");
    QString helpInEditor;
    ModalDriver<frmInput> editor([&](frmInput *dialog) {
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
    AppFixture::window(1)->appendVariable("First", "1");
    frmChild *two = openTwoRows();
    ChildForms::NewDocument()->appendVariable("Fresh", "1");
    two->appendVariable("Extra", "1");
    // Each window answers for its own document, whichever window is active.
    AppFixture::main()->mdiArea()->setActiveSubWindow(AppFixture::window(3));
    m_app->dialogs.answerMessage(QMessageBox::No);    // Default1.fbi: dropped
    m_app->dialogs.answerMessage(QMessageBox::Yes);   // two.fbi: saved to its file
    m_app->dialogs.answerMessage(QMessageBox::No);    // Default3.fbi: dropped

    QVERIFY(AppFixture::main()->close());
    QStringList asked;
    for (const MessageBoxRequest &message : m_app->dialogs.messages()) {
        QCOMPARE(message.title, "Save before Closing");
        asked.append(message.text.section(' ', 3, 3));
    }
    QCOMPARE(asked, (QStringList{"Default1.fbi", "two.fbi", "Default3.fbi"}));
    QVERIFY(m_app->readFile("two.fbi").contains("\tExtra=1;\r\n"));
    QVERIFY(DocStates[1].Closed && DocStates[2].Closed && DocStates[3].Closed);
    QVERIFY(AppFixture::windows().isEmpty());
    QVERIFY(!AppFixture::main()->isVisible());
}

// The main window's own Exit, reachable only with no document open, ends the program without closing anything.
void TestMainWindow::exitEndsTheProgramAtOnce()
{
    AppFixture::window(1)->close();
    QAction *exit = shownMenuItem("mnuFile_Exit");
    QTimer::singleShot(0, exit, &QAction::trigger);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(AppFixture::main()->isVisible());
}

void TestMainWindow::closingStopsWhenASaveDoesNotHappen()
{
    AppFixture::window(1)->appendVariable("Unsaved", "1");
    ChildForms::NewDocument()->appendVariable("Also", "1");
    m_app->dialogs.answerMessage(QMessageBox::Yes);
    m_app->dialogs.answerFile(std::nullopt);

    QVERIFY(!AppFixture::main()->close());
    QCOMPARE(m_app->dialogs.messages().size(), 1);
    QVERIFY(AppFixture::main()->isVisible());
    QCOMPARE(AppFixture::windows().size(), 2);
    QVERIFY(DocStates[1].Changed && !DocStates[1].Closed);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
