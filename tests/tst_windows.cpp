#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "help/VariableHelp.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/VariablePanel.h"
#include "support/Fixture.h"
#include "support/ModalDriver.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";

// The toolbar's Save and Delete and the panel's three buttons.
QList<bool> documentCommands(MainWindow &main)
{
    const VariablePanel *panel = main.variablePanel();
    return {main.toolbarButton(3)->isEnabled(), main.toolbarButton(8)->isEnabled(), panel->cmdAdd()->isEnabled(),
            panel->cmdRemove()->isEnabled(), panel->cmdChange()->isEnabled()};
}

// Which window each "Save before Closing" question was about.
QStringList askedAbout(const ScriptedDialogs &dialogs)
{
    QStringList titles;
    for (const MessageBoxRequest &message : dialogs.messages)
        titles.append(message.text.section(' ', 3, 3));
    return titles;
}
}

class TestWindows : public FixtureTestCase
{
    Q_OBJECT

private slots:
    void documentCommandsFollowTheDocuments();
    void eachWindowClosesItsOwnDocument();
    void closingTheMainWindow_data();
    void closingTheMainWindow();
    void editCommands_data();
    void editCommands();
    void changeValue_data();
    void changeValue();
    void valueEditorKeepsOutWhatEndsAValue_data();
    void valueEditorKeepsOutWhatEndsAValue();
    void listsKeepTheSameRow();
    void tilesFillTheDocumentArea_data();
    void tilesFillTheDocumentArea();
};

void TestWindows::documentCommandsFollowTheDocuments()
{
    MainWindow &main = f->main();
    const QList<bool> on(5, true);
    const QList<bool> off(5, false);
    QCOMPARE(documentCommands(main), off);
    Document *first = f->commands.newDocument();
    QCOMPARE(documentCommands(main), on);
    Document *second = f->open("tank.fbi", Tank);
    f->window(first)->close();
    QCOMPARE(documentCommands(main), on);
    f->window(second)->close();
    QCOMPARE(documentCommands(main), off);
    // A file that cannot be read still leaves a document.
    f->dialogs.answerMessage(QMessageBox::Ok);
    f->commands.openFile(f->files.filePath("missing.fbi"));
    QCOMPARE(documentCommands(main), on);
}

void TestWindows::eachWindowClosesItsOwnDocument()
{
    MainWindow &main = f->main();
    Document *a = f->open("a.fbi", Tank);
    Document *b = f->commands.newDocument();
    Document *c = f->commands.newDocument();
    a->setValue(0, "Changed");
    c->appendRow("Name", "New");
    QCOMPARE(main.activeDocumentWindow(), f->window(c));
    f->dialogs.answerMessage(QMessageBox::Yes);
    QVERIFY(f->window(a)->close());
    QCOMPARE(askedAbout(f->dialogs), QStringList{"a.fbi"});
    QVERIFY(f->files.read("a.fbi").contains("Name=Changed;"));
    QCOMPARE(f->documents.documents(), (QList<Document *>{b, c}));

    f->dialogs.answerMessage(QMessageBox::No);
    QVERIFY(main.close());
    QCOMPARE(askedAbout(f->dialogs), (QStringList{"a.fbi", "Default3.fbi"}));
    QVERIFY(f->documents.isEmpty());
}

void TestWindows::closingTheMainWindow_data()
{
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<int>("answer");       // to "Save before Closing"; none: the document is unchanged
    QTest::addColumn<QString>("saveAs");   // the Save As dialog's answer, when it is asked; "-" cancels it
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("unchanged: no question") << true << int(QMessageBox::NoButton) << "" << true << false;
    QTest::newRow("No discards") << true << int(QMessageBox::No) << "" << true << false;
    QTest::newRow("Yes saves to its file") << true << int(QMessageBox::Yes) << "" << true << true;
    QTest::newRow("Yes, Save As") << false << int(QMessageBox::Yes) << "new.fbi" << true << true;
    QTest::newRow("Yes, Save As cancelled: the program keeps running")
        << false << int(QMessageBox::Yes) << "-" << false << false;
    QTest::newRow("Yes, the save fails: the window stays")
        << false << int(QMessageBox::Yes) << "no folder/new.fbi" << false << false;
    QTest::newRow("Escape or the close box: the window stays")
        << true << int(QMessageBox::Cancel) << "" << false << false;
}

void TestWindows::closingTheMainWindow()
{
    QFETCH(bool, hasFile);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    MainWindow &main = f->main();
    Document *document = hasFile ? f->open("tank.fbi", Tank) : f->commands.newDocument();
    if (answer != QMessageBox::NoButton) {
        document->appendRow("Extra", "1");
        f->dialogs.answerMessage(QMessageBox::StandardButton(answer));
    }
    if (!saveAs.isEmpty())
        f->dialogs.answerFile(saveAs == "-" ? QString() : f->files.filePath(saveAs));
    if (saveAs.startsWith("no folder"))
        f->dialogs.answerMessage(QMessageBox::Ok);

    QCOMPARE(main.close(), closes);
    QCOMPARE(main.isVisible(), !closes);
    QCOMPARE(Fixture::programRunning(), !closes);
    QCOMPARE(f->documents.documents().size(), closes ? 0 : 1);
    if (!closes)
        QVERIFY(document->isModified() && Fixture::rows(document).contains("Extra=1"));
    QCOMPARE(f->files.read(hasFile ? "tank.fbi" : saveAs).contains("Extra=1;"), saved);
    QCOMPARE(f->dialogs.messages.isEmpty(), answer == QMessageBox::NoButton);
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
    // Removing with nothing selected marks the document changed; Edit, Delete is not offered then.
    QTest::newRow("Remove Variable, nothing selected") << "Remove Variable" << -1 << both << true;
    QTest::newRow("toolbar Delete, nothing selected") << "toolbar Delete" << -1 << both << true;
    QTest::newRow("Edit Delete, nothing selected") << "Edit Delete" << -1 << both << false;
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
    DocumentWindow *window = f->window(document);
    if (selected >= 0)
        window->selectRow(selected);
    if (command == "Add Variable") {
        panel->lstAdd()->setCurrentRow(0);
        panel->cmdAdd()->click();
    } else if (command == "Remove Variable") {
        panel->cmdRemove()->click();
    } else if (command == "toolbar Delete") {
        Fixture::clickToolbar(main, 8);
    } else {
        auto *remove = window->findChild<QAction *>("mnuEdit_Delete");
        QCOMPARE(remove->isEnabled(), selected >= 0);
        remove->trigger();
    }
    QCOMPARE(Fixture::rows(document), rows);
    QCOMPARE(document->isModified(), modified);
    QCOMPARE(window->selectedRow(), command == "Add Variable" ? selected : -1);
}

