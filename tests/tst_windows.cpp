#include "dialogs/AboutBox.h"
#include "dialogs/OptionsDialog.h"
#include "docwindow/ReplaceDialog.h"
#include "docwindow/RowDelegate.h"
#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "help/VariableHelp.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/VariablePanel.h"
#include "mod/Mod.h"
#include "mod/ModTable.h"
#include "modwindow/ModTableWindow.h"
#include "support/Fixture.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";
using Writes = QList<QPair<QString, QString>>;

// Save, Delete (a window opens on its first row) and the panel's three buttons.
// The texts of a menu's items, or of the controls of a window that Alt and a letter reach.
QStringList menuTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts.append(action->text());
    return texts;
}

QStringList controlTexts(const QWidget *window)
{
    QStringList texts;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(window))
            texts.append(button->text());
    }
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->buddy() && label->isVisibleTo(window))
            texts.append(label->text());
    }
    return texts;
}

// The letters that more than one of the texts marks with "&", each with those texts.
QStringList sharedMnemonics(const QStringList &texts)
{
    QMultiMap<QChar, QString> byLetter;
    for (const QString &text : texts) {
        for (qsizetype at = text.indexOf('&'); at >= 0 && at + 1 < text.size(); at = text.indexOf('&', at + 2)) {
            if (text[at + 1] != '&') {
                byLetter.insert(text[at + 1].toLower(), text);
                break;
            }
        }
    }
    QStringList shared;
    for (const QChar letter : byLetter.uniqueKeys()) {
        if (byLetter.count(letter) > 1)
            shared.append(QString(letter) + ": " + QStringList(byLetter.values(letter)).join(", "));
    }
    return shared;
}

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
    void tilesShowTheirControlsWhole_data();
    void tilesShowTheirControlsWhole();
    void optionsTakeEffectAtOnce_data();
    void optionsTakeEffectAtOnce();
    void typedFolderIsChecked_data();
    void typedFolderIsChecked();
    void aboutBoxOpensTheSite();
    void saveAsStartsWithTheDocumentsOwnFile_data();
    void saveAsStartsWithTheDocumentsOwnFile();
    void replacingAnotherFileAsks_data();
    void replacingAnotherFileAsks();
    void closingKeepsAFileChangedOnDisk();
    void longTitlesKeepTheirEndAndMark_data();
    void longTitlesKeepTheirEndAndMark();
    void newWindowsStepDownFromTheLast();
    void rowsShowWhatTheEnginesUse_data();
    void rowsShowWhatTheEnginesUse();
    void mnemonicsAreUnique_data();
    void mnemonicsAreUnique();
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
    // An added row is selected, in view; a removal leaves no selection, and the help says so.
    QCOMPARE(window->selectedRow(), command == "Add Variable" ? 2 : -1);
    if (modified)
        QCOMPARE(panel->helpText(), command == "Add Variable" ? Help::variableHelpText(u"BuildTime") : "Nothing Selected.");
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
    main.resize(1100, 900);
    for (int count = 0; count < 3; ++count)
        f->commands.newDocument();
    for (const auto arrangement : {WindowArrangement::Arrangement::TileVertical, WindowArrangement::Arrangement::TileHorizontal}) {
        main.activeDocumentWindow()->showMaximized();
        main.arrange(arrangement);
        // Measured now: the Windows style shows a maximized window's buttons in the menu bar, which
        // changes the bar's height and with it the document area.
        const QRect area = main.mdiArea()->viewport()->rect();
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

void TestWindows::tilesShowTheirControlsWhole_data()
{
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<QSize>("mainSize");
    QTest::newRow("side by side") << int(WindowArrangement::Arrangement::TileVertical) << QSize(900, 700);
    QTest::newRow("one above the other") << int(WindowArrangement::Arrangement::TileHorizontal) << QSize(900, 700);
    QTest::newRow("side by side, narrow") << int(WindowArrangement::Arrangement::TileVertical) << QSize(500, 500);
}

// Tiled, a unit window shows its lists with no scroll bar around them, and a table keeps the labels
// of its buttons whole; windows that do not fit so are cascaded over the tiles.
void TestWindows::tilesShowTheirControlsWhole()
{
    QFETCH(int, arrangement);
    QFETCH(QSize, mainSize);
    MainWindow &main = f->main();
    main.resize(mainSize);
    main.show();
    QDir(f->files.path()).mkpath("mod/units");
    f->files.write("mod/units/tank.fbi", Tank);
    ModTableWindow *table = main.openFolder(f->files.filePath("mod"));
    QTRY_VERIFY(!table->mod()->isLoading());
    f->open("tank.fbi", Tank);
    f->commands.newDocument();
    main.arrange(WindowArrangement::Arrangement(arrangement));
    QTest::qWait(20);
    for (DocumentWindow *window : main.documentWindows()) {
        const auto *outer = window->findChild<QScrollArea *>("scrBorder");
        QVERIFY(!outer->horizontalScrollBar()->isVisible() && !outer->verticalScrollBar()->isVisible());
    }
    for (const QAbstractButton *button : table->findChildren<QToolButton *>()) {
        if (button->isVisible())
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
    }
    // The main window can be made small, but its document area keeps room for each window whole.
    main.resize(100, 100);
    QTest::qWait(20);
    for (const QMdiSubWindow *window : main.mdiArea()->subWindowList()) {
        QVERIFY(main.mdiArea()->viewport()->width() >= window->minimumSizeHint().width());
        QVERIFY(main.mdiArea()->viewport()->height() >= window->minimumSizeHint().height());
    }
}

void TestWindows::optionsTakeEffectAtOnce_data()
{
    QTest::addColumn<bool>("associate");
    QTest::addColumn<QString>("failure");   // the registry's reason, when the association fails
    QTest::addColumn<QString>("ending");
    QTest::addColumn<Writes>("writes");     // Known and Units stand for the chosen file and folder
    const Writes chosen{{"VariableDir", "Known"}, {"ProjectDir", "Units"}, {"KeepLayout", "1"}};
    QTest::newRow("OK") << false << QString() << "OK" << chosen;
    QTest::newRow("OK after Associate") << true << QString() << "OK" << chosen + Writes{{"Associated", "1"}};
    QTest::newRow("the association fails: not recorded, Associate stays usable")
        << true << "Access is denied." << "OK" << chosen;
    QTest::newRow("Cancel drops everything") << true << QString() << "Cancel" << Writes{};
    QTest::newRow("the close box drops everything") << true << QString() << "close" << Writes{};
}

// The dialog changes nothing before OK; from OK on, the running program uses and keeps the new
// options, and the files are associated once the association worked.
void TestWindows::optionsTakeEffectAtOnce()
{
    QFETCH(bool, associate);
    QFETCH(QString, failure);
    QFETCH(QString, ending);
    QFETCH(Writes, writes);
    const QString known = QDir::toNativeSeparators(f->files.write("Known.dat", "KvOwnKey\r\n"));
    QVERIFY(QDir(f->files.path()).mkdir("units"));
    const QString units = QDir::toNativeSeparators(f->files.filePath("units"));
    for (auto &[key, value] : writes)
        value = value == "Known" ? known : value == "Units" ? units + QDir::separator() : value;
    f->store.values = {{"FirstRun", "1"}, {"VariableDir", f->files.write("Variables.dat", "Acceleration\r\n")},
                       {"ProjectDir", f->files.path()}};
    MainWindow &main = *f->start().mainWindow();
    f->registry.failure = failure;
    f->dialogs.paths << known << units;
#if defined(Q_OS_WIN)
    const bool restartAsked = true; // after an association that worked
#else
    const bool restartAsked = false;
#endif
    if (ending == "OK" && associate && (!failure.isEmpty() || restartAsked))
        f->dialogs.buttons << QMessageBox::Ok;
    bool cleanUntilOk = false;
    f->onNextModal<OptionsDialog>([&](OptionsDialog *dialog) {
        dialog->cmdVarBrowse()->click();
        dialog->cmdBrowse()->click();
        if (associate)
            dialog->cmdAssociate()->click();
        cleanUntilOk = f->store.writes.isEmpty() && f->registry.registered.isEmpty();
        if (ending == "close")
            dialog->close();
        else
            (ending == "OK" ? dialog->cmdOk() : dialog->cmdCancel())->click();
    });
    emit main.optionsRequested();
    QVERIFY(f->modalsShown == 1 && cleanUntilOk);
    QCOMPARE(f->store.writes, writes);
    const bool associated = writes.contains({"Associated", "1"});
    QCOMPARE(f->registry.registered.size(), associated ? 1 : 0);
    QCOMPARE(f->app->options().projectFolder, ending == "OK" ? units + QDir::separator() : f->files.path());
    QCOMPARE(main.variablePanel()->lstAdd()->findItems("KvOwnKey", Qt::MatchExactly).size(), ending == "OK" ? 1 : 0);
    bool associateOffered = false;
    f->onNextModal<OptionsDialog>([&](OptionsDialog *dialog) { associateOffered = dialog->cmdAssociate()->isEnabled(); });
    emit main.optionsRequested();
    QCOMPARE(associateOffered, !associated);
}

void TestWindows::typedFolderIsChecked_data()
{
    QTest::addColumn<QString>("typed");     // <folder> is the test's own folder
    QTest::addColumn<QString>("kept");      // the project folder written; null: the dialog stays open
    QTest::newRow("an existing folder") << "<folder>/units" << "<folder>/units/";
    QTest::newRow("pasted with blanks around it") << "  <folder>/units/ " << "<folder>/units/";
    QTest::newRow("a folder that is not there") << "<folder>/nowhere" << QString();
    QTest::newRow("a file, not a folder") << "<folder>/units/tank.fbi" << QString();
    QTest::newRow("emptied: the dialogs start at home") << "" << "";
    QTest::newRow("left as it was, though gone since") << "/old/units/" << "/old/units/";
}

void TestWindows::typedFolderIsChecked()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QDir(f->files.path()).mkpath("units");
    f->files.write("units/tank.fbi", Tank);
    const Options current{"/old/Variables.dat", "/old/units/", true, true};
    OptionsDialog dialog(current, f->dialogs, nullptr);
    // Greyed, Associate says why.
    QVERIFY(!dialog.cmdAssociate()->isEnabled() && !dialog.cmdAssociate()->toolTip().isEmpty());
    dialog.txtSaveDir()->setText(typed.replace("<folder>", f->files.path()));
    if (kept.isNull())
        f->dialogs.buttons << QMessageBox::Ok;
    dialog.cmdOk()->click();
    QCOMPARE(dialog.result(), kept.isNull() ? QDialog::Rejected : QDialog::Accepted);
    if (kept.isNull()) {
        QCOMPARE(f->dialogs.messages.value(0).text,
                 "The folder " + typed + " does not exist.\r\nPlease type the path of an existing folder, or choose one "
                 "with Browse.");
        QCOMPARE(dialog.choice().projectFolder, "/old/units/");
    } else {
        // A folder chosen now is written as the platform spells paths; one left untouched stays as it was.
        const bool typedNow = kept.contains("<folder>");
        kept.replace("<folder>", f->files.path());
        QCOMPARE(dialog.choice().projectFolder, typedNow ? QDir::toNativeSeparators(kept) : kept);
    }
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

void TestWindows::longTitlesKeepTheirEndAndMark_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("cut");
    const QString longName = "armada_heavy_experimental_amphibious_assault_tank_with_extra_armour_mk2.fbi";
    QTest::newRow("short, unchanged") << "tank.fbi" << false << false;
    QTest::newRow("short, changed") << "tank.fbi" << true << false;
    QTest::newRow("long, unchanged") << longName << false << true;
    QTest::newRow("long, changed: the mark stays") << longName << true << true;
}

