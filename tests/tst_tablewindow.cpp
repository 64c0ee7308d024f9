#include "commands/FileCommands.h"
#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/MainWindow.h"
#include "mod/Mod.h"
#include "mod/ModProblemList.h"
#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"
#include "modwindow/FrozenColumnTableView.h"
#include "modwindow/ModTablePage.h"
#include "modwindow/ModTableWindow.h"
#include "modwindow/ChangeList.h"
#include "modwindow/CompareDialog.h"
#include "modwindow/ImportDialog.h"
#include "modwindow/KeyChangeDialog.h"
#include "modwindow/ModReplaceDialog.h"
#include "modwindow/ProblemsPanel.h"
#include "modwindow/SaveAllDialog.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogs.h"
#include "support/TableProgram.h"
#include "support/Files.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QUndoStack>
#include <QTimer>
#include <QTreeWidget>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Planted = QStringLiteral(KORVID_TEST_DATA_DIR "/mods/planted");

// The test mod copied where the test may change and save it.
bool copyMod(const QString &from, const QString &to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(path);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(path, target))
            return false;
    }
    return true;
}

// The lines of the two texts that differ, as "before | after".
QStringList changedLines(const QByteArray &before, const QByteArray &after)
{
    const QList<QByteArray> old = before.split('\n');
    const QList<QByteArray> now = after.split('\n');
    QStringList changed;
    for (qsizetype line = 0; line < std::max(old.size(), now.size()); ++line) {
        if (old.value(line) != now.value(line))
            changed.append(QString::fromLatin1(old.value(line).trimmed() + " | " + now.value(line).trimmed()));
    }
    return changed;
}

int rowNamed(const ModTable &table, const QString &name)
{
    for (int row = 0; row < table.unitCount(); ++row) {
        if (table.unitName(row) == name)
            return row;
    }
    return -1;
}

ModTable::Kind kindNamed(const QString &name)
{
    return name == QLatin1String("weapons") ? ModTable::Kind::Weapons
           : name == QLatin1String("features") ? ModTable::Kind::Features
                                                : ModTable::Kind::Units;
}

}

class TestTableWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aTabPerKind();
    void everyTabEdits_data();
    void everyTabEdits();
    void goesToDefinition_data();
    void goesToDefinition();
    void goesToDefinitionFromADocumentWindow();
    void problemsPanelOpensAndHides();
    void problemsFollowEdits();
    void exportsWithTheFileColumn_data();
    void exportsWithTheFileColumn();
    void filterHintAndForms();
    void saveAllShowsWhatItWrites_data();
    void saveAllShowsWhatItWrites();
    void replacesAcrossTheMod();
    void importsWhatItShows();
    void addsAKeyToTheSelectedRows();
    void comparesAndCopies();

private:
    // Selects the rows of the tab shown, by name.
    void selectRows(ModTableWindow *window, const QStringList &names);
    // The cell of a row (by name) and key on the tab of the kind, selected with the keyboard on it.
    QModelIndex selectCell(ModTableWindow *window, ModTable::Kind kind, const QString &row, const QString &key);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DocumentSet> m_documents;
    std::unique_ptr<TableProgram> m_program;
};

void TestTableWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(copyMod(Planted, m_dir->path()));
    m_documents = std::make_unique<DocumentSet>();
    m_program = std::make_unique<TableProgram>(*m_documents);
}

void TestTableWindow::cleanup()
{
    // Nothing is asked as the windows go.
    for (QMdiSubWindow *window : m_program->main.mdiArea()->subWindowList()) {
        if (auto *table = qobject_cast<ModTableWindow *>(window))
            table->mod()->clear();
    }
    m_program.reset();
    m_documents.reset();
    m_dir.reset();
}

