#include "docwindow/DocumentWindow.h"

#include "commands/FileCommands.h"
#include "docwindow/MenuItems.h"
#include "docwindow/PanelLayout.h"
#include "documents/Document.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QListView>
#include <QMdiArea>
#include <QMenu>
#include <QScrollArea>

namespace {
constexpr QSizeF PanelTwips(5480, 5655);

int selectedRowOf(const QListView *list)
{
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}
}

DocumentWindow::DocumentWindow(Document *document, FileCommands &commands, Dialogs &dialogs, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_document(document)
    , m_commands(commands)
    , m_dialogs(dialogs)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-16.png")));
    setWindowTitle(document->title());
    connect(document, &Document::titleChanged, this, &QWidget::setWindowTitle);
    // A window whose document leaves the set some other way goes with it.
    connect(document, &QObject::destroyed, this, [this] {
        m_document = nullptr;
        deleteLater();
    });
    createPanel();
    createMenus();
    resize(sizeHint());
}

void DocumentWindow::createPanel()
{
    m_scrBorder = new QScrollArea;
    m_scrBorder->setObjectName(QStringLiteral("scrBorder"));
    m_scrBorder->setWidgetResizable(true);
    // The empty space around the panel has the colour of the empty document area.
    m_scrBorder->setBackgroundRole(QPalette::Dark);

    m_canvas = new QWidget;
    m_canvas->setBackgroundRole(QPalette::Dark);
    m_canvas->setMinimumSize(Twips::size(int(PanelTwips.width()), int(PanelTwips.height())));
    m_canvas->installEventFilter(this);
    m_scrBorder->setWidget(m_canvas);

    m_picChild = new QWidget(m_canvas);
    m_picChild->setObjectName(QStringLiteral("picChild"));
    m_picChild->setAutoFillBackground(true);
    m_picChild->setBackgroundRole(QPalette::Window);
    m_picChild->setGeometry(Twips::rect(960, 480, int(PanelTwips.width()), int(PanelTwips.height())));

    m_frmFBIFile = new QGroupBox(QStringLiteral("FBI File Data"), m_picChild);
    m_frmFBIFile->setObjectName(QStringLiteral("frmFBIFile"));
    m_frmFBIFile->setGeometry(Twips::rect(120, 120, 5170, 5295));

    auto makeList = [this](const char *name, int column, int left) {
        auto *list = new QListView(m_frmFBIFile);
        list->setObjectName(QLatin1String(name));
        list->setModel(m_document);
        list->setModelColumn(column);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setUniformItemSizes(true);
        list->setGeometry(Twips::rect(left, 360, 2415, 4740));
        list->viewport()->installEventFilter(this);
        return list;
    };
    m_lstVars = makeList("lstVars", Document::NameColumn, 120);
    m_lstVals = makeList("lstVals", Document::ValueColumn, 2640);
    connect(m_lstVars->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { exchangeSelection(m_lstVars, m_lstVals); });
    connect(m_lstVals->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { exchangeSelection(m_lstVals, m_lstVars); });
    connect(m_document, &QAbstractItemModel::modelReset, this, &DocumentWindow::updateDeleteEnabled);
    connect(m_document, &QAbstractItemModel::rowsRemoved, this, &DocumentWindow::updateDeleteEnabled);

    setWidget(m_scrBorder);
    setFocusProxy(m_lstVars);
}

