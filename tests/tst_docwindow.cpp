#include "docwindow/PanelLayout.h"
#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "help/VariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"
#include "app/Globals.h"
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
using App = AppFixture;

namespace {
const QByteArray ThreeRows = "[UNITINFO]\r\n{\r\n\tName=Big Tank;\r\n\tSide=abc;\r\n\tBuildTime=100;\r\n}\r\n";

QString helpShown()
{
    return App::main()->variablePanel()->lblHelp()->text();
}

// Both lists are on this row, and the help label shows the help of its name.
void verifySelected(DocumentWindow *window, int row)
{
    QCOMPARE(App::selectedRow(window->lstVars()), row);
    QCOMPARE(App::selectedRow(window->lstVals()), row);
    QCOMPARE(helpShown(), Help::VariableHelpText(window->document()->name(row)));
}
}

class TestDocWindow : public AppTestCase
{
    Q_OBJECT

private slots:
    void selectionFollowsEitherList();
    void selectingScrollsTheOtherList();
    void valueEditor_data();
    void valueEditor();
    void valueEditorShowsTheRowAndIgnoresEnterAndEscape();
    void doubleClickInEmptyDocumentOpensNothing();
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
    DocumentWindow *openThreeRows()
    {
        FileCommands::OpenDocument(m_app->writeFile("three.fbi", ThreeRows));
        return App::main()->activeDocumentWindow();
    }
};

void TestDocWindow::selectionFollowsEitherList()
{
    DocumentWindow *window = openThreeRows();
    App::clickRow(window->lstVals(), 2);
    verifySelected(window, 2);
    App::clickRow(window->lstVars(), 1);
    verifySelected(window, 1);
    // The keyboard moves both lists, from either of them.
    const QList<std::tuple<QListView *, Qt::Key, int>> keys{
        {window->lstVals(), Qt::Key_Down, 2}, {window->lstVars(), Qt::Key_Home, 0},
        {window->lstVals(), Qt::Key_End, 2}, {window->lstVars(), Qt::Key_PageUp, 0}};
    for (const auto &[list, key, row] : keys) {
        QTest::keyClick(list, key);
        verifySelected(window, row);
    }
    QTest::keyClicks(window->lstVars(), "Bu");
    verifySelected(window, 2);
}

void TestDocWindow::selectingScrollsTheOtherList()
{
    DocumentWindow *window = App::window(1);
    for (int row = 0; row < 200; ++row)
        window->document()->appendRow(QStringLiteral("Row%1").arg(row), QString::number(row));
    window->lstVars()->scrollToBottom();
    App::clickRow(window->lstVars(), 199);
    QVERIFY(window->lstVals()->viewport()->rect().intersects(
        window->lstVals()->visualRect(window->document()->index(199, 1))));
    // Scrolling one list by its scroll bar leaves the other where it is.
    const int before = window->lstVals()->verticalScrollBar()->value();
    window->lstVars()->verticalScrollBar()->setValue(0);
    QCOMPARE(window->lstVals()->verticalScrollBar()->value(), before);
}

void TestDocWindow::valueEditor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ending");
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
    QFETCH(QString, ending);
    QFETCH(QString, value);
    QFETCH(bool, changed);
    DocumentWindow *window = openThreeRows();
    ModalDriver<ValueEditor> editor([&](ValueEditor *dialog) {
        dialog->txtValue()->setText(typed);
        if (ending == "close")
            dialog->close();
        else
            (ending == "OK" ? dialog->cmdOk() : dialog->cmdCancel())->click();
    });
    App::doubleClickRow(window->lstVals(), row);
    QCOMPARE(editor.appeared(), 1);
    QCOMPARE(window->document()->value(row), value);
    QCOMPARE(DocStates[window->documentNumber()].Changed, changed);
    QCOMPARE(App::selectedRow(window->lstVals()), row);
}

void TestDocWindow::valueEditorShowsTheRowAndIgnoresEnterAndEscape()
{
    DocumentWindow *window = openThreeRows();
    bool stillOpen = false;
    ModalDriver<ValueEditor> editor([&](ValueEditor *dialog) {
        QCOMPARE(dialog->windowTitle(), "Change the Value of...");
        QCOMPARE(dialog->lblVarName()->text(), "Name");
        QVERIFY(dialog->lblVarName()->font().bold());
        QCOMPARE(dialog->lblHelp()->text(), Help::VariableHelpText(QStringLiteral("Name")));
        QCOMPARE(dialog->txtValue()->text(), "Big Tank");
        QTRY_COMPARE(QApplication::focusWidget(), dialog->txtValue());
        QCOMPARE(dialog->parentWidget(), App::main());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(dialog->txtValue(), key);
        stillOpen = dialog->isVisible();
        dialog->cmdCancel()->click();
    });
    App::doubleClickRow(window->lstVars(), 0);
    QCOMPARE(editor.appeared(), 1);
    QVERIFY(stillOpen);
}

