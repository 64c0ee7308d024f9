#include "modwindow/ModTableWindow.h"

#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "documents/FbiContent.h"
#include "documents/SafeWrite.h"
#include "mod/Csv.h"
#include "mod/Mod.h"
#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"
#include "mod/TableFilter.h"
#include "modwindow/ColumnChooser.h"
#include "modwindow/FrozenColumnTableView.h"
#include "mod/CsvReader.h"
#include "mod/ModReplace.h"
#include "mod/TableImport.h"
#include "modwindow/CompareDialog.h"
#include "modwindow/ImportDialog.h"
#include "modwindow/KeyChangeDialog.h"
#include "modwindow/ModReplaceDialog.h"
#include "modwindow/ModTablePage.h"
#include "modwindow/ProblemsPanel.h"
#include "modwindow/SaveAllDialog.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <optional>

namespace {
constexpr int FailuresNamed = 20;   // a message names at most this many files
constexpr int ErrorLinesShown = 6;
constexpr int ProblemLinesShown = 7;
constexpr std::array<ModTable::Kind, 3> Kinds{ModTable::Kind::Units, ModTable::Kind::Weapons, ModTable::Kind::Features};

QString folderName(const QString &folder)
{
    const QString name = QDir(folder).dirName();
    return name.isEmpty() ? folder : name;
}

// A factor as the user types it: with a point, or with the decimal separator of the user's language.
std::optional<double> factorOf(const QString &text)
{
    bool ok = false;
    double factor = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        factor = QLocale().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(factor) ? std::optional<double>(factor) : std::nullopt;
}

QAction *addShortcutAction(QWidget *widget, const QString &text, const QKeySequence &shortcut, Qt::ShortcutContext context)
{
    auto *action = new QAction(text, widget);
    action->setShortcut(shortcut);
    action->setShortcutContext(context);
    widget->addAction(action);
    return action;
}

QAction *separator(QObject *owner)
{
    auto *action = new QAction(owner);
    action->setSeparator(true);
    return action;
}

// The row of a document's content that starts at a line of its file, or the last one before it.
int rowAtLine(const Document &document, int line)
{
    if (line <= 0)
        return -1;
    const QList<qsizetype> lines = document.content().lineNumbers();
    int found = -1;
    for (qsizetype row = 0; row < lines.size(); ++row) {
        if (lines[row] > 0 && lines[row] <= line && (found < 0 || lines[row] >= lines[found]))
            found = int(row);
    }
    return found;
}
}

