#include "modwindow/ModTableWindow.h"

#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "documents/FbiContent.h"
#include "documents/SafeWrite.h"
#include "mod/Csv.h"
#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"
#include "modwindow/ColumnChooser.h"
#include "modwindow/FrozenColumnTableView.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace {
constexpr int MinimumColumnWidth = 48;
constexpr int MaximumColumnWidth = 220;
constexpr int SampledUnits = 200;   // the units whose values set the columns' widths
constexpr int FailuresNamed = 20;   // a message names at most this many files
constexpr int ErrorLinesShown = 6;
const QString ChangedMark = QStringLiteral(" *");

// A unit with unsaved changes shows its name in bold with a star.
class UnitDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == ModTable::UnitColumn && index.data(ModTable::ModifiedRole).toBool()) {
            option->font.setBold(true);
            option->text += ChangedMark;
        }
    }
};

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
}

ModTableWindow::ModTableWindow(DocumentSet &documents, Dialogs &dialogs, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_documents(documents)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmModTable"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-16.png")));

    auto *body = new QWidget;
    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Unit, file or value (Ctrl+L)"));
    m_filter->setClearButtonEnabled(true);
    // Alt+F stays the File menu's.
    auto *filterLabel = new QLabel(QStringLiteral("F&ilter:"));
    filterLabel->setBuddy(m_filter);
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
    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_filter, 1);
    top->addWidget(columns);
    top->addWidget(setValue);
    top->addWidget(scale);

    m_view = new FrozenColumnTableView;
    m_view->setObjectName(QStringLiteral("tblUnits"));
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setHighlightSections(false);
    // A delegate per view: a shared one would hand each view the other's editors.
    m_view->setItemDelegate(new UnitDelegate(m_view));
    m_view->frozenView()->setItemDelegate(new UnitDelegate(m_view->frozenView()));
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Rows as tight as a list's, so that many units fit on the screen.
    const int rowHeight = m_view->fontMetrics().height() + 6;
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_view->frozenView()->verticalHeader()->setDefaultSectionSize(rowHeight);

    m_errors = new QListWidget;
    m_errors->setObjectName(QStringLiteral("lstErrors"));
    m_errorPanel = new QGroupBox(QStringLiteral("Files that could not be read"));
    m_errorPanel->setObjectName(QStringLiteral("fraErrors"));
    (new QVBoxLayout(m_errorPanel))->addWidget(m_errors);
    m_errorPanel->hide();
    m_split = new QSplitter(Qt::Vertical);
    m_split->addWidget(m_view);
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

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_split, 1);
    layout->addLayout(bottom);
    setWidget(body);

    // Made after the widgets, so that the views go before the table they show.
    m_table = new ModTable(documents, this);
    m_shown = new ModTableSortFilter(m_table, this);
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setModel(m_shown);
    m_view->setSortingEnabled(true);
    m_chooser = new ColumnChooser(m_shown, this);

    connect(m_filter, &QLineEdit::textChanged, m_shown, &ModTableSortFilter::setFilterText);
    connect(m_filter, &QLineEdit::returnPressed, m_view, qOverload<>(&QWidget::setFocus));
    connect(m_shown, &ModTableSortFilter::columnShownChanged, this,
            [this](int column, bool shown) { m_view->setColumnHidden(column, !shown); });
    connect(columns, &QToolButton::clicked, this,
            [this, columns] { m_chooser->popup(columns->mapToGlobal(QPoint(0, columns->height()))); });
    connect(setValue, &QToolButton::clicked, this, &ModTableWindow::askAndSetValues);
    connect(scale, &QToolButton::clicked, this, &ModTableWindow::askAndScale);
    connect(m_view, &QAbstractItemView::activated, this, &ModTableWindow::openUnit);
    connect(m_view->frozenView(), &QAbstractItemView::activated, this, &ModTableWindow::openUnit);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid() && current.column() != ModTable::UnitColumn)
            emit helpRequested(m_table->key(current.column()));
    });

    connect(m_table, &ModTable::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
        m_status->setText(QStringLiteral("Reading %1 of %2 unit files...").arg(done).arg(total));
    });
    connect(m_table, &ModTable::loaded, this, &ModTableWindow::showLoaded);
    connect(m_table, &ModTable::valueNote, this, &ModTableWindow::statusMessage);
    connect(m_table->history(), &QUndoStack::indexChanged, this, &ModTableWindow::editStateChanged);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ModTableWindow::editStateChanged);
    connect(m_table, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (roles.contains(ModTable::ModifiedRole))
                    updateStatus();
            });
    connect(m_shown, &QAbstractItemModel::rowsInserted, this, &ModTableWindow::updateStatus);
    connect(m_shown, &QAbstractItemModel::rowsRemoved, this, &ModTableWindow::updateStatus);
    connect(m_shown, &QAbstractItemModel::columnsInserted, this, &ModTableWindow::updateStatus);
    createActions();
    // The frozen column shows the same menu; its keys stay with the view, which has the focus.
    m_view->frozenView()->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_view->frozenView()->addActions(m_view->actions());
    setFocusProxy(m_view);
}

