#include "docwindow/DocumentWindow.h"

#include "commands/FileCommands.h"
#include "docwindow/ReplaceDialog.h"
#include "docwindow/RowDelegate.h"
#include "documents/DocumentSet.h"
#include "documents/FbiReader.h"
#include "documents/ValueRule.h"
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
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionTitleBar>

#include <algorithm>

namespace {
// The window opens at the size modders know; the names list is that wide for short names, and at
// most twice as wide for long ones.
constexpr QSize WindowTwips(7680, 7080);
constexpr int ListWidthTwips = 2415;
// Short of room, a list keeps this many characters and rows in view; only below that the window
// scrolls.
constexpr int SmallestListCharacters = 6;
constexpr int SmallestListRows = 3;

// The names list asks for the width its longest names need; short of room, it gives way as the
// values list does.
class NameList final : public QListView
{
public:
    int wantedWidth = 0;
    QSize sizeHint() const override { return QSize(wantedWidth, QListView::sizeHint().height()); }
};

const QString RemoveVariableStep = QStringLiteral("Remove Variable");
}

QString shownTitle(const QMdiSubWindow *window)
{
    if (const auto *documentWindow = qobject_cast<const DocumentWindow *>(window); documentWindow && documentWindow->document()) {
        const Document *document = documentWindow->document();
        return document->title() + (document->isModified() ? QStringLiteral("*") : QString());
    }
    return window->windowTitle().remove(QStringLiteral("[*]"));
}

DocumentWindow::DocumentWindow(Document *document, DocumentSet &documents, FileCommands &commands, Dialogs &dialogs,
                               QWidget *parent)
    : QMdiSubWindow(parent)
    , m_document(document)
    , m_documents(documents)
    , m_commands(commands)
    , m_dialogs(dialogs)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-16.png")));
    createPanel();
    updateTitle();
    connect(document, &Document::titleChanged, this, &DocumentWindow::updateTitle);
    connect(document, &Document::modifiedChanged, this, &DocumentWindow::updateTitle);
    connect(document->history(), &QUndoStack::indexChanged, this, &DocumentWindow::editStateChanged);
    connect(document, &Document::rowsEdited, this, [this](const QList<int> &rows) {
        if (!rows.isEmpty())
            selectRows(rows);
    });
    // The clipboard is read when it changes, not at every move of the selection: another program
    // may own it, and asking it takes a round trip.
    auto readClipboard = [this] {
        m_clipboardHasRows = !parseRows(QApplication::clipboard()->text().toLatin1()).isEmpty();
        emit editStateChanged();
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);
    readClipboard();
    // The keyboard starts on the first row.
    if (m_document->rowCount() > 0)
        selectRow(0);
    resize(sizeHint());
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::createPanel()
{
    m_scrBorder = new QScrollArea;
    m_scrBorder->setObjectName(QStringLiteral("scrBorder"));
    m_scrBorder->setWidgetResizable(true);
    m_scrBorder->setFrameShape(QFrame::NoFrame);
    // The lists take the keyboard; the frame around them is no stop of its own.
    m_scrBorder->setFocusPolicy(Qt::NoFocus);

    // The panel fills the window; below the smallest size of its lists the window scrolls instead.
    m_panel = new QWidget;
    m_panel->setObjectName(QStringLiteral("picChild"));
    m_scrBorder->setWidget(m_panel);

    m_frmFBIFile = new QGroupBox(QStringLiteral("FBI File Data"));
    m_frmFBIFile->setObjectName(QStringLiteral("frmFBIFile"));
    auto *panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(Twips::toPixels(120), Twips::toPixels(120), Twips::toPixels(120), Twips::toPixels(120));
    panelLayout->addWidget(m_frmFBIFile);

    auto makeList = [this](const char *name, int column) {
        QListView *list = column == Document::NameColumn ? new NameList : new QListView;
        list->setObjectName(QLatin1String(name));
        list->setModel(m_document);
        list->setModelColumn(column);
        list->setItemDelegate(new RowDelegate(list));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setUniformItemSizes(true);
        const QFontMetrics metrics = list->fontMetrics();
        const int chrome = list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth() + 4;
        list->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * SmallestListCharacters + chrome,
                             metrics.lineSpacing() * SmallestListRows + 2 * list->frameWidth() + 4);
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
    m_lstVars->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
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
    const FbiContent &content = m_document->content();
    const int indent = RowDelegate::indentStep(m_lstVars->fontMetrics());
    qsizetype longest = 0;
    for (int row = first; row <= last; ++row)
        longest = std::max(longest, content.nameBytes(row).size() + 2 * content.depth(row) + 2);
    const QFontMetrics metrics = m_lstVars->fontMetrics();
    int widest = m_nameWidth;
    int measured = 0;
    for (int row = first; row <= last && measured < 64; ++row) {
        if (content.nameBytes(row).size() + 2 * content.depth(row) + 2 + 8 >= longest) {
            const QString shown = m_document->data(m_document->index(row, Document::NameColumn)).toString();
            widest = std::max(widest, metrics.horizontalAdvance(shown) + content.depth(row) * indent);
            ++measured;
        }
    }
    m_nameWidth = widest;
    const int chrome = m_lstVars->verticalScrollBar()->sizeHint().width() + 2 * m_lstVars->frameWidth() + 12;
    auto *names = static_cast<NameList *>(m_lstVars);
    names->wantedWidth = std::clamp(widest + chrome, Twips::toPixels(ListWidthTwips), Twips::toPixels(2 * ListWidthTwips));
    names->setMaximumWidth(names->wantedWidth);
    names->updateGeometry();
}