QModelIndex TestTableWindow::selectCell(ModTableWindow *window, ModTable::Kind kind, const QString &row, const QString &key)
{
    window->showKind(kind);
    ModTable *table = window->table();
    const int unit = rowNamed(*table, row);
    int column = table->columnOfKey(key);
    for (int computed = table->keyColumnCount(); column < 0 && computed < table->columnCount(); ++computed) {
        if (table->headerData(computed, Qt::Horizontal).toString() == key)
            column = computed;
    }
    if (unit < 0 || column < 0)
        return {};
    const QModelIndex shown = window->shownTable()->mapFromSource(table->index(unit, column));
    window->tableView()->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
    return table->index(unit, column);
}

void TestTableWindow::selectRows(ModTableWindow *window, const QStringList &names)
{
    QItemSelection selection;
    for (const QString &name : names) {
        const QModelIndex shown = window->shownTable()->mapFromSource(window->table()->index(rowNamed(*window->table(), name), 0));
        selection.select(shown, shown.siblingAtColumn(window->shownTable()->columnCount() - 1));
    }
    window->tableView()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

// One tab per kind of definition, each counting its rows; a weapon is a section of its file, and its
// nested keys are columns of their own.
void TestTableWindow::aTabPerKind()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    Mod *mod = window->mod();
    QCOMPARE(window->tabs()->count(), 3);
    QCOMPARE(window->tabs()->tabText(0), QStringLiteral("Units (%1)").arg(mod->units()->unitCount()));
    QCOMPARE(window->tabs()->tabText(1), QStringLiteral("Weapons (%1)").arg(mod->weapons()->unitCount()));
    QCOMPARE(window->tabs()->tabText(2), QStringLiteral("Features (%1)").arg(mod->features()->unitCount()));
    window->showKind(ModTable::Kind::Weapons);
    QCOMPARE(window->table(), mod->weapons());
    QVERIFY(rowNamed(*mod->weapons(), "TANK_MG") >= 0);
    QVERIFY(mod->weapons()->columnOfKey(QStringLiteral("damage.default")) >= 0);
    // The filter of each tab is its own.
    window->filterBox()->setText(QStringLiteral("tank_cannon"));
    QCOMPARE(window->shownTable()->rowCount(), 1);
    window->showKind(ModTable::Kind::Units);
    QCOMPARE(window->filterBox()->text(), QString());
    QCOMPARE(window->shownTable()->rowCount(), mod->units()->unitCount());
    // The Units tab shows the figures of the weapons its units name, read only, with their formula.
    const QModelIndex range = selectCell(window, ModTable::Kind::Units, "TANK", "Weapon1 range");
    QVERIFY(range.isValid());
    QCOMPARE(range.data().toString(), QStringLiteral("400"));
    QVERIFY(!(range.flags() & Qt::ItemIsEditable));
    QVERIFY(window->table()->headerData(range.column(), Qt::Horizontal, Qt::ToolTipRole).toString().contains(QStringLiteral("range=")));
}

void TestTableWindow::everyTabEdits_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("a unit") << "units" << "TANK" << "MaxDamage" << "Units/tank.fbi" << QStringList{"MaxDamage=1200; | MaxDamage=77;"};
    QTest::newRow("a weapon") << "weapons" << "TANK_MG" << "range" << "weapons/Cannons.TDF" << QStringList{"range=250; | range=77;"};
    QTest::newRow("a weapon's damage") << "weapons" << "TANK_CANNON" << "damage.default" << "weapons/Cannons.TDF"
                                       << QStringList{"default=50; | default=77;"};
    QTest::newRow("a feature") << "features" << "tank_heap" << "object" << "Features/heaps.tdf" << QStringList{"object=nowreck; | object=77;"};
}

