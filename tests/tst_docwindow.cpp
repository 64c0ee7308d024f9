#include "docwindow/PanelLayout.h"
#include "docwindow/frmChild.h"
#include "docwindow/frmInput.h"
#include "documents/ChildForms.h"
#include "documents/FbiDocument.h"
#include "help/VariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/frmMain.h"
#include "startup/Globals.h"
#include "support/AppTestCase.h"
#include "support/ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace Globals;

namespace {
const QByteArray ThreeRows = "[UNITINFO]\r\n{\r\n\tName=Big Tank;\r\n\tSide=abc;\r\n\tBuildTime=100;\r\n}\r\n";

int selected(QListView *list)
{
    const QModelIndexList rows = list->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

QString helpShown()
{
    return AppFixture::main()->variablePanel()->lblHelp()->text();
}

void click(QListView *list, int row)
{
    const QRect place = list->visualRect(list->model()->index(row, list->modelColumn()));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

void doubleClick(QListView *list, int row)
{
    const QPoint at = list->visualRect(list->model()->index(row, list->modelColumn())).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QAction *menuItem(frmChild *window, const QString &name)
{
    for (QMenu *menu : window->menus()) {
        for (QAction *action : menu->actions()) {
            if (action->objectName() == name)
                return action;
        }
    }
    return nullptr;
}

QMenu *menu(frmChild *window, const QString &name)
{
    for (QMenu *menu : window->menus()) {
        if (menu->objectName() == name)
            return menu;
    }
    return nullptr;
}

QStringList names(frmChild *window)
{
    QStringList result;
    for (int row = 0; row < window->document()->rowCount(); ++row)
        result.append(window->document()->name(row));
    return result;
}
}

class TestDocWindow : public AppTestCase
{
    Q_OBJECT

private slots:
    void selectionFollowsEitherList_data();
    void selectionFollowsEitherList();
    void keyboardMovesBothLists();
    void selectingScrollsTheOtherList();
    void valueEditor_data();
    void valueEditor();
    void valueEditorShowsTheRow();
    void valueEditorIgnoresEnterAndEscape();
    void doubleClickInEmptyDocumentOpensNothing();
    void deleteEnabledOnlyWithASelection();
    void deleteRemovesTheSelectedPair_data();
    void deleteRemovesTheSelectedPair();
    void menuBarDesign_data();
    void menuBarDesign();
    void windowMenuListsTheOpenWindows();
    void tileFillsTheDocumentArea_data();
    void tileFillsTheDocumentArea();
    void panelPlace_data();
    void panelPlace();
    void layoutFollowsTheWindowState();
    void savePrompt_data();
    void savePrompt();

private:
    frmChild *openThreeRows();
};

frmChild *TestDocWindow::openThreeRows()
{
    ChildForms::OpenDocument(m_app->writeFile("three.fbi", ThreeRows));
    return AppFixture::main()->activeDocumentWindow();
}

void TestDocWindow::selectionFollowsEitherList_data()
{
    QTest::addColumn<bool>("inValues");
    QTest::addColumn<int>("row");
    QTest::newRow("name list, first row") << false << 0;
    QTest::newRow("value list, last row") << true << 2;
    QTest::newRow("name list, middle row") << false << 1;
}

void TestDocWindow::selectionFollowsEitherList()
{
    QFETCH(bool, inValues);
    QFETCH(int, row);
    frmChild *window = openThreeRows();
    click(inValues ? window->lstVals() : window->lstVars(), row);
    QCOMPARE(selected(window->lstVars()), row);
    QCOMPARE(selected(window->lstVals()), row);
    QCOMPARE(helpShown(), Help::VariableHelpText(window->document()->name(row)));
}

void TestDocWindow::keyboardMovesBothLists()
{
    frmChild *window = openThreeRows();
    click(window->lstVals(), 0);
    const QList<std::pair<QListView *, int>> steps{{window->lstVals(), Qt::Key_Down}, {window->lstVars(), Qt::Key_Down},
                                                   {window->lstVars(), Qt::Key_Home}, {window->lstVals(), Qt::Key_End},
                                                   {window->lstVars(), Qt::Key_PageUp}};
    const QList<int> rows{1, 2, 0, 2, 0};
    for (int step = 0; step < steps.size(); ++step) {
        QTest::keyClick(steps[step].first, Qt::Key(steps[step].second));
        QCOMPARE(selected(window->lstVars()), rows[step]);
        QCOMPARE(selected(window->lstVals()), rows[step]);
        QCOMPARE(helpShown(), Help::VariableHelpText(window->document()->name(rows[step])));
    }
    // Typing the start of a name selects it.
    QTest::keyClicks(window->lstVars(), "Bu");
    QCOMPARE(selected(window->lstVals()), 2);
}

void TestDocWindow::selectingScrollsTheOtherList()
{
    frmChild *window = AppFixture::window(1);
    for (int row = 0; row < 200; ++row)
        window->document()->appendRow(QStringLiteral("Row%1").arg(row), QString::number(row));
    QTest::qWait(0);
    window->lstVars()->scrollToBottom();
    click(window->lstVars(), 199);
    const QRect shown = window->lstVals()->visualRect(window->document()->index(199, 1));
    QVERIFY(window->lstVals()->viewport()->rect().intersects(shown));
    // Scrolling one list by its scroll bar leaves the other where it is.
    const int before = window->lstVals()->verticalScrollBar()->value();
    window->lstVars()->verticalScrollBar()->setValue(0);
    QCOMPARE(window->lstVals()->verticalScrollBar()->value(), before);
}

void TestDocWindow::valueEditor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("changed");
    QTest::newRow("OK with a new value") << 2 << "200" << "OK" << "200" << true;
    QTest::newRow("OK with the same text") << 2 << "100" << "OK" << "100" << false;
    QTest::newRow("OK with letter case changed") << 1 << "ABC" << "OK" << "ABC" << true;
    QTest::newRow("OK with an empty value") << 0 << "" << "OK" << "" << true;
    QTest::newRow("OK keeps blanks and semicolons") << 0 << " a;b " << "OK" << " a;b " << true;
    QTest::newRow("Cancel") << 2 << "200" << "Cancel" << "100" << false;
    QTest::newRow("close box") << 2 << "200" << "close" << "100" << false;
}

void TestDocWindow::valueEditor()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, value);
    QFETCH(bool, changed);
    frmChild *window = openThreeRows();
    ModalDriver<frmInput> editor([&](frmInput *dialog) {
        dialog->txtValue()->setText(typed);
        if (button == "OK")
            dialog->cmdOk()->click();
        else if (button == "Cancel")
            dialog->cmdCancel()->click();
        else
            dialog->close();
    });
    doubleClick(window->lstVals(), row);
    QCOMPARE(editor.appeared(), 1);
    QCOMPARE(window->document()->value(row), value);
    QCOMPARE(DocStates[window->documentNumber()].Changed, changed);
    QCOMPARE(selected(window->lstVals()), row);
}

