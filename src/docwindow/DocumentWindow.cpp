#include "docwindow/DocumentWindow.h"

#include "commands/FileCommands.h"
#include "docwindow/MenuItems.h"
#include "docwindow/ReplaceDialog.h"
#include "documents/Document.h"
#include "documents/FbiReader.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QMdiArea>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {
// The design's panel, the frame in it and a list in the frame: the smallest they become.
constexpr QSize PanelTwips(5480, 5655);
constexpr int ListWidthTwips = 2415;
constexpr int ListHeightTwips = 4740;

const QString RemoveVariableStep = QStringLiteral("Remove Variable");

// The positions of the Edit menu's items.
enum EditItem {
    UndoItem,
    RedoItem,
    CutItem = 3,
    CopyItem,
    PasteItem,
    DeleteItem,
    AllItem,
    FindItem = 9,
    NextItem,
    ReplaceItem,
    OptionsItem = 13
};
}

QString shownTitle(const QMdiSubWindow *window)
{
    if (const auto *documentWindow = qobject_cast<const DocumentWindow *>(window); documentWindow && documentWindow->document()) {
        const Document *document = documentWindow->document();
        return document->title() + (document->isModified() ? QStringLiteral("*") : QString());
    }
    return window->windowTitle();
}

DocumentWindow::DocumentWindow(Document *document, FileCommands &commands, Dialogs &dialogs, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_document(document)
    , m_commands(commands)
    , m_dialogs(dialogs)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-16.png")));
    createPanel();
    createMenus();
    updateTitle();
    connect(document, &Document::titleChanged, this, &DocumentWindow::updateTitle);
    connect(document, &Document::modifiedChanged, this, &DocumentWindow::updateTitle);
    connect(document->history(), &QUndoStack::indexChanged, this, &DocumentWindow::updateEditActions);
    connect(document, &Document::rowsEdited, this, [this](const QList<int> &rows) {
        if (!rows.isEmpty())
            selectRows(rows);
    });
    // The clipboard is read when it changes, not at every move of the selection: another program
    // may own it, and asking it takes a round trip.
    auto readClipboard = [this] {
        m_clipboardHasRows = !parseRows(QApplication::clipboard()->text().toLatin1()).isEmpty();
        updateEditActions();
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);
    // A window whose document leaves the set some other way goes with it.
    connect(document, &QObject::destroyed, this, [this] {
        m_document = nullptr;
        deleteLater();
    });
    readClipboard();
    resize(sizeHint());
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::createPanel()
{
    m_scrBorder = new QScrollArea;
    m_scrBorder->setObjectName(QStringLiteral("scrBorder"));
    m_scrBorder->setWidgetResizable(true);
    m_scrBorder->setFrameShape(QFrame::NoFrame);

    // The panel fills the window; below the design's size the window scrolls instead.
    m_picChild = new QWidget;
    m_picChild->setObjectName(QStringLiteral("picChild"));
    m_picChild->setMinimumSize(Twips::size(PanelTwips.width(), PanelTwips.height()));
    m_scrBorder->setWidget(m_picChild);

    m_frmFBIFile = new QGroupBox(QStringLiteral("FBI File Data"));
    m_frmFBIFile->setObjectName(QStringLiteral("frmFBIFile"));
    auto *panelLayout = new QHBoxLayout(m_picChild);
    panelLayout->setContentsMargins(Twips::toPixels(120), Twips::toPixels(120), Twips::toPixels(120), Twips::toPixels(120));
    panelLayout->addWidget(m_frmFBIFile);

    auto makeList = [this](const char *name, int column) {
        auto *list = new QListView;
        list->setObjectName(QLatin1String(name));
        list->setModel(m_document);
        list->setModelColumn(column);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setUniformItemSizes(true);
        list->setMinimumSize(Twips::size(ListWidthTwips, ListHeightTwips));
        list->setTextElideMode(Qt::ElideRight);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        return list;
    };
    m_lstVars = makeList("lstVars", Document::NameColumn);
    m_lstVals = makeList("lstVals", Document::ValueColumn);
    // One selection for both lists: a row selected in either is selected in both.
    QItemSelectionModel *selection = m_lstVars->selectionModel();
    QItemSelectionModel *own = m_lstVals->selectionModel();
    m_lstVals->setSelectionModel(selection);
    delete own;
    connect(selection, &QItemSelectionModel::selectionChanged, this, &DocumentWindow::selectionMoved);
    connect(selection, &QItemSelectionModel::currentRowChanged, this, &DocumentWindow::selectionMoved);
    // And one scroll position: the same row at the top of both.
    QScrollBar *names = m_lstVars->verticalScrollBar();
    QScrollBar *values = m_lstVals->verticalScrollBar();
    connect(names, &QScrollBar::valueChanged, values, &QScrollBar::setValue);
    connect(values, &QScrollBar::valueChanged, names, &QScrollBar::setValue);

    // The names keep the width their longest name needs; the values take the rest.
    m_lstVars->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    m_lstVals->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(m_document, &QAbstractItemModel::modelReset, this, [this] {
        m_nameWidth = 0;
        fitNameList(0, m_document->rowCount() - 1);
    });
    connect(m_document, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { fitNameList(first, last); });
    fitNameList(0, m_document->rowCount() - 1);

    auto *listsLayout = new QHBoxLayout(m_frmFBIFile);
    listsLayout->addWidget(m_lstVars, 0);
    listsLayout->addWidget(m_lstVals, 1);

    setWidget(m_scrBorder);
    setFocusProxy(m_lstVars);
}

// Only the longest names can be the widest: measuring each of a large file's names would take long.
void DocumentWindow::fitNameList(int first, int last)
{
    qsizetype longest = 0;
    for (int row = first; row <= last; ++row)
        longest = std::max(longest, m_document->content().nameBytes(row).size());
    const QFontMetrics metrics = m_lstVars->fontMetrics();
    int widest = m_nameWidth;
    int measured = 0;
    for (int row = first; row <= last && measured < 64; ++row) {
        if (m_document->content().nameBytes(row).size() + 8 >= longest) {
            widest = std::max(widest, metrics.horizontalAdvance(m_document->name(row)));
            ++measured;
        }
    }
    m_nameWidth = widest;
    const int chrome = m_lstVars->verticalScrollBar()->sizeHint().width() + 2 * m_lstVars->frameWidth() + 12;
    m_lstVars->setFixedWidth(std::clamp(widest + chrome, Twips::toPixels(ListWidthTwips), Twips::toPixels(2 * ListWidthTwips)));
}

void DocumentWindow::createMenus()
{
    QMenu *mnuFile = addMenu(this, m_menus, "mnuFile", QStringLiteral("&File"));
    const QList<QAction *> file = addMenuItems(mnuFile, {
        {"mnuFile_New", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuFile_Open", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuFile_OpenFolder", "Open &Folder...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
        {"mnuFile_Close", "&Close"},
        {"Seperator2", nullptr},
        {"mnuFile_Save", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuFile_SaveAs", "Save &As..."},
        {"Seperator3", nullptr},
        {"mnuFile_Exit", "E&xit"},
    });
    connect(file[0], &QAction::triggered, &m_commands, &FileCommands::newDocument);
    connect(file[1], &QAction::triggered, &m_commands, &FileCommands::open);
    connect(file[2], &QAction::triggered, this, &DocumentWindow::openFolderRequested);
    connect(file[3], &QAction::triggered, this, &QWidget::close);
    connect(file[5], &QAction::triggered, this, [this] { m_commands.save(m_document); });
    connect(file[6], &QAction::triggered, this, [this] { m_commands.saveAs(m_document); });
    connect(file[8], &QAction::triggered, this, &DocumentWindow::exitRequested);

    QMenu *mnuEdit = addMenu(this, m_menus, "mnuEdit", QStringLiteral("&Edit"));
    m_editActions = addEditMenuItems(mnuEdit);
    connect(m_editActions[UndoItem], &QAction::triggered, this, [this] { m_document->history()->undo(); });
    connect(m_editActions[RedoItem], &QAction::triggered, this, [this] { m_document->history()->redo(); });
    connect(m_editActions[CutItem], &QAction::triggered, this, &DocumentWindow::cut);
    connect(m_editActions[CopyItem], &QAction::triggered, this, &DocumentWindow::copy);
    connect(m_editActions[PasteItem], &QAction::triggered, this, &DocumentWindow::paste);
    connect(m_editActions[DeleteItem], &QAction::triggered, this, &DocumentWindow::deleteSelectedVariables);
    connect(m_editActions[AllItem], &QAction::triggered, this, &DocumentWindow::selectAll);
    connect(m_editActions[FindItem], &QAction::triggered, this, &DocumentWindow::find);
    connect(m_editActions[NextItem], &QAction::triggered, this, &DocumentWindow::findNext);
    connect(m_editActions[ReplaceItem], &QAction::triggered, this, &DocumentWindow::replace);
    connect(m_editActions[OptionsItem], &QAction::triggered, this, &DocumentWindow::optionsRequested);

    m_mnuWindow = addMenu(this, m_menus, "mnuWindow", QStringLiteral("&Window"));
    const QList<QAction *> window = addMenuItems(m_mnuWindow, {
        {"mnuWindow_Action", "&Cascade"},
        {"mnuWindow_Action", "Tile &Horizontal"},
        {"mnuWindow_Action", "Tile &Vertical"},
        {"mnuWindow_Action", "Arrange &Icons"},
    });
    for (int index = 0; index < window.size(); ++index) {
        window[index]->setData(index);
        connect(window[index], &QAction::triggered, this, [this, index] { emit arrangeRequested(index); });
    }
    connect(m_mnuWindow, &QMenu::aboutToShow, this, &DocumentWindow::fillWindowList);

    QMenu *mnuHelp = addMenu(this, m_menus, "mnuHelp", QStringLiteral("&Help"));
    const QList<QAction *> help = addMenuItems(mnuHelp, {
        {"mnuHelp_Help", "Help &Topics..."},
        {"Seperator7", nullptr},
        {"mnuHelp_About", "&About..."},
    });
    connect(help[0], &QAction::triggered, this, &DocumentWindow::helpTopicsRequested);
    connect(help[2], &QAction::triggered, this, &DocumentWindow::aboutRequested);
}

// The Window menu ends with the open document windows; the active one is checked.
void DocumentWindow::fillWindowList()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    QMdiArea *area = mdiArea();
    if (!area)
        return;
    const QList<QMdiSubWindow *> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_windowListActions.append(m_mnuWindow->addSeparator());
    int position = 0;
    for (QMdiSubWindow *window : windows) {
        ++position;
        const QString prefix = position < 10 ? QStringLiteral("&%1 ").arg(position) : QStringLiteral("%1 ").arg(position);
        QAction *action = m_mnuWindow->addAction(prefix + shownTitle(window));
        action->setCheckable(true);
        action->setChecked(window == area->currentSubWindow());
        connect(action, &QAction::triggered, area, [area, window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                area->setActiveSubWindow(window);
        });
        m_windowListActions.append(action);
    }
}

QSize DocumentWindow::sizeHint() const
{
    const QSize design = QMdiSubWindow::sizeHint() - m_scrBorder->sizeHint() + Twips::size(7680, 7080);
    const QMdiArea *area = mdiArea();
    return area ? design.boundedTo(area->viewport()->size()) : design;
}

void DocumentWindow::updateTitle()
{
    if (!m_document)
        return;
    setWindowTitle(m_document->title() + QStringLiteral("[*]"));
    setWindowModified(m_document->isModified());
    setToolTip(m_document->filePath());
}

int DocumentWindow::selectedRow() const
{
    const QItemSelectionModel *selection = m_lstVars->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row()))
        return current.row();
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst();
}