// Set Value, Undo, Redo and Save work the same on every tab: the file changes on the edited line only.
void TestTableWindow::everyTabEdits()
{
    QFETCH(QString, kind);
    QFETCH(QString, row);
    QFETCH(QString, key);
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    const QString path = m_dir->filePath(file);
    const QByteArray before = readFile(path);
    const QModelIndex cell = selectCell(window, kindNamed(kind), row, key);
    QVERIFY(cell.isValid());
    m_program->dialogs.texts << QStringLiteral("77");
    window->askAndSetValues();
    QCOMPARE(cell.data().toString(), QStringLiteral("77"));
    QVERIFY(window->editState().undo);
    window->undo();
    QVERIFY(cell.data().toString() != QStringLiteral("77"));
    window->redo();
    QCOMPARE(cell.data().toString(), QStringLiteral("77"));
    window->setSaveAllPreview(false);
    QVERIFY(window->save());
    QCOMPARE(changedLines(before, readFile(path)), lines);
    QCOMPARE(m_program->dialogs.faults(), QString());
}

void TestTableWindow::goesToDefinition_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("file");      // the file opened; empty when none is
    QTest::addColumn<QString>("selected");  // the row selected in it
    QTest::addColumn<QString>("status");

    QTest::newRow("a weapon slot") << "units" << "GUNSHIP" << "Weapon1" << "weapons/Cannons.TDF" << "TANK_CANNON" << "Went to [TANK_CANNON]";
    QTest::newRow("a weapon figure, through its slot") << "units" << "TANK" << "Weapon3 range" << "weapons/Cannons.TDF" << "TANK_MG"
                                                      << "Went to [TANK_MG]";
    QTest::newRow("a corpse") << "units" << "TANK" << "Corpse" << "Features/corpses/tank_dead.tdf" << "tank_dead" << "Went to [tank_dead]";
    QTest::newRow("a feature's model, no definition file") << "features" << "TANK_HEAP" << "object" << "" << ""
                                                          << "is there; it is not a definition file to open here.";
    QTest::newRow("a missing explosion") << "units" << "GUNSHIP" << "ExplodeAs" << "" << "" << "No weapon section is named NOBLAST.";
    QTest::newRow("a missing feature") << "features" << "TANK_HEAP" << "featuredead" << "" << "" << "No feature section is named heap_gone.";
    QTest::newRow("a value naming nothing") << "units" << "TANK" << "MaxDamage" << "" << "" << "";
}