void TestDocWindow::valueEditorShowsTheRow()
{
    frmChild *window = openThreeRows();
    click(window->lstVars(), 0);
    ModalDriver<frmInput> editor([](frmInput *dialog) {
        QCOMPARE(dialog->windowTitle(), "Change the Value of...");
        QCOMPARE(dialog->lblVarName()->text(), "Name");
        QVERIFY(dialog->lblVarName()->font().bold());
        QCOMPARE(dialog->lblHelp()->text(), Help::VariableHelpText(QStringLiteral("Name")));
        QCOMPARE(dialog->txtValue()->text(), "Big Tank");
        // The dialog gets the focus once the platform has activated it, which may come a little later.
        QTRY_COMPARE(QApplication::focusWidget(), dialog->txtValue());
        QCOMPARE(dialog->parentWidget(), AppFixture::main());
        QVERIFY(!dialog->cmdOk()->isDefault() && !dialog->cmdCancel()->isDefault());
        dialog->cmdCancel()->click();
    });
    doubleClick(window->lstVars(), 0);
    QCOMPARE(editor.appeared(), 1);
}

void TestDocWindow::valueEditorIgnoresEnterAndEscape()
{
    frmChild *window = openThreeRows();
    bool stillOpen = false;
    ModalDriver<frmInput> editor([&](frmInput *dialog) {
        QTest::keyClick(dialog->txtValue(), Qt::Key_Return);
        QTest::keyClick(dialog->txtValue(), Qt::Key_Enter);
        QTest::keyClick(dialog->txtValue(), Qt::Key_Escape);
        stillOpen = dialog->isVisible();
        dialog->cmdCancel()->click();
    });
    doubleClick(window->lstVars(), 1);
    QVERIFY(stillOpen);
}