QList<int> DocumentWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_lstVars->selectionModel()->selectedRows(Document::NameColumn))
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DocumentWindow::selectRows(const QList<int> &rows)
{
    QItemSelectionModel *selection = m_lstVars->selectionModel();
    QItemSelection wanted;
    for (int row : rows) {
        if (row >= 0 && row < m_document->rowCount())
            wanted.select(m_document->index(row, Document::NameColumn), m_document->index(row, Document::ValueColumn));
    }
    if (wanted.isEmpty()) {
        selection->clear();
        return;
    }
    const QModelIndex first = wanted.constFirst().topLeft();
    selection->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    m_lstVars->scrollTo(first);
}

// Shows the help of the name on the row the user moved to.
void DocumentWindow::selectionMoved()
{
    updateEditActions();
    if (const int row = selectedRow(); row >= 0)
        emit helpRequested(m_document->name(row));
}

DocumentWindow::EditState DocumentWindow::editState() const
{
    EditState state;
    if (!m_document)
        return state;
    const QUndoStack *history = m_document->history();
    state.undo = history->canUndo();
    state.redo = history->canRedo();
    state.undoText = history->undoText();
    state.redoText = history->redoText();
    state.selection = selectedRow() >= 0;
    state.paste = m_clipboardHasRows;
    state.rows = m_document->rowCount() > 0;
    return state;
}