// F12 on a cell opens the file of the definition it names at its section, or says in the status bar
// that there is none; Ctrl+click on the cell does the same.
void TestTableWindow::goesToDefinition()
{
    QFETCH(QString, kind);
    QFETCH(QString, row);
    QFETCH(QString, key);
    QFETCH(QString, file);
    QFETCH(QString, selected);
    QFETCH(QString, status);
    for (const bool click : {false, true}) {
        ModTableWindow *window = m_program->openTable(m_dir->path());
        QVERIFY(window);
        const QModelIndex cell = selectCell(window, kindNamed(kind), row, key);
        QVERIFY(cell.isValid());
        QCOMPARE(window->editState().goToDefinition, !status.isEmpty());
        QSignalSpy said(window, &ModTableWindow::statusMessage);
        const qsizetype windowsBefore = m_program->main.documentWindows().size();
        if (click) {
            const QModelIndex shown = window->shownTable()->mapFromSource(cell);
            window->tableView()->scrollTo(shown);
            QTest::mouseClick(window->tableView()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              window->tableView()->visualRect(shown).center());
        } else {
            m_program->main.mdiArea()->setActiveSubWindow(window);
            QCOMPARE(m_program->main.actions().goToDefinition->isEnabled(), !status.isEmpty());
            m_program->main.actions().goToDefinition->trigger();
        }
        // A click on a cell that names nothing is an ordinary click, and F12 is not offered there.
        QCOMPARE(said.count(), status.isEmpty() ? 0 : 1);
        if (!status.isEmpty())
            QVERIFY2(said.first().first().toString().contains(status), qPrintable(said.first().first().toString()));
        if (file.isEmpty()) {
            QCOMPARE(m_program->main.documentWindows().size(), windowsBefore);
        } else {
            auto *opened = qobject_cast<DocumentWindow *>(m_program->main.mdiArea()->activeSubWindow());
            QVERIFY(opened);
            QCOMPARE(QFileInfo(opened->document()->filePath()).canonicalFilePath(), QFileInfo(m_dir->filePath(file)).canonicalFilePath());
            QCOMPARE(opened->selectedRows().size(), 1);
            QCOMPARE(opened->document()->name(opened->selectedRows().first()).trimmed(), selected);
            opened->close();
        }
        window->mod()->clear();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// In a document window of one of the mod's files, the row's reference is followed through the mod.
void TestTableWindow::goesToDefinitionFromADocumentWindow()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    Document *tank = window->mod()->units()->document(rowNamed(*window->mod()->units(), "TANK"));
    m_documents->show(tank);
    auto *unitWindow = qobject_cast<DocumentWindow *>(m_program->main.mdiArea()->activeSubWindow());
    QVERIFY(unitWindow && unitWindow->document() == tank);
    QAction *goTo = m_program->main.actions().goToDefinition;
    unitWindow->selectRow(tank->findKey(QStringLiteral("MaxDamage")));
    QVERIFY(!goTo->isEnabled());
    unitWindow->selectRow(tank->findKey(QStringLiteral("Corpse")));
    QVERIFY(goTo->isEnabled());
    goTo->trigger();
    auto *opened = qobject_cast<DocumentWindow *>(m_program->main.mdiArea()->activeSubWindow());
    QVERIFY(opened && opened != unitWindow);
    QVERIFY(opened->document()->filePath().endsWith(QStringLiteral("tank_dead.tdf")));
    QCOMPARE(opened->document()->name(opened->selectedRows().value(0)).trimmed(), QStringLiteral("tank_dead"));

    // Ctrl+click on a value that names a weapon goes there; on one that names nothing it is a click.
    m_program->main.mdiArea()->setActiveSubWindow(unitWindow);
    QListView *values = unitWindow->lstVals();
    const QModelIndex damage = values->model()->index(tank->findKey(QStringLiteral("MaxDamage")), Document::ValueColumn);
    values->scrollTo(damage);
    QTest::mouseClick(values->viewport(), Qt::LeftButton, Qt::ControlModifier, values->visualRect(damage).center());
    QCOMPARE(m_program->main.mdiArea()->activeSubWindow(), unitWindow);
    const QModelIndex weapon = values->model()->index(tank->findKey(QStringLiteral("Weapon1")), Document::ValueColumn);
    values->scrollTo(weapon);
    QTest::mouseClick(values->viewport(), Qt::LeftButton, Qt::ControlModifier, values->visualRect(weapon).center());
    opened = qobject_cast<DocumentWindow *>(m_program->main.mdiArea()->activeSubWindow());
    QVERIFY(opened && opened != unitWindow);
    QCOMPARE(opened->document()->name(opened->selectedRows().value(0)).trimmed(), QStringLiteral("TANK_CANNON"));
}

// The panel lists what the check found; a kind can be hidden, and a problem opens its file at its line.
void TestTableWindow::problemsPanelOpensAndHides()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    ProblemsPanel *panel = window->problemsPanel();
    QTableView *view = panel->view();
    const int all = int(window->mod()->problems().size());
    QVERIFY(all > 0);
    QCOMPARE(view->model()->rowCount(), all);
    QVERIFY(panel->summary()->text().startsWith(QStringLiteral("Problems: %1 (").arg(all)));

    // Hiding the kind of the first duplicate-unit problem leaves the others.
    const int duplicates = window->mod()->problemList()->count(QStringLiteral("duplicate-unit"));
    QVERIFY(duplicates > 0);
    QAction *kind = nullptr;
    for (QAction *action : panel->kindsMenu()->actions()) {
        if (action->data().toString() == QStringLiteral("duplicate-unit"))
            kind = action;
    }
    QVERIFY(kind && kind->isChecked());
    kind->setChecked(false);
    QCOMPARE(view->model()->rowCount(), all - duplicates);
    QVERIFY(panel->summary()->text().contains(QStringLiteral("%1 of them hidden").arg(duplicates)));

    // The side problem of the gunship is at line 4 of its file: Side=ALIEN.
    int found = -1;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, ModProblemList::KindColumn);
        if (index.data().toString() == QStringLiteral("missing-side")
            && index.siblingAtColumn(ModProblemList::FileColumn).data().toString().contains(QStringLiteral("gunship")))
            found = row;
    }
    QVERIFY(found >= 0);
    const QModelIndex problem = view->model()->index(found, ModProblemList::MessageColumn);
    view->scrollTo(problem);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(problem).center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(problem).center());
    auto *opened = qobject_cast<DocumentWindow *>(m_program->main.mdiArea()->activeSubWindow());
    QVERIFY(opened);
    QVERIFY(opened->document()->filePath().endsWith(QStringLiteral("gunship.FBI")));
    QCOMPARE(opened->document()->name(opened->selectedRows().value(0)).trimmed(), QStringLiteral("Side"));
}