void DocumentWindow::createMenus()
{
    QMenu *mnuFile = addMenu(this, m_menus, "mnuFile", QStringLiteral("&File"));
    const QList<QAction *> file = addMenuItems(mnuFile, {
        {"mnuFile_New", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuFile_Open", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuFile_Close", "&Close"},
        {"Seperator2", nullptr},
        {"mnuFile_Save", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuFile_SaveAs", "Save &As..."},
        {"Seperator3", nullptr},
        {"mnuFile_Exit", "E&xit"},
    });
    connect(file[0], &QAction::triggered, &m_commands, &FileCommands::newDocument);
    connect(file[1], &QAction::triggered, &m_commands, &FileCommands::open);
    connect(file[2], &QAction::triggered, this, &QWidget::close);
    connect(file[4], &QAction::triggered, this, [this] { m_commands.save(m_document); });
    connect(file[5], &QAction::triggered, this, [this] { m_commands.saveAs(m_document); });
    connect(file[7], &QAction::triggered, this, &DocumentWindow::exitRequested);
    QAction *openFolder = addMenuItems(mnuFile, {{"mnuFile_OpenFolder", "Open &Folder...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}})[0];
    mnuFile->insertAction(file[2], openFolder);
    connect(openFolder, &QAction::triggered, this, &DocumentWindow::openFolderRequested);

    QMenu *mnuEdit = addMenu(this, m_menus, "mnuEdit", QStringLiteral("&Edit"));
    const QList<QAction *> edit = addMenuItems(mnuEdit, {
        {"mnuEdit_Undo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), false},
        {"mnuEdit_Redo", "R&edo", {}, false},
        {"Seperator4", nullptr},
        {"mnuEdit_Cut", "C&ut", QKeySequence(Qt::CTRL | Qt::Key_X), false},
        {"mnuEdit_Copy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), false},
        {"mnuEdit_Paste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), false},
        {"mnuEdit_Delete", "&Delete", QKeySequence(Qt::Key_Delete), false},
        {"mnuEdit_All", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), false},
        {"Seperator5", nullptr},
        {"mnuEdit_Find", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), false},
        {"mnuEdit_Next", "Find &Next", QKeySequence(Qt::Key_F4), false},
        {"mnuEdit_Replace", "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_H), false},
        {"Seperator6", nullptr},
        {"mnuEdit_Options", "O&ptions..."},
    });
    m_mnuEdit_Delete = edit[6];
    connect(mnuEdit, &QMenu::aboutToShow, this, &DocumentWindow::updateDeleteEnabled);
    connect(m_mnuEdit_Delete, &QAction::triggered, this, &DocumentWindow::deleteSelectedVariable);
    connect(edit[13], &QAction::triggered, this, &DocumentWindow::optionsRequested);

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
        QAction *action = m_mnuWindow->addAction(prefix + window->windowTitle());
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

int DocumentWindow::selectedRow() const
{
    return selectedRowOf(m_lstVars);
}

void DocumentWindow::selectRow(int row)
{
    m_lstVars->selectionModel()->setCurrentIndex(m_document->index(row, Document::NameColumn),
                                                 QItemSelectionModel::ClearAndSelect);
}

// Keeps both lists on the same row, whichever of them the user moved, and shows the help of the name there.
void DocumentWindow::exchangeSelection(QListView *changed, QListView *other)
{
    const int row = selectedRowOf(changed);
    if (selectedRowOf(other) != row) {
        if (row < 0) {
            other->selectionModel()->clearSelection();
        } else {
            const QModelIndex index = m_document->index(row, other->modelColumn());
            other->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            other->scrollTo(index);
        }
    }
    updateDeleteEnabled();
    if (row >= 0)
        emit helpRequested(m_document->name(row));
}

void DocumentWindow::updateDeleteEnabled()
{
    m_mnuEdit_Delete->setEnabled(selectedRow() >= 0);
}

void DocumentWindow::deleteSelectedVariable()
{
    const int row = selectedRow();
    if (row < 0) {
        m_document->markModified();
        return;
    }
    // Both lists are left with no selection; with a current row the list would select the next one.
    m_lstVars->selectionModel()->clear();
    m_lstVals->selectionModel()->clear();
    m_document->removeRows({row}, QStringLiteral("Remove Variable"));
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_canvas && event->type() == QEvent::Resize) {
        layoutPanel();
    } else if (event->type() == QEvent::MouseButtonDblClick
               && (watched == m_lstVars->viewport() || watched == m_lstVals->viewport())) {
        if (selectedRow() >= 0)
            emit valueEditRequested();
        return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void DocumentWindow::changeEvent(QEvent *event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        layoutPanel();
}

void DocumentWindow::layoutPanel()
{
    if (isMinimized())
        return;
    m_scrBorder->setFrameShape(isMaximized() ? QFrame::NoFrame : QFrame::StyledPanel);
    const QSizeF scroller(Twips::fromPixels(m_canvas->width()), Twips::fromPixels(m_canvas->height()));
    const QPointF place = PanelLayout::place(scroller, PanelTwips);
    m_picChild->move(Twips::toPixels(place.x()), Twips::toPixels(place.y()));
}

// True when the window may close: the document is unchanged, the user declined to save, or it was
// saved. Escape and the close box at the question keep the window open with its changes.
bool DocumentWindow::askToSave()
{
    if (!m_document || !m_document->isModified())
        return true;
    MessageBoxRequest question{QStringLiteral("The data in ") + windowTitle()
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
    if (m_document) {
        disconnect(m_document, nullptr, this, nullptr);
        m_commands.close(m_document);
        m_document = nullptr;
    }
    QMdiSubWindow::closeEvent(event);
}