// A name too long for the title bar loses its middle; its end and the changed mark stay in view.
void TestWindows::longTitlesKeepTheirEndAndMark()
{
    QFETCH(QString, name);
    QFETCH(bool, changed);
    QFETCH(bool, cut);
    MainWindow &main = f->main();
    main.resize(700, 600);
    main.show();
    Document *document = f->open(name, Tank);
    if (changed)
        document->setValue(0, "Changed");
    DocumentWindow *window = main.activeDocumentWindow();
    window->resize(300, window->height());
    const QString title = window->windowTitle();
    QVERIFY2(title.endsWith(".fbi[*]"), qPrintable(title));
    QCOMPARE(title.contains(QChar(0x2026)), cut);
    QVERIFY(title.startsWith(name.left(4)));
    QCOMPARE(window->isWindowModified(), changed);
    // The title as drawn fits the title bar whole, so the style has nothing to cut.
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    QVERIFY(QFontMetrics(bold).horizontalAdvance(QString(title).replace("[*]", "*")) < window->width() - 40);
    // Wide again, the whole name is back.
    window->resize(1200, window->height());
    QCOMPARE(window->windowTitle(), name + "[*]");
}

// New windows open a title bar lower than the newest one, also when the table opens them.
void TestWindows::newWindowsStepDownFromTheLast()
{
    MainWindow &main = f->main();
    main.resize(1000, 800);
    main.show();
    QDir(f->files.path()).mkpath("mod/units");
    for (const char *name : {"a", "b", "c"})
        f->files.write(QString("mod/units/%1.fbi").arg(name), Tank);
    ModTableWindow *table = main.openFolder(f->files.filePath("mod"));
    QTRY_VERIFY(!table->mod()->isLoading());
    QList<QPoint> places;
    for (int unit = 0; unit < 3; ++unit) {
        main.mdiArea()->setActiveSubWindow(table);
        emit table->documentRequested(table->table()->document(unit));
        places.append(main.activeDocumentWindow()->pos());
    }
    const int step = places[1].y() - places[0].y();
    QVERIFY(step > 10);
    QCOMPARE(places[1] - places[0], QPoint(step, step));
    QCOMPARE(places[2] - places[1], QPoint(step, step));
}