// An edit that mends a problem takes it off the list once the check runs again; one that makes a
// problem puts it on.
void TestTableWindow::problemsFollowEdits()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    ModProblemList *problems = window->mod()->problemList();
    const int sides = problems->count(QStringLiteral("missing-side"));
    QVERIFY(sides > 0);
    selectCell(window, ModTable::Kind::Units, "GUNSHIP", "Side");
    m_program->dialogs.texts << QStringLiteral("arm");
    window->askAndSetValues();
    QTRY_COMPARE(problems->count(QStringLiteral("missing-side")), sides - 1);
    selectCell(window, ModTable::Kind::Units, "TANK", "Corpse");
    m_program->dialogs.texts << QStringLiteral("nothing_here");
    window->askAndSetValues();
    const int corpses = problems->count(QStringLiteral("missing-corpse"));
    QTRY_COMPARE(problems->count(QStringLiteral("missing-corpse")), corpses + 1);
    QCOMPARE(window->problemsPanel()->view()->model()->rowCount(), problems->rowCount());
}

void TestTableWindow::exportsWithTheFileColumn_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("row");

    QTest::newRow("units, no mark unless ticked") << "units" << QList<bool>{} << QByteArray("Unit,File,") << QByteArray("\r\nTANK,Units/tank.fbi,");
    QTest::newRow("units, the mark ticked") << "units" << QList<bool>{true} << QByteArray("\xEF\xBB\xBFUnit,File,")
                                            << QByteArray("\r\nTANK,Units/tank.fbi,");
    QTest::newRow("weapons") << "weapons" << QList<bool>{false} << QByteArray("Weapon,File,")
                             << QByteArray("\r\nTANK_MG,weapons/Cannons.TDF,");
}

// Export writes the tab shown, each row naming its file, and the byte order mark only when asked.
void TestTableWindow::exportsWithTheFileColumn()
{
    QFETCH(QString, kind);
    QFETCH(QList<bool>, ticked);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, row);
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    window->showKind(kindNamed(kind));
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("table.csv"));
    m_program->dialogs.paths << path;
    m_program->dialogs.checkBoxes = ticked;
    window->exportTable();
    QCOMPARE(m_program->dialogs.fileDialogs.size(), 1);
    QVERIFY(!m_program->dialogs.fileDialogs.first().checkBoxText.isEmpty());
    const QByteArray csv = readFile(path);
    QVERIFY2(csv.startsWith(start), csv.left(40).constData());
    QVERIFY2(csv.contains(row), csv.left(200).constData());
    QCOMPARE(m_program->dialogs.faults(), QString());
}