QSize DocumentWindow::minimumSizeHint() const
{
    return QMdiSubWindow::minimumSizeHint() - m_scrBorder->minimumSizeHint() + m_panel->minimumSizeHint();
}

QSize DocumentWindow::sizeHint() const
{
    const QSize window = QMdiSubWindow::sizeHint() - m_scrBorder->sizeHint() + Twips::size(WindowTwips.width(), WindowTwips.height());
    const QMdiArea *area = mdiArea();
    return area ? window.boundedTo(area->viewport()->size()) : window;
}

// A name too long for the title bar loses its middle, never its end or the changed mark.
void DocumentWindow::updateTitle()
{
    if (!m_document)
        return;
    QStyleOptionTitleBar option;
    option.initFrom(this);
    option.rect = QRect(0, 0, width(), style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this));
    option.titleBarFlags = windowFlags();
    option.titleBarState = windowState();
    option.subControls = QStyle::SC_All;
    // Styles draw the title in bold; measured so, it fits however it is drawn.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int room = style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, this).width()
                     - metrics.horizontalAdvance(QStringLiteral("* "));
    const QString name = m_document->title();
    const QString shown = metrics.horizontalAdvance(name) <= room ? name : metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0));
    setWindowTitle(shown + QStringLiteral("[*]"));
    setWindowModified(m_document->isModified());
    setToolTip(m_document->filePath());
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    QMdiSubWindow::resizeEvent(event);
    updateTitle();
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
    // Each list keeps its own row from which Shift and the arrows extend a selection: both start at
    // the first row, and the list with the keyboard last, so that the current row is in its column.
    const int first = wanted.constFirst().top();
    for (QListView *list : {otherList(), keyboardList()})
        makeAnchor(list, first);
    selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    keyboardList()->scrollTo(m_document->index(first, keyboardList()->modelColumn()));
}

QListView *DocumentWindow::keyboardList() const
{
    return m_lstVals->hasFocus() ? m_lstVals : m_lstVars;
}

QListView *DocumentWindow::otherList() const
{
    return keyboardList() == m_lstVars ? m_lstVals : m_lstVars;
}