void TestDocWindow::doubleClickInEmptyDocumentOpensNothing()
{
    frmChild *window = AppFixture::window(1);
    ModalDriver<frmInput> editor([](frmInput *dialog) { dialog->reject(); });
    QTest::mouseDClick(window->lstVals()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(window->lstVars()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(editor.appeared(), 0);
    QVERIFY(!DocStates[1].Changed);
}

void TestDocWindow::deleteEnabledOnlyWithASelection()
{
    frmChild *window = openThreeRows();
    QAction *remove = menuItem(window, "mnuEdit_Delete");
    QMenu *edit = menu(window, "mnuEdit");
    emit edit->aboutToShow();
    QVERIFY(!remove->isEnabled());
    QTest::keyClick(window->lstVars(), Qt::Key_Delete);
    QCOMPARE(window->document()->rowCount(), 3);
    click(window->lstVals(), 1);
    emit edit->aboutToShow();
    QVERIFY(remove->isEnabled());
    remove->trigger();
    emit edit->aboutToShow();
    QVERIFY(!remove->isEnabled());
}

void TestDocWindow::deleteRemovesTheSelectedPair_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("first") << 0 << QStringList{"Side", "BuildTime"};
    QTest::newRow("middle") << 1 << QStringList{"Name", "BuildTime"};
    QTest::newRow("last") << 2 << QStringList{"Name", "Side"};
}

void TestDocWindow::deleteRemovesTheSelectedPair()
{
    QFETCH(int, row);
    QFETCH(QStringList, left);
    frmChild *window = openThreeRows();
    click(window->lstVars(), row);
    const QString help = helpShown();
    menuItem(window, "mnuEdit_Delete")->trigger();
    QCOMPARE(names(window), left);
    QCOMPARE(window->document()->rowCount(), 2);
    QCOMPARE(selected(window->lstVars()), -1);
    QCOMPARE(selected(window->lstVals()), -1);
    QVERIFY(DocStates[window->documentNumber()].Changed);
    QCOMPARE(helpShown(), help);
}

void TestDocWindow::menuBarDesign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, QKeySequence shortcut, bool enabled) {
        QTest::newRow(name) << QString(name) << QString(caption) << shortcut << enabled;
    };
    row("mnuFile_New", "&New", QKeySequence("Ctrl+N"), true);
    row("mnuFile_Open", "&Open...", QKeySequence("Ctrl+O"), true);
    row("mnuFile_Close", "&Close", {}, true);
    row("mnuFile_Save", "&Save", QKeySequence("Ctrl+S"), true);
    row("mnuFile_SaveAs", "Save &As...", {}, true);
    row("mnuFile_Exit", "E&xit", {}, true);
    row("mnuEdit_Undo", "&Undo", QKeySequence("Ctrl+Z"), false);
    row("mnuEdit_Redo", "R&edo", {}, false);
    row("mnuEdit_Cut", "C&ut", QKeySequence("Ctrl+X"), false);
    row("mnuEdit_Copy", "&Copy", QKeySequence("Ctrl+C"), false);
    row("mnuEdit_Paste", "&Paste", QKeySequence("Ctrl+V"), false);
    row("mnuEdit_Delete", "&Delete", QKeySequence("Del"), false);
    row("mnuEdit_All", "Select &All", QKeySequence("Ctrl+A"), false);
    row("mnuEdit_Find", "&Find...", QKeySequence("Ctrl+F"), false);
    row("mnuEdit_Next", "Find &Next", QKeySequence("F4"), false);
    row("mnuEdit_Replace", "&Replace...", QKeySequence("Ctrl+H"), false);
    row("mnuEdit_Options", "O&ptions...", {}, true);
    row("mnuHelp_Help", "Help &Topics...", {}, true);
    row("mnuHelp_About", "&About...", {}, true);
}