// The filter box shows its forms under it, and key=value and key>number narrow the rows.
void TestTableWindow::filterHintAndForms()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    QVERIFY(window->filterHint()->isVisible());
    QVERIFY(window->filterHint()->text().contains(QStringLiteral("key=value")));
    QTest::keyClicks(window->filterBox(), QStringLiteral("maxdamage>1000"));
    QCOMPARE(window->shownTable()->rowCount(), 1);
    QCOMPARE(window->shownTable()->index(0, ModTable::UnitColumn).data().toString(), QStringLiteral("TANK"));
}

void TestTableWindow::saveAllShowsWhatItWrites_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("dontAsk");

    QTest::newRow("saved") << true << false;
    QTest::newRow("cancelled") << false << false;
    QTest::newRow("saved, not to ask again") << true << true;
}

// Save All lists the files it would write with their changed lines first; Cancel writes nothing, and
// "Don't ask again" saves at once from then on, as the settings remember.
void TestTableWindow::saveAllShowsWhatItWrites()
{
    QFETCH(bool, save);
    QFETCH(bool, dontAsk);
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    const QByteArray tank = readFile(m_dir->filePath("Units/tank.fbi"));
    const QByteArray cannons = readFile(m_dir->filePath("weapons/Cannons.TDF"));
    selectCell(window, ModTable::Kind::Units, "TANK", "MaxDamage");
    m_program->dialogs.texts << QStringLiteral("1300");
    window->askAndSetValues();
    selectCell(window, ModTable::Kind::Weapons, "TANK_MG", "range");
    m_program->dialogs.texts << QStringLiteral("260");
    window->askAndSetValues();
    QSignalSpy turnedOff(&m_program->main, &MainWindow::saveAllPreviewTurnedOff);

    QStringList shown;
    QString summary;
    // The preview is modal: the test answers it from inside its loop; a timer of this scope never
    // fires after it.
    QTimer answer;
    answer.setSingleShot(true);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<SaveAllDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        summary = dialog->summary()->text();
        for (int file = 0; file < dialog->fileList()->topLevelItemCount(); ++file) {
            const QTreeWidgetItem *item = dialog->fileList()->topLevelItem(file);
            shown.append(item->text(0) + QStringLiteral(": ") + item->text(1));
            for (int line = 0; line < item->childCount(); ++line)
                shown.append(item->child(line)->text(0) + QLatin1Char(' ') + item->child(line)->text(1).trimmed());
        }
        dialog->chkDontAsk()->setChecked(dontAsk);
        save ? dialog->accept() : dialog->reject();
    });
    answer.start(0);
    QCOMPARE(window->saveAllAsked(), save);
    QCOMPARE(summary, QStringLiteral("Save All writes 2 files, 2 changed lines:"));
    QCOMPARE(shown, QStringList({QDir::toNativeSeparators("Units/tank.fbi") + ": 1 line changes", "- 9 MaxDamage=1200;", "+ 9 MaxDamage=1300;",
                                 QDir::toNativeSeparators("weapons/Cannons.TDF") + ": 1 line changes", "- 16 range=250;", "+ 16 range=260;"}));
    QCOMPARE(readFile(m_dir->filePath("Units/tank.fbi")) != tank, save);
    QCOMPARE(readFile(m_dir->filePath("weapons/Cannons.TDF")) != cannons, save);
    QCOMPARE(turnedOff.count(), dontAsk ? 1 : 0);

    // Asked again after another change: the preview comes again unless the user said not to.
    selectCell(window, ModTable::Kind::Units, "TANK", "MaxDamage");
    m_program->dialogs.texts << QStringLiteral("1400");
    window->askAndSetValues();
    bool previewed = false;
    QTimer again;
    again.setSingleShot(true);
    connect(&again, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<SaveAllDialog *>(QApplication::activeModalWidget())) {
            previewed = true;
            dialog->accept();
        }
    });
    again.start(0);
    QVERIFY(window->saveAllAsked());
    QCOMPARE(previewed, !dontAsk);
    QVERIFY(readFile(m_dir->filePath("Units/tank.fbi")).contains("MaxDamage=1400;"));
}