ModTableWindow::ModTableWindow(DocumentSet &documents, Dialogs &dialogs, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_body(new QWidget)
    , m_mod(new Mod(documents, this))
{
    setObjectName(QStringLiteral("frmModTable"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-16.png")));

    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Name, file, value or key=value (Ctrl+L)"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setToolTip(TableFilter::hint());
    // Alt+F stays the File menu's.
    auto *filterLabel = new QLabel(QStringLiteral("F&ilter:"));
    filterLabel->setBuddy(m_filter);
    m_filterHint = new QLabel(TableFilter::hint());
    m_filterHint->setObjectName(QStringLiteral("lblFilterHint"));
    m_filterHint->setEnabled(false);
    QFont hintFont = m_filterHint->font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 0.9);
    m_filterHint->setFont(hintFont);
    auto makeButton = [](const char *name, const QString &text) {
        auto *button = new QToolButton;
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return button;
    };
    QToolButton *columns = makeButton("cmdColumns", QStringLiteral("&Columns..."));
    QToolButton *setValue = makeButton("cmdSetValue", QStringLiteral("Set &Value..."));
    QToolButton *scale = makeButton("cmdScale", QStringLiteral("Scale &by..."));
    auto *filterColumn = new QVBoxLayout;
    filterColumn->setSpacing(1);
    filterColumn->addWidget(m_filter);
    filterColumn->addWidget(m_filterHint);
    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel, 0, Qt::AlignTop | Qt::AlignLeft);
    top->addLayout(filterColumn, 1);
    top->addWidget(columns, 0, Qt::AlignTop);
    top->addWidget(setValue, 0, Qt::AlignTop);
    top->addWidget(scale, 0, Qt::AlignTop);
    filterLabel->setMinimumHeight(m_filter->sizeHint().height());

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabTables"));
    m_tabs->setDocumentMode(true);
    addPage(m_mod->units(), QStringLiteral("tblUnits"));
    addPage(m_mod->weapons(), QStringLiteral("tblWeapons"));
    addPage(m_mod->features(), QStringLiteral("tblFeatures"));

    m_problems = new ProblemsPanel(m_mod->problemList());

    m_errors = new QListWidget;
    m_errors->setObjectName(QStringLiteral("lstErrors"));
    m_errorPanel = new QGroupBox(QStringLiteral("Files that could not be read"));
    m_errorPanel->setObjectName(QStringLiteral("fraErrors"));
    (new QVBoxLayout(m_errorPanel))->addWidget(m_errors);
    m_errorPanel->hide();
    m_split = new QSplitter(Qt::Vertical);
    m_split->addWidget(m_tabs);
    m_split->addWidget(m_problems);
    m_split->addWidget(m_errorPanel);
    m_split->setStretchFactor(0, 1);
    m_split->setChildrenCollapsible(false);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("prgLoad"));
    m_progress->setRange(0, 0);
    m_progress->hide();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_progress, 2);

    auto *layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_split, 1);
    layout->addLayout(bottom);
    setWidget(m_body);

    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString &text) { currentPage()->setFilterText(text); });
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { currentPage()->setFocus(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        const QSignalBlocker blocker(m_filter);
        m_filter->setText(currentPage()->filterText());
        setFocusProxy(currentPage());
        updateStatus();
        emit editStateChanged();
    });
    connect(columns, &QToolButton::clicked, this,
            [this, columns] { columnChooser()->popup(columns->mapToGlobal(QPoint(0, columns->height()))); });
    connect(setValue, &QToolButton::clicked, this, &ModTableWindow::askAndSetValues);
    connect(scale, &QToolButton::clicked, this, &ModTableWindow::askAndScale);
    connect(m_problems, &ProblemsPanel::problemOpened, this, &ModTableWindow::openProblem);

    connect(m_mod, &Mod::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
        m_status->setText(QStringLiteral("Reading %1 of %2 files...").arg(done).arg(total));
    });
    connect(m_mod, &Mod::loaded, this, &ModTableWindow::showLoaded);
    connect(m_mod->history(), &QUndoStack::indexChanged, this, &ModTableWindow::editStateChanged);
    for (ModTable::Kind kind : Kinds) {
        ModTable *table = m_mod->table(kind);
        connect(table, &ModTable::valueNote, this, &ModTableWindow::statusMessage);
        connect(table, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                    if (roles.contains(ModTable::ModifiedRole))
                        updateStatus();
                });
    }
    createActions();
    // The keyboard goes to the table shown, never to the tabs' bar: Ctrl+Page Down changes tabs.
    setFocusProxy(currentPage());
}

// The tables' views go before the mod whose tables they show, and what they still signal on the
// way must not reach this window's own part.
ModTableWindow::~ModTableWindow()
{
    // The tools' dialogs show the mod's tables: they go first.
    delete m_toolDialog;
    delete m_replaceDialog;
    disconnect(m_mod, nullptr, this, nullptr);
    disconnect(m_mod->history(), nullptr, this, nullptr);
    for (ModTable::Kind kind : Kinds)
        disconnect(m_mod->table(kind), nullptr, this, nullptr);
    for (ModTablePage *page : std::as_const(m_pages)) {
        disconnect(page, nullptr, this, nullptr);
        disconnect(page->shownTable(), nullptr, this, nullptr);
        disconnect(page->view()->selectionModel(), nullptr, this, nullptr);
    }
    disconnect(m_tabs, nullptr, this, nullptr);
    delete m_body;
}