// A current row set through a list is where the list extends a selection from, unless a Shift or
// Control key held at the moment makes it extend the old one; in single selection it never does.
void DocumentWindow::makeAnchor(QListView *list, int row)
{
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setCurrentIndex(m_document->index(row, list->modelColumn()));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

// Shows the help of the name on the row the user moved to, or that nothing is selected.
void DocumentWindow::selectionMoved()
{
    emit editStateChanged();
    const int row = selectedRow();
    emit helpRequested(row >= 0 ? m_document->name(row) : QString(), row >= 0 ? m_document->overridingRow(row) : -1);
}

EditingView::State DocumentWindow::editState() const
{
    State state;
    if (!m_document)
        return state;
    const QUndoStack *history = m_document->history();
    state.undo = history->canUndo();
    state.redo = history->canRedo();
    state.undoText = history->undoText();
    state.redoText = history->redoText();
    const QList<int> selected = selectedRows();
    const bool variables = std::any_of(selected.begin(), selected.end(), [this](int row) { return !m_document->isSection(row); });
    state.cut = variables;
    state.copy = variables;
    state.remove = variables;
    state.paste = m_clipboardHasRows;
    state.selectAll = m_document->rowCount() > 0;
    state.find = true;
    state.replace = true;
    state.goToDefinition = m_namesDefinition && selected.size() == 1 && m_namesDefinition(selected.first());
    state.save = true;
    return state;
}

void DocumentWindow::undo()
{
    m_document->history()->undo();
}

void DocumentWindow::redo()
{
    m_document->history()->redo();
}

bool DocumentWindow::save()
{
    return m_commands.save(m_document);
}

bool DocumentWindow::saveAs()
{
    return m_commands.saveAs(m_document);
}

// With nothing selected there is nothing to delete, and nothing changes.
void DocumentWindow::deleteSelection()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    // The lists are left with no selection; with a current row the list would select the next one.
    m_lstVars->selectionModel()->clear();
    m_document->removeRows(rows, RemoveVariableStep);
}

void DocumentWindow::copy()
{
    const QList<FbiRow> rows = m_document->rows(selectedRows());
    if (!rows.isEmpty())
        QApplication::clipboard()->setText(unitFileLines(rows));
}

void DocumentWindow::cut()
{
    const QList<int> rows = selectedRows();
    if (m_document->rows(rows).isEmpty())
        return;
    copy();
    m_lstVars->selectionModel()->clear();
    m_document->removeRows(rows, QStringLiteral("Cut"));
}

void DocumentWindow::refused(const QString &title, const QString &reason)
{
    m_dialogs.message(window(), reason + QStringLiteral("\r\nNothing was changed."), title, QMessageBox::Ok,
                      QMessageBox::Warning);
}

// The rows of the clipboard's text go after the selected row, in its section, or at the end, and
// are selected. All of them or none.
void DocumentWindow::paste()
{
    FbiReadResult::Error error = FbiReadResult::Error::None;
    const QList<FbiRow> rows = parseRows(QApplication::clipboard()->text().toLatin1(), &error);
    if (error != FbiReadResult::Error::None) {
        refused(QStringLiteral("Paste"), QStringLiteral("The text to paste ") + readErrorText(error) + QLatin1Char('.'));
        return;
    }
    if (rows.isEmpty())
        return;
    const QList<int> selected = selectedRows();
    const int at = selected.isEmpty() ? m_document->rowCount() : selected.constLast() + 1;
    if (const QString reason = m_document->insertRows(at, rows, QStringLiteral("Paste")); !reason.isEmpty())
        refused(QStringLiteral("Paste"), reason);
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
    const int row = m_document->findRow(m_findText, from, m_matchOptions);
    if (row < 0) {
        emit statusMessage(QStringLiteral("\"") + m_findText + QStringLiteral("\" was not found."));
        return false;
    }
    selectRow(row);
    emit statusMessage(row < from ? QStringLiteral("Search wrapped to the top.") : QString());
    return true;
}

void DocumentWindow::setMatchOptions(const MatchOptions &options)
{
    m_matchOptions = options;
    if (m_replaceDialog)
        m_replaceDialog->setOptions(options);
}