void DocumentWindow::updateEditActions()
{
    const EditState state = editState();
    m_editActions[UndoItem]->setEnabled(state.undo);
    m_editActions[UndoItem]->setText(state.undo ? QStringLiteral("&Undo ") + state.undoText : QStringLiteral("&Undo"));
    m_editActions[RedoItem]->setEnabled(state.redo);
    m_editActions[RedoItem]->setText(state.redo ? QStringLiteral("R&edo ") + state.redoText : QStringLiteral("R&edo"));
    for (int item : {CutItem, CopyItem, DeleteItem})
        m_editActions[item]->setEnabled(state.selection);
    m_editActions[PasteItem]->setEnabled(state.paste);
    m_editActions[AllItem]->setEnabled(state.rows);
    for (int item : {FindItem, NextItem, ReplaceItem})
        m_editActions[item]->setEnabled(m_document != nullptr);
    emit editStateChanged();
}

void DocumentWindow::deleteSelectedVariables()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        // Nothing was removed, yet the document counts as changed, as it always has.
        m_document->markModified();
        return;
    }
    // The lists are left with no selection; with a current row the list would select the next one.
    m_lstVars->selectionModel()->clear();
    m_document->removeRows(rows, RemoveVariableStep);
}

void DocumentWindow::copy()
{
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty())
        QApplication::clipboard()->setText(unitFileLines(m_document->rows(rows)));
}