ModTablePage *ModTableWindow::addPage(ModTable *table, const QString &name)
{
    auto *page = new ModTablePage(table);
    page->view()->setObjectName(name);
    m_pages.append(page);
    m_tabs->addTab(page, rowsWord(table->kind()));

    connect(page, &ModTablePage::rowActivated, this, &ModTableWindow::openRow);
    connect(page, &ModTablePage::cellCtrlClicked, this, [this, page](const QModelIndex &cell, bool *taken) {
        const int column = m_mod->referenceColumn(page->table(), cell.column());
        const int row = page->table()->documentRow(cell.row(), column);
        if (row >= 0 && m_mod->namesDefinition(page->table()->document(cell.row()), row)) {
            *taken = true;
            goToDefinition(cell);
        }
    });
    QItemSelectionModel *selection = page->view()->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this, [this, page](const QModelIndex &current) {
        if (current.isValid() && page->table()->isKeyColumn(current.column()))
            emit helpRequested(page->table()->key(current.column()));
        emit editStateChanged();
    });
    connect(selection, &QItemSelectionModel::selectionChanged, this, &ModTableWindow::editStateChanged);
    ModTableSortFilter *shown = page->shownTable();
    connect(shown, &QAbstractItemModel::rowsInserted, this, &ModTableWindow::updateStatus);
    connect(shown, &QAbstractItemModel::rowsRemoved, this, &ModTableWindow::updateStatus);
    connect(shown, &QAbstractItemModel::columnsInserted, this, &ModTableWindow::updateStatus);
    connect(shown, &QAbstractItemModel::modelReset, this, &ModTableWindow::updateStatus);
    return page;
}

QString ModTableWindow::rowsWord(ModTable::Kind kind) const
{
    switch (kind) {
    case ModTable::Kind::Units:
        return QStringLiteral("Units");
    case ModTable::Kind::Weapons:
        return QStringLiteral("Weapons");
    case ModTable::Kind::Features:
        return QStringLiteral("Features");
    }
    return {};
}

ModTablePage *ModTableWindow::currentPage() const
{
    return static_cast<ModTablePage *>(m_tabs->currentWidget());
}

ModTablePage *ModTableWindow::page(ModTable::Kind kind) const
{
    for (ModTablePage *page : m_pages) {
        if (page->table()->kind() == kind)
            return page;
    }
    return nullptr;
}

void ModTableWindow::showKind(ModTable::Kind kind)
{
    m_tabs->setCurrentWidget(page(kind));
}

ModTable *ModTableWindow::table() const
{
    return currentPage()->table();
}

ModTableSortFilter *ModTableWindow::shownTable() const
{
    return currentPage()->shownTable();
}

FrozenColumnTableView *ModTableWindow::tableView() const
{
    return currentPage()->view();
}

ColumnChooser *ModTableWindow::columnChooser() const
{
    return currentPage()->columnChooser();
}