void DocumentWindow::replace()
{
    if (!m_replaceDialog) {
        m_replaceDialog = new ReplaceDialog(window());
        m_replaceDialog->setFindText(m_findText);
        m_replaceDialog->setOptions(m_matchOptions);
        connect(m_replaceDialog, &ReplaceDialog::optionsChanged, this, [this](const MatchOptions &options) {
            m_matchOptions = options;
            emit matchOptionsChanged(options);
        });
        connect(m_replaceDialog, &ReplaceDialog::findNextRequested, this, [this](const QString &text) {
            m_findText = text;
            findFrom(selectedRow() + 1);
        });
        connect(m_replaceDialog, &ReplaceDialog::replaceRequested, this,
                [this](const QString &text, const QString &with, const MatchOptions &options) {
                    m_findText = text;
                    const int row = selectedRow();
                    if (row >= 0 && m_document->replacedValue(row, text, with, options)
                        && !m_document->replaceInValue(row, text, with, options)) {
                        emit statusMessage(valueRuleNote(CheckedValue::Change::Cut) + QStringLiteral(" The value was left as it was."));
                        return;
                    }
                    const int next = m_document->findValueRow(text, row + 1, options);
                    if (next >= 0)
                        selectRow(next);
                    else
                        emit statusMessage(QStringLiteral("\"") + text + QStringLiteral("\" was not found."));
                });
        connect(m_replaceDialog, &ReplaceDialog::replaceAllRequested, this,
                [this](const QString &text, const QString &with, const MatchOptions &options) {
                    m_findText = text;
                    const ReplaceCount count = m_document->replaceInValues(text, with, options);
                    QString message = QStringLiteral("Replaced %1 %2 in %3 %4.")
                                          .arg(count.replaced)
                                          .arg(count.replaced == 1 ? QStringLiteral("time") : QStringLiteral("times"))
                                          .arg(count.rows)
                                          .arg(count.rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
                    if (count.refused > 0) {
                        message += (count.refused == 1 ? QStringLiteral(" 1 value was left as it was: ")
                                                       : QStringLiteral(" %1 values were left as they were: ").arg(count.refused))
                                   + valueRuleNote(CheckedValue::Change::Cut);
                    }
                    emit statusMessage(message);
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
    // Only a variable has a value to edit; a window closing has no document.
    auto onVariable = [this] {
        const int row = m_document ? selectedRow() : -1;
        return row >= 0 && !m_document->isSection(row);
    };
    // The lists share one current row; it stands in the column of the list that has the keyboard, which
    // draws its focus frame on it.
    if (onList && event->type() == QEvent::FocusIn && m_document) {
        auto *list = static_cast<QListView *>(watched);
        QItemSelectionModel *selection = list->selectionModel();
        if (const QModelIndex current = selection->currentIndex(); current.isValid() && current.column() != list->modelColumn())
            selection->setCurrentIndex(current.siblingAtColumn(list->modelColumn()), QItemSelectionModel::NoUpdate);
    }
    if (watched == m_lstVals->viewport() && event->type() == QEvent::MouseButtonPress && m_namesDefinition && m_document) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int row = m_lstVals->indexAt(mouse->position().toPoint()).row();
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) && row >= 0 && m_namesDefinition(row)) {
            selectRow(row);
            emit definitionRequested(row);
            return true;
        }
    }
    if (onViewport && event->type() == QEvent::MouseButtonDblClick) {
        if (onVariable())
            emit valueEditRequested();
        return true;
    }
    if (onList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && onVariable()) {
            emit valueEditRequested();
            return true;
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

// Tab goes from the names to the values, and from there out of the window to the main window's
// other controls; Shift+Tab the other way.
bool DocumentWindow::focusNextPrevChild(bool next)
{
    if (focusWidget() == (next ? m_lstVals : m_lstVars)) {
        emit focusLeaving(next);
        return true;
    }
    return QMdiSubWindow::focusNextPrevChild(next);
}

void DocumentWindow::takeFocus(bool atStart)
{
    (atStart ? m_lstVars : m_lstVals)->setFocus(atStart ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

// True when the window may close: the document is unchanged, the user declined to save, it was
// saved, or a table still holds it (and asks when it closes). Escape and the close box at the
// question keep the window open with its changes.
bool DocumentWindow::askToSave()
{
    if (!m_document || !m_document->isModified() || m_documents.isShared(m_document))
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