void TestDocWindow::menuBarDesign()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    frmChild *window = openThreeRows();
    QAction *item = menuItem(window, name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    for (QMenu *menu : window->menus())
        emit menu->aboutToShow();
    QCOMPARE(item->isEnabled(), enabled);

    QStringList bar;
    for (QAction *top : AppFixture::main()->menuBar()->actions())
        bar.append(top->text());
    QCOMPARE(bar, (QStringList{"&File", "&Edit", "&Window", "&Help"}));
    QStringList windowItems;
    for (QAction *action : menu(window, "mnuWindow")->actions().mid(0, 4))
        windowItems.append(action->text());
    QCOMPARE(windowItems, (QStringList{"&Cascade", "Tile &Horizontal", "Tile &Vertical", "Arrange &Icons"}));
}

void TestDocWindow::windowMenuListsTheOpenWindows()
{
    frmChild *three = openThreeRows();
    ChildForms::NewDocument();
    AppFixture::main()->mdiArea()->setActiveSubWindow(three);
    QMenu *list = menu(three, "mnuWindow");
    emit list->aboutToShow();
    emit list->aboutToShow();
    QStringList items;
    QList<bool> checked;
    for (QAction *action : list->actions().mid(4)) {
        if (action->isSeparator())
            continue;
        items.append(action->text());
        checked.append(action->isChecked());
    }
    QCOMPARE(items, (QStringList{"&1 Default1.fbi", "&2 three.fbi", "&3 Default3.fbi"}));
    QCOMPARE(checked, (QList<bool>{false, true, false}));
    list->actions().last()->trigger();
    QCOMPARE(AppFixture::main()->activeDocumentWindow(), AppFixture::window(3));
}

void TestDocWindow::tileFillsTheDocumentArea_data()
{
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("tile vertical") << int(frmMain::Arrangement::TileVertical) << true;
    QTest::newRow("tile horizontal") << int(frmMain::Arrangement::TileHorizontal) << false;
}

void TestDocWindow::tileFillsTheDocumentArea()
{
    QFETCH(int, arrangement);
    QFETCH(bool, sideBySide);
    ChildForms::NewDocument();
    ChildForms::NewDocument()->showMaximized();
    frmMain *main = AppFixture::main();
    main->arrange(frmMain::Arrangement(arrangement));
    const QRect area = main->mdiArea()->viewport()->rect();
    QRegion covered;
    int total = 0;
    for (frmChild *window : AppFixture::windows()) {
        const QRect place = window->geometry();
        QVERIFY(!window->isMaximized());
        QCOMPARE(sideBySide ? place.height() : place.width(), sideBySide ? area.height() : area.width());
        QVERIFY(!covered.intersects(place));
        covered += place;
        total += place.width() * place.height();
    }
    QCOMPARE(covered, QRegion(area));
    QCOMPARE(total, area.width() * area.height());
}

void TestDocWindow::panelPlace_data()
{
    QTest::addColumn<QSizeF>("scroller");
    QTest::addColumn<QPointF>("place");
    QTest::newRow("design size") << QSizeF(7695, 7095) << QPointF(1107.5, 720);
    QTest::newRow("exactly as wide") << QSizeF(5480, 7095) << QPointF(0, 720);
    QTest::newRow("one twip wider") << QSizeF(5481, 7095) << QPointF(0.5, 720);
    QTest::newRow("narrower, taller") << QSizeF(3000, 8000) << QPointF(0, 1172.5);
    QTest::newRow("smaller both ways") << QSizeF(100, 100) << QPointF(0, 0);
    QTest::newRow("exactly as tall") << QSizeF(9000, 5655) << QPointF(1760, 0);
}