void ModTableWindow::createActions()
{
    connect(addShortcutAction(this, QStringLiteral("Filter"), QKeySequence(Qt::CTRL | Qt::Key_L), Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, this, &ModTableWindow::find);
    connect(addShortcutAction(this, QStringLiteral("Next Tab"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, this, [this] { m_tabs->setCurrentIndex((m_tabs->currentIndex() + 1) % m_tabs->count()); });
    connect(addShortcutAction(this, QStringLiteral("Previous Tab"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, this, [this] { m_tabs->setCurrentIndex((m_tabs->currentIndex() + m_tabs->count() - 1) % m_tabs->count()); });
    connect(addShortcutAction(this, QStringLiteral("Problems"), QKeySequence(Qt::ALT | Qt::Key_P), Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, this, [this] { m_problems->view()->setFocus(); });
    // The rows' own commands make their context menu; their keys work while a table has the keyboard.
    auto viewAction = [this](const QString &text, const QKeySequence &shortcut) {
        auto *action = new QAction(text, this);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_viewActions.append(action);
        return action;
    };
    connect(viewAction(QStringLiteral("Open File"), QKeySequence(Qt::CTRL | Qt::Key_Return)), &QAction::triggered, this, [this] {
        if (const QModelIndex current = currentPage()->currentCell(); current.isValid())
            openRow(current.row());
    });
    connect(viewAction(QStringLiteral("Set Value..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)),
            &QAction::triggered, this, &ModTableWindow::askAndSetValues);
    connect(viewAction(QStringLiteral("Scale by..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)),
            &QAction::triggered, this, &ModTableWindow::askAndScale);
    for (ModTablePage *page : std::as_const(m_pages)) {
        page->view()->addActions(m_viewActions);
        page->view()->frozenView()->setContextMenuPolicy(Qt::ActionsContextMenu);
        page->view()->frozenView()->addActions(m_viewActions);
    }
}

void ModTableWindow::addContextActions(const QList<QAction *> &actions)
{
    QList<QAction *> added{separator(this)};
    added += actions;
    for (ModTablePage *page : std::as_const(m_pages)) {
        page->view()->addActions(added);
        page->view()->frozenView()->addActions(added);
    }
}

EditingView::State ModTableWindow::editState() const
{
    State state;
    const QUndoStack *history = m_mod->history();
    state.undo = history->canUndo();
    state.redo = history->canRedo();
    state.undoText = history->undoText();
    state.redoText = history->redoText();
    const bool cells = !selectedCells().isEmpty();
    state.copy = tableView()->selectionModel()->hasSelection();
    state.cut = cells;
    state.remove = cells;
    state.selectAll = table()->unitCount() > 0;
    state.find = true;
    state.replace = true;
    state.goToDefinition = canGoToDefinition();
    state.save = true;
    return state;
}

// A table step is undone in every file it changed, or, when a file has been changed since in its
// own window, not at all, and the user is told why.
void ModTableWindow::undo()
{
    if (const QString blocker = table()->undoBlocker(); !blocker.isEmpty()) {
        m_dialogs.message(this, blocker, QStringLiteral("Undo"), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    m_mod->history()->undo();
}

void ModTableWindow::redo()
{
    if (const QString blocker = table()->redoBlocker(); !blocker.isEmpty()) {
        m_dialogs.message(this, blocker, QStringLiteral("Redo"), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    m_mod->history()->redo();
}

void ModTableWindow::copy()
{
    const QString text = currentPage()->selectionText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void ModTableWindow::cut()
{
    copy();
    clearSelectedCells();
}

void ModTableWindow::selectAll()
{
    tableView()->selectAll();
}

// Find filters the table: the filter box takes the keyboard.
void ModTableWindow::find()
{
    m_filter->setFocus();
    m_filter->selectAll();
}

void ModTableWindow::tellRefused(const QString &title, const QStringList &refused)
{
    if (refused.isEmpty())
        return;
    QString text = QStringLiteral("Some cells were left as they were:");
    for (qsizetype index = 0; index < std::min<qsizetype>(refused.size(), FailuresNamed); ++index)
        text += QStringLiteral("\r\n") + refused[index];
    if (refused.size() > FailuresNamed)
        text += QStringLiteral("\r\nand %1 more").arg(refused.size() - FailuresNamed);
    m_dialogs.message(this, text, title, QMessageBox::Ok, QMessageBox::Warning);
}

void ModTableWindow::load(const QString &folder)
{
    setWindowTitle(folderName(folder));
    m_status->setText(QStringLiteral("Reading the mod's files..."));
    m_progress->setRange(0, 0);
    m_progress->show();
    m_mod->load(folder);
}

void ModTableWindow::showLoaded()
{
    m_progress->hide();
    setWindowTitle(QStringLiteral("%1 - %2 units, %3 weapons, %4 features")
                       .arg(folderName(m_mod->folder()))
                       .arg(m_mod->units()->unitCount())
                       .arg(m_mod->weapons()->unitCount())
                       .arg(m_mod->features()->unitCount()));
    updateTabTitles();
    m_errors->clear();
    for (const UnreadableFile &failure : m_mod->unreadableFiles()) {
        auto *item = new QListWidgetItem(failure.relativePath + QStringLiteral(": ") + failure.reason, m_errors);
        item->setToolTip(failure.path);
    }
    m_errorPanel->setTitle(QStringLiteral("Files that could not be read: %1").arg(m_errors->count()));
    m_errorPanel->setVisible(m_errors->count() > 0);
    // The panels take the room of a few of their lines and leave the rest to the table.
    const int problemLines = std::clamp(int(m_mod->problems().size()), 2, ProblemLinesShown);
    const int problemsHeight = m_problems->sizeHint().height() - m_problems->view()->sizeHint().height()
                               + (problemLines + 1) * m_problems->view()->verticalHeader()->defaultSectionSize() + 8;
    int errorsHeight = 0;
    if (m_errors->count() > 0) {
        const int lines = std::min(m_errors->count(), ErrorLinesShown);
        errorsHeight = m_errorPanel->sizeHint().height() - m_errors->sizeHint().height() + lines * m_errors->sizeHintForRow(0)
                       + 2 * m_errors->frameWidth() + 4;
    }
    m_split->setSizes({std::max(0, m_split->height() - problemsHeight - errorsHeight), problemsHeight, errorsHeight});
    for (ModTablePage *page : std::as_const(m_pages))
        page->fitColumns();
    // A mod with no units but weapons opens on its weapons.
    if (m_mod->units()->unitCount() == 0) {
        for (ModTablePage *page : std::as_const(m_pages)) {
            if (page->table()->unitCount() > 0) {
                m_tabs->setCurrentWidget(page);
                break;
            }
        }
    }
    updateStatus();
    emit editStateChanged();
}

void ModTableWindow::updateTabTitles()
{
    for (int index = 0; index < m_pages.size(); ++index) {
        const ModTable *table = m_pages[index]->table();
        m_tabs->setTabText(index, QStringLiteral("%1 (%2)").arg(rowsWord(table->kind())).arg(table->unitCount()));
    }
}

void ModTableWindow::updateStatus()
{
    if (m_mod->isLoading())
        return;
    const ModTable *shown = table();
    m_status->setText(QStringLiteral("%1 of %2 %3 shown, %4 variables; %5 files changed")
                          .arg(shownTable()->rowCount())
                          .arg(shown->unitCount())
                          .arg(rowsWord(shown->kind()).toLower())
                          .arg(shown->keyColumnCount() - ModTable::FirstKeyColumn)
                          .arg(changedDocuments().size()));
    updateTabTitles();
}

// A unit opens in its own window; a weapon or a feature opens at its section.
void ModTableWindow::openRow(int row)
{
    const ModTable *shown = table();
    Document *document = row >= 0 && row < shown->unitCount() ? shown->document(row) : nullptr;
    if (!document)
        return;
    if (shown->sectionRow(row) >= 0)
        emit documentRowRequested(document, shown->sectionRow(row));
    else
        emit documentRequested(document);
}

void ModTableWindow::openProblem(const QString &path, int line)
{
    Document *document = m_documents.findByPath(path);
    if (!document) {
        emit statusMessage(QStringLiteral("%1 could not be read.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    emit documentRowRequested(document, rowAtLine(*document, line));
}

bool ModTableWindow::canGoToDefinition() const
{
    const QModelIndex cell = currentPage()->currentCell();
    if (!cell.isValid())
        return false;
    const ModTable *shown = table();
    const int row = shown->documentRow(cell.row(), m_mod->referenceColumn(shown, cell.column()));
    return row >= 0 && m_mod->namesDefinition(shown->document(cell.row()), row);
}

void ModTableWindow::goToDefinition()
{
    goToDefinition(currentPage()->currentCell());
}

void ModTableWindow::goToDefinition(const QModelIndex &cell)
{
    const auto *shown = qobject_cast<const ModTable *>(cell.model());
    if (!shown)
        return;
    const int column = m_mod->referenceColumn(shown, cell.column());
    const int row = shown->documentRow(cell.row(), column);
    if (row < 0 || !m_mod->namesDefinition(shown->document(cell.row()), row)) {
        emit statusMessage(column < 0 ? QStringLiteral("The cell names no other definition.")
                                      : QStringLiteral("%1 of %2 names no other definition.").arg(shown->key(column), shown->unitName(cell.row())));
        return;
    }
    goToDefinitionOf(shown->document(cell.row()), row);
}

bool ModTableWindow::namesDefinition(const Document *document, int row) const
{
    return m_mod->holds(document) && m_mod->namesDefinition(document, row);
}

void ModTableWindow::goToDefinitionOf(const Document *document, int row)
{
    const Mod::Target target = m_mod->definitionOf(document, row);
    if (!target.isReference) {
        emit statusMessage(document && row >= 0 && row < document->rowCount()
                               ? QStringLiteral("%1 names no other definition.").arg(document->name(row).trimmed())
                               : QStringLiteral("Nothing is selected that names another definition."));
        return;
    }
    if (!target.found) {
        emit statusMessage(target.message);
        return;
    }
    if (!target.place.document) {
        emit statusMessage(QStringLiteral("%1 is there; it is not a definition file to open here.").arg(target.message));
        return;
    }
    // The mod holds its documents as its own; the set gives the one to edit.
    Document *found = m_documents.findByPath(target.place.document->filePath());
    if (!found)
        return;
    emit statusMessage(QStringLiteral("Went to %1.").arg(target.message));
    emit documentRowRequested(found, target.place.row);
}

void ModTableWindow::replace()
{
    if (m_replaceDialog) {
        m_replaceDialog->raise();
        m_replaceDialog->activateWindow();
        return;
    }
    auto finder = [this](const ModReplace &replace, bool selectionOnly) {
        if (!selectionOnly)
            return replace.changes(QList<const ModTable *>{m_mod->units(), m_mod->weapons(), m_mod->features()});
        QList<ModReplace::Cell> cells;
        for (const QModelIndex &cell : selectedCells())
            cells.append(ModReplace::Cell{table(), cell.row(), cell.column()});
        return replace.changes(cells);
    };
    m_replaceDialog = new ModReplaceDialog(finder, !selectedCells().isEmpty(), this);
    m_replaceDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_replaceDialog, &ModReplaceDialog::applyRequested, this,
            [this](const QList<TableChange> &changes) { applyChanges(changes, QStringLiteral("Replace")); });
    m_replaceDialog->show();
}

void ModTableWindow::importTable()
{
    const QString startFolder = m_commands ? m_commands->startFolder(FileCommands::FolderKind::Tables)
                                           : QFileInfo(m_mod->folder()).absolutePath();
    const QStringList files = m_dialogs.fileDialog(
        this, FileDialogRequest{FileDialogRequest::Mode::Open, QStringLiteral("Import Table..."),
                                {QStringLiteral("CSV Files(*.csv)"), QStringLiteral("All Files(*.*)")}, 0,
                                QStringLiteral("csv"), startFolder, QString()});
    if (files.isEmpty())
        return;
    const QString chosen = files.constFirst();
    if (m_commands)
        m_commands->rememberFolder(FileCommands::FolderKind::Tables, QFileInfo(chosen).absolutePath());
    QFile file(chosen);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.message(this, QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(chosen), file.errorString()),
                          QStringLiteral("Import Table"), QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    const CsvTable read = readCsv(file.readAll());
    const TableImport::Result result = read.error.isEmpty() ? TableImport::changes(*table(), read.rows) : TableImport::Result{};
    const QString error = !read.error.isEmpty() ? read.error : result.error;
    if (!error.isEmpty()) {
        m_dialogs.message(this, QStringLiteral("%1 cannot be imported into the %2 table. %3")
                                    .arg(QDir::toNativeSeparators(chosen), rowsWord(table()->kind()), error),
                          QStringLiteral("Import Table"), QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    showToolDialog(new ImportDialog(result, chosen, this), QStringLiteral("Import Table"));
}

void ModTableWindow::askToAddKey()
{
    askToChangeKey(KeyChangeDialog::Mode::Add);
}

void ModTableWindow::askToRemoveKey()
{
    askToChangeKey(KeyChangeDialog::Mode::Remove);
}

void ModTableWindow::askToChangeKey(KeyChangeDialog::Mode mode)
{
    const bool adding = mode == KeyChangeDialog::Mode::Add;
    const QList<int> rows = currentPage()->selectedRows();
    if (rows.isEmpty()) {
        emit statusMessage(adding ? QStringLiteral("Select the rows to add a key to.")
                                  : QStringLiteral("Select the rows to remove a key from."));
        return;
    }
    auto *dialog = new KeyChangeDialog(mode, table(), rows, this);
    // The key of the column the keyboard is on is the one most likely meant for removal.
    if (const QModelIndex current = currentPage()->currentCell();
        !adding && current.isValid() && table()->isKeyColumn(current.column()))
        dialog->txtKey()->setText(table()->key(current.column()));
    showToolDialog(dialog, adding ? QStringLiteral("Add Key") : QStringLiteral("Remove Key"));
}

void ModTableWindow::compareSelectedRows()
{
    const QList<int> rows = currentPage()->selectedRows();
    if (rows.size() < 2) {
        emit statusMessage(QStringLiteral("Select two or more rows to compare them."));
        return;
    }
    showToolDialog(new CompareDialog(table(), rows, this), QStringLiteral("Copy Values"));
}

ModTable::EditResult ModTableWindow::applyChanges(const QList<TableChange> &changes, const QString &stepName)
{
    const ModTable::EditResult result = m_mod->units()->applyChanges(changes, stepName);
    tellRefused(stepName, result.refused);
    emit statusMessage(QStringLiteral("%1: %2 values changed in %3 files.").arg(stepName).arg(result.cells).arg(result.units));
    return result;
}

QModelIndexList ModTableWindow::selectedCells() const
{
    return currentPage()->selectedCells();
}

void ModTableWindow::askAndSetValues()
{
    const QModelIndexList cells = selectedCells();
    if (cells.isEmpty())
        return;
    const std::optional<QString> value = m_dialogs.textInput(
        this, QStringLiteral("Set Value"),
        QStringLiteral("Value of %1 (%2 cells):").arg(table()->key(cells.first().column())).arg(cells.size()),
        cells.first().data(Qt::EditRole).toString());
    if (value)
        tellRefused(QStringLiteral("Set Value"), table()->setValues(cells, *value).refused);
}

void ModTableWindow::askAndScale()
{
    const QModelIndexList cells = selectedCells();
    if (cells.isEmpty())
        return;
    const std::optional<QString> typed = m_dialogs.textInput(this, QStringLiteral("Scale by"),
                                                             QStringLiteral("Multiply the numbers of %1 (%2 cells) by:")
                                                                 .arg(table()->key(cells.first().column()))
                                                                 .arg(cells.size()),
                                                             QStringLiteral("1"));
    if (!typed)
        return;
    const QString text = *typed;
    const std::optional<double> factor = factorOf(text);
    if (!factor) {
        m_dialogs.message(this, QStringLiteral("\"%1\" is not a number.").arg(text), QStringLiteral("Scale by"),
                          QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    const ModTable::EditResult scaled = table()->scaleValues(cells, *factor);
    tellRefused(QStringLiteral("Scale by"), scaled.refused);
    if (scaled.cells == 0 && scaled.refused.isEmpty()) {
        m_dialogs.message(this, QStringLiteral("None of the selected cells holds a number."),
                          QStringLiteral("Scale by"), QMessageBox::Ok, QMessageBox::Information);
    }
}

void ModTableWindow::clearSelectedCells()
{
    const QModelIndexList cells = selectedCells();
    if (!cells.isEmpty())
        tellRefused(QStringLiteral("Delete"), table()->setValues(cells, QString(), QStringLiteral("Delete")).refused);
}

QList<Document *> ModTableWindow::changedDocuments() const
{
    return m_mod->changedDocuments();
}

bool ModTableWindow::saveAll(bool onlyFilesWithoutWindows)
{
    const QList<ModTable::SaveFailure> failures = m_mod->saveAll([this, onlyFilesWithoutWindows](const Document *document) {
        return !onlyFilesWithoutWindows || !m_documents.isOpen(document);
    });
    if (failures.isEmpty())
        return true;
    QString text = QStringLiteral("Cannot save these files:");
    for (qsizetype index = 0; index < std::min<qsizetype>(failures.size(), FailuresNamed); ++index) {
        text += QStringLiteral("\r\n") + failures[index].path;
        if (!failures[index].reason.isEmpty())
            text += QStringLiteral(" (") + failures[index].reason + QLatin1Char(')');
    }
    if (failures.size() > FailuresNamed)
        text += QStringLiteral("\r\nand %1 more").arg(failures.size() - FailuresNamed);
    text += QStringLiteral("\r\nPlease check the file paths and try again. The other changed files were saved.");
    m_dialogs.message(this, text, QStringLiteral("Error Saving Files"), QMessageBox::Ok, QMessageBox::Critical);
    return false;
}

bool ModTableWindow::saveAllAsked()
{
    const QList<Document *> changed = changedDocuments();
    if (changed.isEmpty()) {
        emit statusMessage(QStringLiteral("No file of %1 has changed.").arg(folderName(m_mod->folder())));
        return true;
    }
    if (m_saveAllPreview) {
        SaveAllDialog preview(SavePreview::of(changed, m_documents.saveLayout()), m_mod->folder(), this);
        if (preview.exec() != QDialog::Accepted)
            return false;
        if (preview.chkDontAsk()->isChecked()) {
            m_saveAllPreview = false;
            emit saveAllPreviewTurnedOff();
        }
    }
    return saveAll();
}

void ModTableWindow::exportTable()
{
    const QString startFolder = m_commands ? m_commands->startFolder(FileCommands::FolderKind::Tables)
                                           : QFileInfo(m_mod->folder()).absolutePath();
    const QString suffix = table()->kind() == ModTable::Kind::Units ? QString() : QLatin1Char(' ') + rowsWord(table()->kind()).toLower();
    QString start = QDir(startFolder).filePath(folderName(m_mod->folder()) + suffix + QStringLiteral(".csv"));
    // Excel needs the mark to read the text as UTF-8; other programs show it as stray characters.
    bool byteOrderMark = false;
    for (;;) {
        FileDialogRequest request{FileDialogRequest::Mode::Save, QStringLiteral("Export Table..."),
                                  {QStringLiteral("CSV Files(*.csv)"), QStringLiteral("All Files(*.*)")}, 0,
                                  QStringLiteral("csv"), QString(), start};
        request.checkBoxText = QStringLiteral("Begin with a byte order &mark (for Excel)");
        request.checkBox = &byteOrderMark;
        const QStringList files = m_dialogs.fileDialog(this, request);
        if (files.isEmpty())
            return;
        const QString chosen = files.constFirst();
        start = chosen;
        if (QFileInfo::exists(chosen) && !confirmReplacing(m_dialogs, this, chosen, QStringLiteral("Export Table...")))
            continue;
        if (m_commands)
            m_commands->rememberFolder(FileCommands::FolderKind::Tables, QFileInfo(chosen).absolutePath());
        const WriteOutcome exported = writeCsvFile(chosen, shownTable()->shownRows(), byteOrderMark);
        if (!exported.ok) {
            m_dialogs.message(this, cannotSaveText(chosen, exported.reason), QStringLiteral("Error Exporting Table"),
                              QMessageBox::Ok, QMessageBox::Critical);
        }
        return;
    }
}

// True when the window may close: nothing changed, the changes are dropped, or all were saved.
bool ModTableWindow::askToSave()
{
    // A file open in a window of its own keeps its changes there, and that window asks.
    qsizetype changed = 0;
    for (Document *document : changedDocuments())
        changed += m_documents.isOpen(document) ? 0 : 1;
    if (changed == 0)
        return true;
    const MessageBoxRequest question{
        changed == 1 ? QStringLiteral("1 file of %1 has changed.\r\nDo you wish to save it before closing the table?")
                           .arg(folderName(m_mod->folder()))
                     : QStringLiteral("%1 files of %2 have changed.\r\nDo you wish to save them before closing the table?")
                           .arg(changed)
                           .arg(folderName(m_mod->folder())),
        QStringLiteral("Save before Closing"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes, QMessageBox::Information, QMessageBox::Cancel};
    switch (m_dialogs.messageBox(this, question)) {
    case QMessageBox::Yes:
        return saveAll(true);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void ModTableWindow::closeEvent(QCloseEvent *event)
{
    if (!askToSave()) {
        event->ignore();
        return;
    }
    // The files go now, with the windows of their documents, so that none of them asks again.
    m_mod->clear();
    QMdiSubWindow::closeEvent(event);
}