namespace {
// How the lists draw a row.
class DrawnRow : public RowDelegate
{
public:
    using RowDelegate::RowDelegate;
    QStyleOptionViewItem option(const QModelIndex &index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option;
    }
};
}

void TestWindows::rowsShowWhatTheEnginesUse_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("struck");     // set again further down: no effect
    QTest::addColumn<bool>("unset");      // the value is still the placeholder
    QTest::addColumn<int>("laterRow");    // as the help names it, counted from 1; 0: its own help
    QTest::newRow("set once") << 1 << false << false << 0;
    QTest::newRow("set again two rows down") << 0 << true << false << 3;
    QTest::newRow("the row the engines use") << 2 << false << false << 0;
    QTest::newRow("not yet set") << 3 << false << true << 0;
    QTest::newRow("not yet set, in another letter case, and set again") << 4 << true << true << 8;
    QTest::newRow("its own key in a nested section") << 6 << false << false << 0;
}

// Earlier rows of a key set twice are struck through, and their help says which row the engines
// use; a value not yet set is slanted.
void TestWindows::rowsShowWhatTheEnginesUse()
{
    QFETCH(int, row);
    QFETCH(bool, struck);
    QFETCH(bool, unset);
    QFETCH(int, laterRow);
    MainWindow &main = f->main();
    Document *document = f->open("twice.fbi", "[UNITINFO]\r\n{\r\n\tbuildangle=0;\r\n\tSide=ARM;\r\n\tBuildAngle=1;\r\n"
                                              "\tMaxDamage=Change This;\r\n\tName= change this ;\r\n\t[CustomParams]\r\n"
                                              "\t\t{\r\n\t\tname=x;\r\n\t\t}\r\n\tName=Tank;\r\n}\r\n");
    QCOMPARE(document->rowCount(), 8);
    DocumentWindow *window = main.activeDocumentWindow();
    const DrawnRow drawn;
    const QStyleOptionViewItem name = drawn.option(document->index(row, Document::NameColumn));
    const QStyleOptionViewItem value = drawn.option(document->index(row, Document::ValueColumn));
    QCOMPARE(name.font.strikeOut(), struck);
    QCOMPARE(value.font.strikeOut(), struck);
    QCOMPARE(value.font.italic(), unset);
    QVERIFY(!name.font.italic());
    window->selectRow(row);
    QCOMPARE(main.variablePanel()->helpText(), laterRow > 0 ? Help::overriddenHelpText(document->name(row), laterRow)
                                                           : Help::variableHelpText(document->name(row)));
}

