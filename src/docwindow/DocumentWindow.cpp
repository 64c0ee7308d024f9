#include "docwindow/DocumentWindow.h"

#include "docwindow/PanelLayout.h"
#include "docwindow/ValueEditor.h"
#include "commands/FileCommands.h"
#include "documents/Document.h"
#include "help/ShowVariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "app/Globals.h"

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

struct MenuItem
{
    const char *name;
    const char *caption;            // nullptr for a separator
    QKeySequence shortcut;
    bool enabled;
};
}

DocumentWindow::DocumentWindow(int documentNumber, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_documentNumber(documentNumber)
    , m_document(new Document(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-16.png")));
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
    MainWindow *main = MainWindow::instance();
    auto addMenu = [this](const char *name, const QString &caption) {
        auto *menu = new QMenu(caption, this);
        menu->setObjectName(QLatin1String(name));
        m_menus.append(menu);
        return menu;
    };
    auto addItems = [](QMenu *menu, std::initializer_list<MenuItem> items) {
        QList<QAction *> actions;
        for (const MenuItem &item : items) {
            QAction *action = item.caption ? menu->addAction(QString::fromLatin1(item.caption)) : menu->addSeparator();
            action->setObjectName(QLatin1String(item.name));
            action->setShortcut(item.shortcut);
            action->setEnabled(item.enabled);
            actions.append(action);
        }
        return actions;
    };

    QMenu *mnuFile = addMenu("mnuFile", QStringLiteral("&File"));
    const QList<QAction *> file = addItems(mnuFile, {
        {"mnuFile_New", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), true},
        {"mnuFile_Open", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), true},
        {"mnuFile_Close", "&Close", {}, true},
        {"Seperator2", nullptr, {}, true},
        {"mnuFile_Save", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), true},
        {"mnuFile_SaveAs", "Save &As...", {}, true},
        {"Seperator3", nullptr, {}, true},
        {"mnuFile_Exit", "E&xit", {}, true},
    });
    connect(file[0], &QAction::triggered, this, [] { FileCommands::NewDocument(); });
    connect(file[1], &QAction::triggered, this, [] { FileCommands::OpenCommand(); });
    connect(file[2], &QAction::triggered, this, [main] {
        if (DocumentWindow *active = main->activeDocumentWindow())
            active->close();
    });
    connect(file[4], &QAction::triggered, this, [this] { FileCommands::SaveCommand(this); });
    connect(file[5], &QAction::triggered, this, [this] { FileCommands::SaveAsCommand(this); });
    connect(file[7], &QAction::triggered, main, &QWidget::close);

    QMenu *mnuEdit = addMenu("mnuEdit", QStringLiteral("&Edit"));
    const QList<QAction *> edit = addItems(mnuEdit, {
        {"mnuEdit_Undo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), false},
        {"mnuEdit_Redo", "R&edo", {}, false},
        {"Seperator4", nullptr, {}, true},
        {"mnuEdit_Cut", "C&ut", QKeySequence(Qt::CTRL | Qt::Key_X), false},
        {"mnuEdit_Copy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), false},
        {"mnuEdit_Paste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), false},
        {"mnuEdit_Delete", "&Delete", QKeySequence(Qt::Key_Delete), false},
        {"mnuEdit_All", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), false},
        {"Seperator5", nullptr, {}, true},
        {"mnuEdit_Find", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), false},
        {"mnuEdit_Next", "Find &Next", QKeySequence(Qt::Key_F4), false},
        {"mnuEdit_Replace", "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_H), false},
        {"Seperator6", nullptr, {}, true},
        {"mnuEdit_Options", "O&ptions...", {}, true},
    });
    m_mnuEdit_Delete = edit[6];
    connect(mnuEdit, &QMenu::aboutToShow, this, &DocumentWindow::updateDeleteEnabled);
    connect(m_mnuEdit_Delete, &QAction::triggered, this, &DocumentWindow::deleteSelectedVariable);
    connect(edit[13], &QAction::triggered, main, &MainWindow::showOptions);

    m_mnuWindow = addMenu("mnuWindow", QStringLiteral("&Window"));
    const QList<QAction *> window = addItems(m_mnuWindow, {
        {"mnuWindow_Action", "&Cascade", {}, true},
        {"mnuWindow_Action", "Tile &Horizontal", {}, true},
        {"mnuWindow_Action", "Tile &Vertical", {}, true},
        {"mnuWindow_Action", "Arrange &Icons", {}, true},
    });
    for (int index = 0; index < window.size(); ++index) {
        window[index]->setData(index);
        connect(window[index], &QAction::triggered, main, [main, index] { main->arrange(MainWindow::Arrangement(index)); });
    }
    connect(m_mnuWindow, &QMenu::aboutToShow, this, &DocumentWindow::fillWindowList);

    QMenu *mnuHelp = addMenu("mnuHelp", QStringLiteral("&Help"));
    const QList<QAction *> help = addItems(mnuHelp, {
        {"mnuHelp_Help", "Help &Topics...", {}, true},
        {"Seperator7", nullptr, {}, true},
        {"mnuHelp_About", "&About...", {}, true},
    });
    connect(help[2], &QAction::triggered, main, &MainWindow::showAbout);
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
        ShowVariableHelp(m_document->name(row));
}

void DocumentWindow::updateDeleteEnabled()
{
    m_mnuEdit_Delete->setEnabled(selectedRow() >= 0);
}

void DocumentWindow::markChanged()
{
    Globals::DocStates[m_documentNumber].Changed = true;
}

void DocumentWindow::appendVariable(const QString &name, const QString &value)
{
    markChanged();
    m_document->appendRow(name, value);
}

void DocumentWindow::deleteSelectedVariable()
{
    markChanged();
    const int row = selectedRow();
    if (row < 0)
        return;
    // Both lists are left with no selection; with a current row the list would select the next one.
    m_lstVars->selectionModel()->clear();
    m_lstVals->selectionModel()->clear();
    m_document->removeRow(row);
}

// Opens the value editor on the selected row; the document is marked changed only when the value differs.
void DocumentWindow::editSelectedValue()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString oldValue = m_document->value(row);
    MainWindow *main = MainWindow::instance();
    ValueEditor editor(m_document->name(row), oldValue, main->variablePanel()->helpText(), main);
    if (editor.exec() == QDialog::Accepted)
        m_document->setValue(row, editor.value());
    if (m_document->value(row) != oldValue)
        markChanged();
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_canvas && event->type() == QEvent::Resize) {
        layoutPanel();
    } else if (event->type() == QEvent::MouseButtonDblClick
               && (watched == m_lstVars->viewport() || watched == m_lstVals->viewport())) {
        editSelectedValue();
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

// True when the window may close: the document is unchanged, the user declined to save, or it was saved.
bool DocumentWindow::askToSave()
{
    Globals::CurrentDoc = qint16(m_documentNumber);
    if (!Globals::DocStates[m_documentNumber].Changed)
        return true;
    const QMessageBox::StandardButton answer = showMessage(
        MainWindow::instance(),
        QStringLiteral("The data in ") + windowTitle()
            + QStringLiteral(" has changed.\r\nDo you wish to save before closing the file?"),
        QStringLiteral("Save before Closing"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Information,
        QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return true;
    return FileCommands::SaveCommand(this);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved changes are never lost: a Yes whose save did not happen keeps the window open.
    if (!askToSave()) {
        event->ignore();
        return;
    }
    Globals::CurrentDoc = qint16(m_documentNumber);
    Globals::DocStates[m_documentNumber].Closed = true;
    FileCommands::DocumentClosed();
    QMdiSubWindow::closeEvent(event);
}