// Replace in Mod: the preview lists every change with a box; the ticked ones are made as one step.
void TestTableWindow::replacesAcrossTheMod()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    window->replace();
    ModReplaceDialog *dialog = window->replaceDialog();
    QVERIFY(dialog);
    dialog->txtFind()->setText(QStringLiteral("TANK_MG"));
    dialog->txtReplace()->setText(QStringLiteral("TANK_GUN"));
    dialog->chkWholeValue()->setChecked(true);
    QVERIFY(!dialog->cmdReplace()->isEnabled());
    QVERIFY(dialog->preview());
    ChangeList *list = dialog->changeList();
    QStringList shown;
    for (int line = 0; line < list->topLevelItemCount(); ++line)
        shown.append(list->topLevelItem(line)->text(ChangeList::RowColumn) + QLatin1Char('.') + list->topLevelItem(line)->text(ChangeList::KeyColumn));
    QCOMPARE(shown, QStringList({"GUNSHIP.Weapon3", "GUNSHIP.Weapon5", "SCOUT.Weapon1", "TANK.Weapon3"}));
    // Each change names its file's line: Weapon3=tank_mg is line 13 of the tank.
    QCOMPARE(list->topLevelItem(3)->text(ChangeList::LineColumn), QStringLiteral("13"));
    list->topLevelItem(1)->setCheckState(ChangeList::RowColumn, Qt::Unchecked);
    QVERIFY(dialog->summary()->text().startsWith(QStringLiteral("3 of 4 changes ticked, in 3 files")));
    QTest::mouseClick(dialog->cmdReplace(), Qt::LeftButton);
    Mod *mod = window->mod();
    auto value = [&](const QString &unit, const QString &key) {
        return mod->units()->index(rowNamed(*mod->units(), unit), mod->units()->columnOfKey(key)).data().toString();
    };
    QCOMPARE(value("GUNSHIP", "Weapon3"), QStringLiteral("TANK_GUN"));
    QCOMPARE(value("GUNSHIP", "Weapon5"), QStringLiteral("tank_mg"));
    QCOMPARE(value("TANK", "Weapon3"), QStringLiteral("TANK_GUN"));
    QCOMPARE(mod->history()->undoText(), QStringLiteral("Replace"));
    window->undo();
    QCOMPARE(value("GUNSHIP", "Weapon3"), QStringLiteral("tank_mg"));
    QCOMPARE(value("TANK", "Weapon3"), QStringLiteral("tank_mg"));
}

// Import Table shows the cells the file changes and what it leaves out; Import makes them.
void TestTableWindow::importsWhatItShows()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("units.csv"));
    m_program->dialogs.paths << path;
    window->exportTable();
    QByteArray csv = readFile(path);
    QVERIFY(csv.contains(",1200,"));
    csv.replace(",1200,", ",1250,");
    csv.append("NOWHERE,Units/nowhere.fbi\r\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(csv);
    file.close();
    m_program->dialogs.paths << path;
    window->importTable();
    auto *dialog = qobject_cast<ImportDialog *>(window->toolDialog());
    QVERIFY(dialog);
    QCOMPARE(dialog->changeList()->topLevelItemCount(), 1);
    QCOMPARE(dialog->changeList()->topLevelItem(0)->text(ChangeList::AfterColumn), QStringLiteral("1250"));
    QCOMPARE(dialog->leftOut()->count(), 1);
    QVERIFY(dialog->leftOut()->item(0)->text().contains(QStringLiteral("Units/nowhere.fbi")));
    QTest::mouseClick(dialog->cmdApply(), Qt::LeftButton);
    const ModTable *units = window->mod()->units();
    QCOMPARE(units->index(rowNamed(*units, "TANK"), units->columnOfKey(QStringLiteral("MaxDamage"))).data().toString(), QStringLiteral("1250"));
    QCOMPARE(m_program->dialogs.faults(), QString());
}