ModTableWindow::~ModTableWindow() = default;

void ModTableWindow::createActions()
{
    connect(addShortcutAction(this, QStringLiteral("Filter"), QKeySequence(Qt::CTRL | Qt::Key_L), Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, this, &ModTableWindow::find);
    // The view's own actions make its context menu; their keys work while the view has the focus.
    auto viewAction = [this](const QString &text, const QKeySequence &shortcut) {
        return addShortcutAction(m_view, text, shortcut, Qt::WidgetShortcut);
    };
    connect(viewAction(QStringLiteral("Open Unit"), QKeySequence(Qt::CTRL | Qt::Key_Return)), &QAction::triggered, this,
            [this] { openUnit(m_view->currentIndex().sibling(m_view->currentIndex().row(), ModTable::UnitColumn)); });
    connect(viewAction(QStringLiteral("Set Value..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)),
            &QAction::triggered, this, &ModTableWindow::askAndSetValues);
    connect(viewAction(QStringLiteral("Scale by..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)),
            &QAction::triggered, this, &ModTableWindow::askAndScale);
}

EditingView::State ModTableWindow::editState() const
{
    State state;
    const QUndoStack *history = m_table->history();
    state.undo = history->canUndo();
    state.redo = history->canRedo();
    state.undoText = history->undoText();
    state.redoText = history->redoText();
    const bool cells = !selectedCells().isEmpty();
    state.copy = m_view->selectionModel()->hasSelection();
    state.remove = cells;
    state.selectAll = m_table->unitCount() > 0;
    state.find = true;
    state.save = true;
    return state;
}

// A table step is undone in every unit it changed, or, when a unit has been changed since in its
// own window, not at all, and the user is told why.
void ModTableWindow::undo()
{
    if (const QString blocker = m_table->undoBlocker(); !blocker.isEmpty()) {
        m_dialogs.message(this, blocker, QStringLiteral("Undo"), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    m_table->history()->undo();
}

void ModTableWindow::redo()
{
    if (const QString blocker = m_table->redoBlocker(); !blocker.isEmpty()) {
        m_dialogs.message(this, blocker, QStringLiteral("Redo"), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    m_table->history()->redo();
}

// The selected cells as rows of tab-separated values, as spreadsheets take them.
void ModTableWindow::copy()
{
    const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    int top = selected.first().row();
    int bottom = top;
    int left = selected.first().column();
    int right = left;
    for (const QModelIndex &index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        QStringList fields;
        for (int column = left; column <= right; ++column) {
            if (!m_view->isColumnHidden(column))
                fields.append(m_shown->index(row, column).data().toString());
        }
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

void ModTableWindow::cut()
{
    copy();
    clearSelectedCells();
}

void ModTableWindow::selectAll()
{
    m_view->selectAll();
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
    m_status->setText(QStringLiteral("Reading unit files..."));
    m_progress->setRange(0, 0);
    m_progress->show();
    m_table->load(folder);
}

void ModTableWindow::showLoaded()
{
    m_progress->hide();
    setWindowTitle(QStringLiteral("%1 - %2 units").arg(folderName(m_table->folder())).arg(m_table->unitCount()));
    m_errors->clear();
    for (const ModTable::Failure &failure : m_table->failures()) {
        auto *item = new QListWidgetItem(failure.relativePath + QStringLiteral(": ") + failure.reason, m_errors);
        item->setToolTip(QDir(m_table->folder()).filePath(failure.relativePath));
    }
    m_errorPanel->setTitle(QStringLiteral("Files that could not be read: %1").arg(m_errors->count()));
    m_errorPanel->setVisible(m_errors->count() > 0);
    // The panel takes the room of its lines, up to a few, and leaves the rest to the table.
    if (m_errors->count() > 0) {
        const int lines = std::min(m_errors->count(), ErrorLinesShown);
        const int panel = m_errorPanel->sizeHint().height() - m_errors->sizeHint().height()
                          + lines * m_errors->sizeHintForRow(0) + 2 * m_errors->frameWidth() + 4;
        m_split->setSizes({std::max(0, m_split->height() - panel), panel});
    }
    fitColumns();
    updateStatus();
}

// Wide enough for the header and the longest value among a sample of the units, within limits; the
// unit column for every unit. Measuring every cell through the view would take longer than reading
// the mod.
void ModTableWindow::fitColumns()
{
    QHeaderView *header = m_view->horizontalHeader();
    const QFontMetrics headerMetrics(header->font());
    const QFontMetrics cellMetrics(m_view->font());
    // A changed unit's name is bold and starred, and should still fit.
    QFont bold = m_view->font();
    bold.setBold(true);
    const QFontMetrics unitMetrics(bold);
    const int headerPadding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 16;
    const int cellPadding = 2 * m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const int units = m_table->unitCount();
    for (int column = 0; column < m_shown->columnCount(); ++column) {
        const int step = column == ModTable::UnitColumn ? 1 : std::max(1, units / SampledUnits);
        QString longest;
        for (int unit = 0; unit < units; unit += step) {
            if (column == ModTable::UnitColumn) {
                if (const QString name = m_table->unitName(unit); name.size() > longest.size())
                    longest = name;
            } else if (const QByteArrayView value = m_table->valueBytes(unit, column); value.size() > longest.size()) {
                longest = fromFileText(value);
            }
        }
        const int width = std::max(headerMetrics.horizontalAdvance(m_shown->headerData(column, Qt::Horizontal).toString()) + headerPadding,
                                   column == ModTable::UnitColumn
                                       ? unitMetrics.horizontalAdvance(longest + ChangedMark) + cellPadding
                                       : cellMetrics.horizontalAdvance(longest) + cellPadding);
        header->resizeSection(column, std::clamp(width, MinimumColumnWidth, MaximumColumnWidth));
    }
}

void ModTableWindow::updateStatus()
{
    if (m_table->isLoading())
        return;
    m_status->setText(QStringLiteral("%1 of %2 units shown, %3 variables, %4 changed")
                          .arg(m_shown->rowCount())
                          .arg(m_table->unitCount())
                          .arg(m_table->columnCount() - 1)
                          .arg(m_table->changedDocuments().size()));
}

int ModTableWindow::currentUnit() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_shown->mapToSource(current).row() : -1;
}

void ModTableWindow::openUnit(const QModelIndex &index)
{
    if (!index.isValid() || index.column() != ModTable::UnitColumn)
        return;
    if (Document *document = m_table->document(m_shown->mapToSource(index).row()))
        emit documentRequested(document);
}

QModelIndexList ModTableWindow::selectedCells() const
{
    QModelIndexList cells;
    for (const QModelIndex &index : m_view->selectionModel()->selectedIndexes()) {
        if (index.column() != ModTable::UnitColumn && !m_view->isColumnHidden(index.column()))
            cells.append(m_shown->mapToSource(index));
    }
    return cells;
}

void ModTableWindow::askAndSetValues()
{
    const QModelIndexList cells = selectedCells();
    if (cells.isEmpty())
        return;
    const std::optional<QString> value = m_dialogs.textInput(
        this, QStringLiteral("Set Value"),
        QStringLiteral("Value of %1 (%2 cells):").arg(m_table->key(cells.first().column())).arg(cells.size()),
        cells.first().data(Qt::EditRole).toString());
    if (value)
        tellRefused(QStringLiteral("Set Value"), m_table->setValues(cells, *value).refused);
}

void ModTableWindow::askAndScale()
{
    const QModelIndexList cells = selectedCells();
    if (cells.isEmpty())
        return;
    const std::optional<QString> typed = m_dialogs.textInput(this, QStringLiteral("Scale by"),
                                                             QStringLiteral("Multiply the numbers of %1 (%2 cells) by:")
                                                                 .arg(m_table->key(cells.first().column()))
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
    const ModTable::EditResult scaled = m_table->scaleValues(cells, *factor);
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
        tellRefused(QStringLiteral("Delete"), m_table->setValues(cells, QString(), QStringLiteral("Delete")).refused);
}

bool ModTableWindow::saveAll(bool onlyUnitsWithoutWindows)
{
    const QList<ModTable::SaveFailure> failures = m_table->saveAll([this, onlyUnitsWithoutWindows](const Document *document) {
        return !onlyUnitsWithoutWindows || !m_documents.isOpen(document);
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

void ModTableWindow::exportTable()
{
    const QFileInfo folder(m_table->folder());
    QString start = QDir(folder.absolutePath()).filePath(folderName(m_table->folder()) + QStringLiteral(".csv"));
    for (;;) {
        const QStringList files = m_dialogs.fileDialog(
            this, FileDialogRequest{FileDialogRequest::Mode::Save, QStringLiteral("Export Table..."),
                                    {QStringLiteral("CSV Files(*.csv)"), QStringLiteral("All Files(*.*)")}, 0,
                                    QStringLiteral("csv"), QString(), start});
        if (files.isEmpty())
            return;
        const QString chosen = files.constFirst();
        start = chosen;
        if (QFileInfo::exists(chosen) && !confirmReplacing(m_dialogs, this, chosen, QStringLiteral("Export Table...")))
            continue;
        const WriteOutcome exported = writeFileSafely(chosen, csvText(m_shown->shownRows()));
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
    // A unit open in a window of its own keeps its changes there, and that window asks.
    qsizetype changed = 0;
    for (Document *document : m_table->changedDocuments())
        changed += m_documents.isOpen(document) ? 0 : 1;
    if (changed == 0)
        return true;
    const MessageBoxRequest question{
        changed == 1 ? QStringLiteral("1 unit file of %1 has changed.\r\nDo you wish to save it before closing the table?")
                           .arg(folderName(m_table->folder()))
                     : QStringLiteral("%1 unit files of %2 have changed.\r\nDo you wish to save them before closing the table?")
                           .arg(changed)
                           .arg(folderName(m_table->folder())),
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
    // The units go now, with the windows of their documents, so that none of them asks again.
    m_table->clear();
    QMdiSubWindow::closeEvent(event);
}