void TestDocWindow::doubleClickInEmptyDocumentOpensNothing()
{
    DocumentWindow *window = App::window(1);
    ModalDriver<ValueEditor> editor([](ValueEditor *dialog) { dialog->reject(); });
    for (QListView *list : {window->lstVals(), window->lstVars()})
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(editor.appeared(), 0);
    QVERIFY(!DocStates[1].Changed);
}

void TestDocWindow::deleteRemovesTheSelectedPair_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("first") << 0 << QStringList{"Side=abc", "BuildTime=100"};
    QTest::newRow("middle") << 1 << QStringList{"Name=Big Tank", "BuildTime=100"};
    QTest::newRow("last") << 2 << QStringList{"Name=Big Tank", "Side=abc"};
}

// Delete is offered only while a row is selected, removes that pair, and leaves no selection.
void TestDocWindow::deleteRemovesTheSelectedPair()
{
    QFETCH(int, row);
    QFETCH(QStringList, left);
    DocumentWindow *window = openThreeRows();
    QAction *remove = App::menuItem(window->menus(), "mnuEdit_Delete");
    QMenu *edit = window->menus().at(1);
    emit edit->aboutToShow();
    QVERIFY(!remove->isEnabled());
    QTest::keyClick(window->lstVars(), Qt::Key_Delete);
    QCOMPARE(window->document()->rowCount(), 3);

    App::clickRow(window->lstVars(), row);
    const QString help = helpShown();
    emit edit->aboutToShow();
    QVERIFY(remove->isEnabled());
    remove->trigger();
    QCOMPARE(App::rows(window), left);
    QCOMPARE(App::selectedRow(window->lstVars()), -1);
    QCOMPARE(App::selectedRow(window->lstVals()), -1);
    QVERIFY(DocStates[window->documentNumber()].Changed);
    QCOMPARE(helpShown(), help);
    emit edit->aboutToShow();
    QVERIFY(!remove->isEnabled());
}

void TestDocWindow::menuBarDesign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabled");
    const char *items[][4] = {
        {"mnuFile_New", "&New", "Ctrl+N", "1"},         {"mnuFile_Open", "&Open...", "Ctrl+O", "1"},
        {"mnuFile_Close", "&Close", "", "1"},           {"mnuFile_Save", "&Save", "Ctrl+S", "1"},
        {"mnuFile_SaveAs", "Save &As...", "", "1"},     {"mnuFile_Exit", "E&xit", "", "1"},
        {"mnuEdit_Undo", "&Undo", "Ctrl+Z", ""},        {"mnuEdit_Redo", "R&edo", "", ""},
        {"mnuEdit_Cut", "C&ut", "Ctrl+X", ""},          {"mnuEdit_Copy", "&Copy", "Ctrl+C", ""},
        {"mnuEdit_Paste", "&Paste", "Ctrl+V", ""},      {"mnuEdit_Delete", "&Delete", "Del", ""},
        {"mnuEdit_All", "Select &All", "Ctrl+A", ""},   {"mnuEdit_Find", "&Find...", "Ctrl+F", ""},
        {"mnuEdit_Next", "Find &Next", "F4", ""},       {"mnuEdit_Replace", "&Replace...", "Ctrl+H", ""},
        {"mnuEdit_Options", "O&ptions...", "", "1"},    {"mnuHelp_Help", "Help &Topics...", "", "1"},
        {"mnuHelp_About", "&About...", "", "1"},
    };
    for (const auto &item : items)
        QTest::newRow(item[0]) << QString(item[0]) << QString(item[1]) << QString(item[2]) << (*item[3] != 0);
}

void TestDocWindow::menuBarDesign()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabled);
    DocumentWindow *window = openThreeRows();
    for (QMenu *menu : window->menus())
        emit menu->aboutToShow();
    QAction *item = App::menuItem(window->menus(), name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
    QCOMPARE(item->isEnabled(), enabled);

    QStringList bar;
    for (QAction *top : App::main()->menuBar()->actions())
        bar.append(top->text());
    QCOMPARE(bar, (QStringList{"&File", "&Edit", "&Window", "&Help"}));
}

void TestDocWindow::windowMenuListsTheOpenWindows()
{
    DocumentWindow *three = openThreeRows();
    FileCommands::NewDocument();
    App::main()->mdiArea()->setActiveSubWindow(three);
    QMenu *list = three->menus().at(2);
    emit list->aboutToShow();
    emit list->aboutToShow();
    QStringList items;
    for (QAction *action : list->actions()) {
        if (!action->isSeparator())
            items.append(action->text() + (action->isChecked() ? " *" : ""));
    }
    QCOMPARE(items, (QStringList{"&Cascade", "Tile &Horizontal", "Tile &Vertical", "Arrange &Icons", "&1 Default1.fbi",
                                 "&2 three.fbi *", "&3 Default3.fbi"}));
    list->actions().last()->trigger();
    QCOMPARE(App::main()->activeDocumentWindow(), App::window(3));
}