// Add Key on the selected rows: the rows that set the key already get the value, and the preview
// says which; the others get the key.
void TestTableWindow::addsAKeyToTheSelectedRows()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    selectRows(window, {"TANK", "GUNSHIP"});
    m_program->main.mdiArea()->setActiveSubWindow(window);
    QVERIFY(m_program->main.actions().addKey->isEnabled());
    m_program->main.actions().addKey->trigger();
    auto *dialog = qobject_cast<KeyChangeDialog *>(window->toolDialog());
    QVERIFY(dialog);
    dialog->txtKey()->setText(QStringLiteral("builder"));
    dialog->txtValue()->setText(QStringLiteral("1"));
    ChangeList *list = dialog->changeList();
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->checkedCount(), 2);
    QVERIFY2(dialog->summary()->text().endsWith(QStringLiteral("get the value instead: GUNSHIP")), qPrintable(dialog->summary()->text()));
    QTest::mouseClick(dialog->cmdApply(), Qt::LeftButton);
    const ModTable *units = window->mod()->units();
    const int builder = units->columnOfKey(QStringLiteral("Builder"));
    QCOMPARE(units->index(rowNamed(*units, "TANK"), builder).data().toString(), QStringLiteral("1"));
    QCOMPARE(units->index(rowNamed(*units, "GUNSHIP"), builder).data().toString(), QStringLiteral("1"));
    QCOMPARE(window->mod()->history()->count(), 1);
}

// Compare shows the rows side by side; the ticked keys' values are copied from one to the others.
void TestTableWindow::comparesAndCopies()
{
    ModTableWindow *window = m_program->openTable(m_dir->path());
    QVERIFY(window);
    window->showKind(ModTable::Kind::Weapons);
    selectRows(window, {"TANK_CANNON", "TANK_MG"});
    window->compareSelectedRows();
    auto *dialog = qobject_cast<CompareDialog *>(window->toolDialog());
    QVERIFY(dialog);
    QTableWidget *grid = dialog->grid();
    QCOMPARE(grid->columnCount(), 3);
    int range = -1;
    int model = -1;
    for (int line = 0; line < grid->rowCount(); ++line) {
        if (grid->item(line, 0)->text() == QStringLiteral("range"))
            range = line;
        if (grid->item(line, 0)->text() == QStringLiteral("model"))
            model = line;
    }
    QVERIFY(range >= 0 && model >= 0);
    QCOMPARE(grid->item(range, 1)->text() + QLatin1Char('|') + grid->item(range, 2)->text(), QStringLiteral("400|250"));
    QVERIFY(grid->item(range, 0)->font().bold());
    QCOMPARE(grid->item(model, 2)->text(), QStringLiteral("(not set)"));
    dialog->cboSource()->setCurrentIndex(0);
    dialog->setKeyTicked(QStringLiteral("range"), true);
    QVERIFY(dialog->cmdCopy()->isEnabled());
    QTest::mouseClick(dialog->cmdCopy(), Qt::LeftButton);
    const ModTable *weapons = window->mod()->weapons();
    QCOMPARE(weapons->index(rowNamed(*weapons, "TANK_MG"), weapons->columnOfKey(QStringLiteral("range"))).data().toString(), QStringLiteral("400"));
    QCOMPARE(window->mod()->history()->count(), 1);
    // The grid follows: the two ranges are the same now.
    for (int line = 0; line < grid->rowCount(); ++line) {
        if (grid->item(line, 0)->text() == QStringLiteral("range"))
            QCOMPARE(grid->item(line, 2)->text(), QStringLiteral("400"));
    }
}

QTEST_MAIN(TestTableWindow)
#include "tst_tablewindow.moc"