void TestWindows::mnemonicsAreUnique_data()
{
    QTest::addColumn<QString>("shown");
    QTest::newRow("no window") << "";
    QTest::newRow("a document window") << "document";
    QTest::newRow("a mod's table") << "table";
    QTest::newRow("Replace") << "replace";
}

// Alt and a letter reach one item of each menu, one menu of the menu bar, and one control of the
// window in front: with a table, its controls share the keys with the menu bar.
void TestWindows::mnemonicsAreUnique()
{
    QFETCH(QString, shown);
    MainWindow &main = f->main();
    main.show();
    QList<QStringList> groups;
    if (shown == "document") {
        f->open("tank.fbi", Tank)->setValue(0, "Changed");
    } else if (shown == "table") {
        QDir(f->files.path()).mkpath("mod/units");
        f->files.write("mod/units/tank.fbi", Tank);
        ModTableWindow *table = main.openFolder(f->files.filePath("mod"));
        QTRY_VERIFY(!table->mod()->isLoading());
        groups.append(controlTexts(table));
    } else if (shown == "replace") {
        f->open("tank.fbi", Tank);
        main.activeDocumentWindow()->replace();
        auto *replace = main.findChild<ReplaceDialog *>();
        QVERIFY(replace);
        groups = {controlTexts(replace)};
    }
    if (shown != "replace") {
        QStringList bar;
        for (const QAction *menu : main.menuBar()->actions()) {
            bar.append(menu->text());
            groups.append(menuTexts(menu->menu()));
        }
        if (groups.size() > int(main.menuBar()->actions().size()))
            groups.first() += bar;
        else
            groups.append(bar);
    }
    for (const QStringList &texts : std::as_const(groups))
        QVERIFY2(sharedMnemonics(texts).isEmpty(), qPrintable(sharedMnemonics(texts).join("; ")));
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