void TestWindows::changeValue_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("modified");
    QTest::newRow("Change Value, a new value") << "Change Value" << 1 << "CORE" << "OK" << "CORE" << true;
    QTest::newRow("double-click on the name, only the letter case") << "names" << 1 << "arm" << "OK" << "arm" << true;
    QTest::newRow("double-click on the value, the same value") << "values" << 1 << "ARM" << "OK" << "ARM" << false;
    QTest::newRow("Change Value, Cancel") << "Change Value" << 1 << "CORE" << "Cancel" << "ARM" << false;
    QTest::newRow("double-click, the close box") << "values" << 1 << "CORE" << "close" << "ARM" << false;
    QTest::newRow("Change Value, nothing selected") << "Change Value" << -1 << "" << "" << "ARM" << false;
}

// The value editor shows the row's name and value and the help the panel shows.
void TestWindows::changeValue()
{
    QFETCH(QString, from);
    QFETCH(int, selected);
    QFETCH(QString, typed);
    QFETCH(QString, ending);
    QFETCH(QString, value);
    QFETCH(bool, modified);
    MainWindow &main = f->main();
    VariablePanel *panel = main.variablePanel();
    main.setKnownVariables({"Acceleration"});
    Document *document = f->open("tank.fbi", Tank);
    DocumentWindow *window = f->window(document);
    ModalDriver<ValueEditor> editor([&](ValueEditor *dialog) {
        QCOMPARE(dialog->lblVarName()->text(), "Side");
        QCOMPARE(dialog->txtValue()->text(), "ARM");
        QCOMPARE(dialog->lblHelp()->text(), panel->helpText());
        dialog->txtValue()->setText(typed);
        if (ending == "close")
            dialog->close();
        else
            (ending == "OK" ? dialog->cmdOk() : dialog->cmdCancel())->click();
    });
    if (from == "Change Value") {
        if (selected >= 0)
            window->selectRow(selected);
        // The panel now shows the help of a known variable, not of the row's name.
        panel->lstAdd()->setCurrentRow(0);
        panel->cmdChange()->click();
    } else {
        Fixture::click(from == "names" ? window->lstVars() : window->lstVals(), selected, true);
    }
    QCOMPARE(editor.appeared(), selected >= 0 ? 1 : 0);
    QCOMPARE(document->value(1), value);
    QCOMPARE(document->isModified(), modified);
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
}

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
    if (typed.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(editor.txtValue(), Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(editor.txtValue(), typed);
    }
    QCOMPARE(editor.value(), value);
    QCOMPARE(!editor.lblNote()->text().isEmpty(), note);
}

void TestWindows::listsKeepTheSameRow()
{
    f->main();
    Document *document = f->open("tank.fbi", "{\r\nName=Tank;\r\nSide=ARM;\r\nBuildTime=100;\r\n}\r\n");
    DocumentWindow *window = f->window(document);
    Fixture::click(window->lstVals(), 2);
    QCOMPARE(Fixture::selectedRow(window->lstVars()), 2);
    QTest::keyClick(window->lstVars(), Qt::Key_Up);
    QCOMPARE(Fixture::selectedRow(window->lstVals()), 1);
    QCOMPARE(f->main().variablePanel()->helpText(), Help::VariableHelpText(u"Side"));
}

void TestWindows::tilesFillTheDocumentArea_data()
{
    QTest::addColumn<MainWindow::Arrangement>("arrangement");
    QTest::newRow("tile vertical") << MainWindow::Arrangement::TileVertical;
    QTest::newRow("tile horizontal") << MainWindow::Arrangement::TileHorizontal;
}

// Three windows, one of them maximized, become three strips that cover the document area exactly.
void TestWindows::tilesFillTheDocumentArea()
{
    QFETCH(MainWindow::Arrangement, arrangement);
    MainWindow &main = f->main();
    for (int count = 0; count < 3; ++count)
        f->commands.newDocument();
    main.activeDocumentWindow()->showMaximized();
    main.arrange(arrangement);
    const QRect area = main.mdiArea()->viewport()->rect();
    const bool sideBySide = arrangement == MainWindow::Arrangement::TileVertical;
    QRegion covered;
    for (DocumentWindow *window : main.documentWindows()) {
        const QRect place = window->geometry();
        QVERIFY(!window->isMaximized());
        QCOMPARE(sideBySide ? place.height() : place.width(), sideBySide ? area.height() : area.width());
        QVERIFY(!covered.intersects(place));
        covered += place;
    }
    QCOMPARE(covered, QRegion(area));
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