void TestDocWindow::tileFillsTheDocumentArea_data()
{
    QTest::addColumn<int>("arrangement");
    QTest::newRow("tile vertical") << int(MainWindow::Arrangement::TileVertical);
    QTest::newRow("tile horizontal") << int(MainWindow::Arrangement::TileHorizontal);
}

// Three windows, one of them maximized, become three strips that cover the document area exactly.
void TestDocWindow::tileFillsTheDocumentArea()
{
    QFETCH(int, arrangement);
    const bool sideBySide = arrangement == int(MainWindow::Arrangement::TileVertical);
    FileCommands::NewDocument();
    FileCommands::NewDocument()->showMaximized();
    App::main()->arrange(MainWindow::Arrangement(arrangement));
    const QRect area = App::main()->mdiArea()->viewport()->rect();
    QRegion covered;
    for (DocumentWindow *window : App::windows()) {
        const QRect place = window->geometry();
        QVERIFY(!window->isMaximized());
        QCOMPARE(sideBySide ? place.height() : place.width(), sideBySide ? area.height() : area.width());
        QVERIFY(!covered.intersects(place));
        covered += place;
    }
    QCOMPARE(covered, QRegion(area));
}

void TestDocWindow::panelPlace_data()
{
    QTest::addColumn<QSizeF>("scroller");
    QTest::addColumn<QPointF>("place");
    QTest::newRow("design size") << QSizeF(7695, 7095) << QPointF(1107.5, 720);
    QTest::newRow("exactly as wide") << QSizeF(5480, 7095) << QPointF(0, 720);
    QTest::newRow("one twip wider") << QSizeF(5481, 7095) << QPointF(0.5, 720);
    QTest::newRow("narrower, taller") << QSizeF(3000, 8000) << QPointF(0, 1172.5);
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
    DocumentWindow *window = App::window(1);
    const QWidget *canvas = window->scrBorder()->widget();
    window->showNormal();
    window->resize(700, 600);
    QTest::qWait(0);
    QVERIFY(window->scrBorder()->frameShape() != QFrame::NoFrame);
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
    const QPoint maximized = window->picChild()->pos();
    window->showMinimized();
    QTest::qWait(0);
    QCOMPARE(window->picChild()->pos(), maximized);
    window->showNormal();
    QTest::qWait(0);
    QVERIFY(window->scrBorder()->frameShape() != QFrame::NoFrame);
}

void TestDocWindow::savePrompt_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");   // the Save As answer, when it is asked; "-" cancels it
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    const int none = int(QMessageBox::NoButton);
    const int yes = int(QMessageBox::Yes);
    QTest::newRow("unchanged") << false << true << none << "" << true << false;
    QTest::newRow("changed, No") << true << true << int(QMessageBox::No) << "" << true << false;
    QTest::newRow("changed, Yes, with a file") << true << true << yes << "" << true << true;
    QTest::newRow("changed, Yes, Save As") << true << false << yes << "new.fbi" << true << true;
    QTest::newRow("changed, Yes, Save As cancelled") << true << false << yes << "-" << false << false;
    QTest::newRow("changed, Yes, save fails") << true << false << yes << "no folder/x.fbi" << false << false;
}

// Unsaved changes are never lost: a Yes whose save does not happen keeps the window open.
void TestDocWindow::savePrompt()
{
    QFETCH(bool, changed);
    QFETCH(bool, hasFile);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    DocumentWindow *window = hasFile ? openThreeRows() : App::window(1);
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
    const MessageBoxRequest prompt{"The data in " + caption + " has changed.\r\nDo you wish to save before closing the file?",
                                   "Save before Closing", QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                                   QMessageBox::Information};
    QCOMPARE(m_app->dialogs.messages().mid(0, 1), changed ? QList<MessageBoxRequest>{prompt} : QList<MessageBoxRequest>{});
    QCOMPARE(DocStates[number].Closed, closes);
    QCOMPARE(DocStates[number].Changed, changed && !saved);
    if (saved)
        QVERIFY(m_app->readFile(hasFile ? "three.fbi" : saveAs).contains("\tAdded=1;\r\n"));
    else if (hasFile)
        QCOMPARE(m_app->readFile("three.fbi"), ThreeRows);
}

QTEST_MAIN(TestDocWindow)
#include "tst_docwindow.moc"