void DocumentWindow::cut()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    copy();
    m_lstVars->selectionModel()->clear();
    m_document->removeRows(rows, QStringLiteral("Cut"));
}

// The rows of the clipboard's text go after the selected row, or at the end, and are selected.
void DocumentWindow::paste()
{
    const QList<FbiRow> rows = parseRows(QApplication::clipboard()->text().toLatin1());
    if (rows.isEmpty())
        return;
    const QList<int> selected = selectedRows();
    const int at = selected.isEmpty() ? m_document->rowCount() : selected.constLast() + 1;
    m_document->insertRows(at, rows, QStringLiteral("Paste"));
}

void DocumentWindow::selectAll()
{
    m_lstVars->selectAll();
}

void DocumentWindow::find()
{
    const std::optional<QString> text =
        m_dialogs.textInput(window(), QStringLiteral("Find"), QStringLiteral("Find a variable or value:"), m_findText);
    if (!text || text->isEmpty())
        return;
    m_findText = *text;
    findFrom(std::max(selectedRow(), 0));
}

void DocumentWindow::findNext()
{
    if (m_findText.isEmpty())
        find();
    else
        findFrom(selectedRow() + 1);
}

bool DocumentWindow::findFrom(int from)
{
    const int row = m_document->findRow(m_findText, from);
    if (row < 0) {
        emit statusMessage(QStringLiteral("\"") + m_findText + QStringLiteral("\" was not found."));
        return false;
    }
    selectRow(row);
    emit statusMessage(QString());
    return true;
}

void DocumentWindow::replace()
{
    if (!m_replaceDialog) {
        m_replaceDialog = new ReplaceDialog(window());
        m_replaceDialog->setFindText(m_findText);
        connect(m_replaceDialog, &ReplaceDialog::findNextRequested, this, [this](const QString &text) {
            m_findText = text;
            findFrom(selectedRow() + 1);
        });
        connect(m_replaceDialog, &ReplaceDialog::replaceRequested, this, [this](const QString &text, const QString &with) {
            m_findText = text;
            const int row = selectedRow();
            if (row >= 0 && m_document->value(row).contains(text, Qt::CaseInsensitive)) {
                QString value = m_document->value(row);
                m_document->setValue(row, value.replace(text, with, Qt::CaseInsensitive));
            }
            const int next = m_document->findValueRow(text, row + 1);
            if (next >= 0)
                selectRow(next);
            else
                emit statusMessage(QStringLiteral("\"") + text + QStringLiteral("\" was not found."));
        });
        connect(m_replaceDialog, &ReplaceDialog::replaceAllRequested, this, [this](const QString &text, const QString &with) {
            m_findText = text;
            const int changed = m_document->replaceInValues(text, with);
            emit statusMessage(changed == 1 ? QStringLiteral("1 value changed.")
                                            : QStringLiteral("%1 values changed.").arg(changed));
        });
    }
    m_replaceDialog->show();
    m_replaceDialog->raise();
    m_replaceDialog->activateWindow();
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool onList = watched == m_lstVars || watched == m_lstVals;
    const bool onViewport = watched == m_lstVars->viewport() || watched == m_lstVals->viewport();
    if (onViewport && event->type() == QEvent::MouseButtonDblClick) {
        if (selectedRow() >= 0)
            emit valueEditRequested();
        return true;
    }
    if (onList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && selectedRow() >= 0) {
            emit valueEditRequested();
            return true;
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

// True when the window may close: the document is unchanged, the user declined to save, or it was
// saved. Escape and the close box at the question keep the window open with its changes.
bool DocumentWindow::askToSave()
{
    if (!m_document || !m_document->isModified())
        return true;
    MessageBoxRequest question{QStringLiteral("The data in ") + m_document->title()
                                   + QStringLiteral(" has changed.\r\nDo you wish to save before closing the file?"),
                               QStringLiteral("Save before Closing"), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes, QMessageBox::Information, QMessageBox::Cancel};
    switch (m_dialogs.messageBox(window(), question)) {
    case QMessageBox::No:
        return true;
    case QMessageBox::Yes:
        return m_commands.save(m_document);
    default:
        return false;
    }
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved changes are never lost: a Yes whose save did not happen keeps the window open.
    if (!askToSave()) {
        event->ignore();
        return;
    }
    if (m_replaceDialog)
        m_replaceDialog->close();
    if (m_document) {
        disconnect(m_document, nullptr, this, nullptr);
        m_commands.close(m_document);
        m_document = nullptr;
    }
    QMdiSubWindow::closeEvent(event);
}