void TestDocWindow::panelPlace()
{
    QFETCH(QSizeF, scroller);
    QFETCH(QPointF, place);
    QCOMPARE(PanelLayout::place(scroller, QSizeF(5480, 5655)), place);
}

void TestDocWindow::layoutFollowsTheWindowState()
{
    frmChild *window = AppFixture::window(1);
    window->showNormal();
    window->resize(700, 600);
    QTest::qWait(0);
    QVERIFY(window->scrBorder()->frameShape() != QFrame::NoFrame);
    const QWidget *canvas = window->scrBorder()->widget();
    const QPoint centred((canvas->width() - window->picChild()->width()) / 2,
                         (canvas->height() - window->picChild()->height()) / 2);
    QVERIFY((window->picChild()->pos() - centred).manhattanLength() <= 2);

    window->resize(200, 150);
    QTest::qWait(0);
    QCOMPARE(window->picChild()->pos(), QPoint(0, 0));
    QVERIFY(window->scrBorder()->verticalScrollBar()->isVisible());

    window->showMaximized();
    QTest::qWait(0);
    QCOMPARE(window->scrBorder()->frameShape(), QFrame::NoFrame);
    const QPoint maximizedPlace = window->picChild()->pos();
    window->showMinimized();
    QTest::qWait(0);
    QCOMPARE(window->picChild()->pos(), maximizedPlace);
    QCOMPARE(window->scrBorder()->frameShape(), QFrame::NoFrame);
    window->showNormal();
    QTest::qWait(0);
    QVERIFY(window->scrBorder()->frameShape() != QFrame::NoFrame);
}

void TestDocWindow::savePrompt_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");       // the Save As answer, when it is asked
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    const int none = int(QMessageBox::NoButton);
    QTest::newRow("unchanged") << false << true << none << "" << true << false;
    QTest::newRow("changed, No") << true << true << int(QMessageBox::No) << "" << true << false;
    QTest::newRow("changed, Yes, with a file") << true << true << int(QMessageBox::Yes) << "" << true << true;
    QTest::newRow("changed, Yes, Save As") << true << false << int(QMessageBox::Yes) << "new.fbi" << true << true;
    QTest::newRow("changed, Yes, Save As cancelled") << true << false << int(QMessageBox::Yes) << "-" << false << false;
    QTest::newRow("changed, Yes, save fails") << true << false << int(QMessageBox::Yes) << "no folder/x.fbi" << false << false;
}

void TestDocWindow::savePrompt()
{
    QFETCH(bool, changed);
    QFETCH(bool, hasFile);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    frmChild *window = hasFile ? openThreeRows() : AppFixture::window(1);
    const int number = window->documentNumber();
    const QString caption = window->windowTitle();
    if (changed)
        window->appendVariable("Added", "1");
    if (answer != QMessageBox::NoButton)
        m_app->dialogs.answerMessage(QMessageBox::StandardButton(answer));
    if (!saveAs.isEmpty())
        m_app->dialogs.answerFile(saveAs == "-" ? std::nullopt : std::optional<QString>(m_app->path(saveAs)));
    if (saveAs.startsWith("no folder"))
        m_app->dialogs.answerMessage(QMessageBox::Ok);

    QCOMPARE(window->close(), closes);
    const QList<MessageBoxRequest> shown = m_app->dialogs.messages();
    if (changed) {
        const MessageBoxRequest prompt{"The data in " + caption
                                           + " has changed.\r\nDo you wish to save before closing the file?",
                                       "Save before Closing", QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                                       QMessageBox::Information};
        QCOMPARE(shown.constFirst(), prompt);
    } else {
        QVERIFY(shown.isEmpty());
    }
    QCOMPARE(DocStates[number].Closed, closes);
    QCOMPARE(DocStates[number].Changed, changed && !saved);
    const QString file = hasFile ? "three.fbi" : saveAs;
    if (saved)
        QVERIFY(m_app->readFile(file).contains("\tAdded=1;\r\n"));
    else if (hasFile)
        QCOMPARE(m_app->readFile(file), ThreeRows);
}

QTEST_MAIN(TestDocWindow)
#include "tst_docwindow.moc"
