#include "mainwindow/MainWindow.h"

#include "commands/FileCommands.h"
#include "dialogs/AboutBox.h"
#include "docwindow/DocumentWindow.h"
#include "docwindow/MenuItems.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "help/VariableHelp.h"
#include "mainwindow/HelpTopicsWindow.h"
#include "mainwindow/ModTableCommands.h"
#include "mainwindow/ModTableWindow.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/WindowArrangement.h"
#include "platform/KeyboardLocks.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {
const QString NewVariableValue = QStringLiteral("Change This");
constexpr float PanelScrollerMargin = 1320.0f;

struct ToolbarButton
{
    const char *key;    // nullptr for a separator
    const char *icon;
    bool enabled;
};

constexpr ToolbarButton ToolbarButtons[] = {
    {"New", "new", true},     {"Open", "open", true},   {"Save", "save", false},    {nullptr, nullptr, true},
    {"Cut", "cut", false},    {"Copy", "copy", false},  {"Paste", "paste", false},  {"Delete", "delete", false},
    {"Find", "find", false},  {nullptr, nullptr, true}, {"Undo", "undo", false},    {"Redo", "redo", false},
    {nullptr, nullptr, true}, {"Options", "options", true}, {"Help", "help", true},
};

struct StatusPanel
{
    int width;          // twips
    const char *text;
};

constexpr StatusPanel StatusPanels[] = {
    {1440, ""}, {4765, ""}, {640, "CAPS"}, {640, "NUM"}, {640, "INS"}, {1440, ""},
};
// The path of the active document and the messages take the room there is.
constexpr int PathPanel = 0;
constexpr int MessagePanel = 1;
constexpr int StretchingPanelMinimum = 100;
}

MainWindow::MainWindow(DocumentSet &documents, FileCommands &commands, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_documents(documents)
    , m_commands(commands)
    , m_dialogs(dialogs)
    , m_mdiArea(new QMdiArea)
    , m_panel(new VariablePanel)
    , m_tables(new ModTableCommands(*m_mdiArea, documents, dialogs, this))
    , m_tmrKeys(new QTimer(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvid-48.png")));

    auto *central = new QWidget;
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_mdiArea, 1);
    layout->addWidget(m_panel);
    setCentralWidget(central);

    createToolbar();
    createStatusBar();
    createMenus();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateMenuBar);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateCommandStates);
    connect(&m_commands, &FileCommands::documentShown, this, &MainWindow::activateDocument);
    updateMenuBar();

    connect(m_panel, &VariablePanel::addRequested, this, &MainWindow::addVariable);
    connect(m_panel, &VariablePanel::removeRequested, this, &MainWindow::removeVariable);
    connect(m_panel, &VariablePanel::changeRequested, this, &MainWindow::changeValue);
    connect(m_panel, &VariablePanel::helpRequested, this, &MainWindow::showHelp);
    // The commands that need a document are there while the set holds one.
    connect(&m_documents, &DocumentSet::documentAdded, this, &MainWindow::addDocumentWindow);
    connect(&m_documents, &DocumentSet::documentRemoved, this,
            [this] { setDocumentCommandsEnabled(!m_documents.isEmpty()); });
    for (Document *document : m_documents.documents())
        addDocumentWindow(document);
    setDocumentCommandsEnabled(!m_documents.isEmpty());

    // The lock keys can change in any program, so their panels are looked at a few times a second.
    connect(m_tmrKeys, &QTimer::timeout, this, &MainWindow::updateKeyIndicators);
    m_tmrKeys->start(250);
    qApp->installEventFilter(this);
    updateKeyIndicators();

    resize(Twips::size(9945, 8925) + QSize(0, menuBar()->sizeHint().height()));
}

MainWindow::~MainWindow()
{
    // The document windows go first, while the main window they refer to still exists.
    for (QWidget *window : m_mdiArea->subWindowList())
        delete window;
}

void MainWindow::createToolbar()
{
    m_barTools = addToolBar(QStringLiteral("Tools"));
    m_barTools->setObjectName(QStringLiteral("barTools"));
    m_barTools->setMovable(false);
    m_barTools->setFloatable(false);
    m_barTools->setIconSize(QSize(16, 16));
    m_barTools->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_barTools->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (const ToolbarButton &button : ToolbarButtons) {
        if (!button.key) {
            m_buttons.append(m_barTools->addSeparator());
            continue;
        }
        const QString key = QString::fromLatin1(button.key);
        QAction *action = m_barTools->addAction(
            QIcon(QStringLiteral(":/toolbar/%1.png").arg(QLatin1String(button.icon))), key);
        action->setData(key);
        action->setToolTip(key);
        action->setEnabled(button.enabled);
        m_buttons.append(action);
    }
    connect(m_barTools, &QToolBar::actionTriggered, this,
            [this](QAction *action) { dispatchToolbar(action->data().toString()); });
}

void MainWindow::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("tlbTools"));
    for (int index = 0; index < int(std::size(StatusPanels)); ++index) {
        auto *panel = new QLabel(QString::fromLatin1(StatusPanels[index].text));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (index == PathPanel || index == MessagePanel) {
            panel->setMinimumWidth(Twips::toPixels(index == PathPanel ? StatusPanels[index].width : StretchingPanelMinimum));
            bar->addPermanentWidget(panel, 1);
        } else {
            panel->setFixedWidth(Twips::toPixels(StatusPanels[index].width));
            panel->setAlignment(index >= 2 && index <= 4 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            bar->addPermanentWidget(panel);
        }
        m_statusPanels.append(panel);
    }
}

void MainWindow::createMenus()
{
    QMenu *file = addMenu(this, m_ownMenus, "mnuFile", QStringLiteral("&File"));
    const QList<QAction *> fileItems = addMenuItems(file, {
        {"mnuFile_New", "&New"},
        {"mnuFile_Open", "&Open..."},
        {"Seperator1", nullptr},
        {"mnuFile_Exit", "E&xit"},
    });
    connect(fileItems[0], &QAction::triggered, &m_commands, &FileCommands::newDocument);
    connect(fileItems[1], &QAction::triggered, &m_commands, &FileCommands::open);
    // Ends the program at once while no window is open. These menus also show while a mod's table
    // is active, and then each window asks about its changes first, as with the close box.
    connect(fileItems[3], &QAction::triggered, this, [this] {
        if (m_mdiArea->subWindowList().isEmpty())
            QCoreApplication::exit(0);
        else
            close();
    });
    const QList<QAction *> tableItems = addMenuItems(file, {
        {"mnuFile_OpenFolder", "Open &Folder...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
        {"mnuFile_SaveAll", "Save A&ll", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), false},
        {"mnuFile_Export", "&Export Table...", {}, false},
    });
    file->insertActions(fileItems[2], tableItems);
    connect(tableItems[0], &QAction::triggered, m_tables, qOverload<>(&ModTableCommands::openFolder));
    connect(tableItems[1], &QAction::triggered, m_tables, &ModTableCommands::saveAll);
    connect(tableItems[2], &QAction::triggered, m_tables, &ModTableCommands::exportTable);
    connect(m_tables, &ModTableCommands::tableActive, tableItems[1], &QAction::setEnabled);
    connect(m_tables, &ModTableCommands::tableActive, tableItems[2], &QAction::setEnabled);
    connect(m_tables, &ModTableCommands::helpRequested, this, &MainWindow::showHelp);

    // The editing commands are here too, greyed, so the menus do not change shape with a document.
    QMenu *edit = addMenu(this, m_ownMenus, "mnuEdit", QStringLiteral("&Edit"));
    const QList<QAction *> editItems = addEditMenuItems(edit);
    // The design gives the main window's own menus no shortcut keys.
    for (QAction *item : editItems) {
        item->setEnabled(item == editItems.constLast());
        item->setShortcuts({});
    }
    editItems.constLast()->setText(QStringLiteral("&Options..."));
    connect(editItems[13], &QAction::triggered, this, &MainWindow::optionsRequested);

    QMenu *help = addMenu(this, m_ownMenus, "mnuHelp", QStringLiteral("&Help"));
    const QList<QAction *> helpItems = addMenuItems(help, {
        {"mnuHelp_Help", "Help &Topics..."},
        {"Seperator3", nullptr},
        {"mnuHelp_About", "&About..."},
    });
    connect(helpItems[0], &QAction::triggered, this, &MainWindow::showHelpTopics);
    connect(helpItems[2], &QAction::triggered, this, &MainWindow::showAbout);
}

// The menu bar shows the active document window's menus, or the main window's own when none is active.
void MainWindow::updateMenuBar()
{
    DocumentWindow *active = activeDocumentWindow();
    if (active ? active == m_menuOwner : m_showingOwnMenus)
        return;
    menuBar()->clear();
    for (QMenu *menu : active ? active->menus() : m_ownMenus)
        menuBar()->addMenu(menu);
    m_menuOwner = active;
    m_showingOwnMenus = !active;
}

QAction *MainWindow::toolbarButton(int position) const
{
    return m_buttons.value(position - 1);
}

QLabel *MainWindow::statusPanel(int position) const
{
    return m_statusPanels.value(position - 1);
}

DocumentWindow *MainWindow::activeDocumentWindow() const
{
    return qobject_cast<DocumentWindow *>(m_mdiArea->currentSubWindow());
}

QList<DocumentWindow *> MainWindow::documentWindows() const
{
    QList<DocumentWindow *> windows;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *documentWindow = qobject_cast<DocumentWindow *>(window))
            windows.append(documentWindow);
    }
    return windows;
}

void MainWindow::addDocumentWindow(Document *document)
{
    auto *window = new DocumentWindow(document, m_commands, m_dialogs);
    connect(window, &DocumentWindow::helpRequested, this, &MainWindow::showHelp);
    connect(window, &DocumentWindow::valueEditRequested, this, &MainWindow::changeValue);
    connect(window, &DocumentWindow::optionsRequested, this, &MainWindow::optionsRequested);
    connect(window, &DocumentWindow::aboutRequested, this, &MainWindow::showAbout);
    connect(window, &DocumentWindow::arrangeRequested, this, [this](int arrangement) { arrange(Arrangement(arrangement)); });
    connect(window, &DocumentWindow::exitRequested, this, &QWidget::close);
    connect(window, &DocumentWindow::helpTopicsRequested, this, &MainWindow::showHelpTopics);
    connect(window, &DocumentWindow::openFolderRequested, m_tables, qOverload<>(&ModTableCommands::openFolder));
    connect(window, &DocumentWindow::statusMessage, this, &MainWindow::showStatusMessage);
    connect(window, &DocumentWindow::editStateChanged, this, &MainWindow::updateCommandStates);
    connect(document, &Document::titleChanged, this, &MainWindow::updateCommandStates);
    setDocumentCommandsEnabled(true);
    if (!isVisible())
        show();
    // A new window takes the design's size where the document area has room for it.
    window->resize(window->sizeHint().boundedTo(m_mdiArea->viewport()->size()));
    const QMdiSubWindow *previous = m_mdiArea->currentSubWindow();
    m_mdiArea->addSubWindow(window);
    // One step below and to the right of the window before it, where the whole of it is in view;
    // Qt would put it where it overlaps least, which may be mostly outside the area.
    const QRect area = m_mdiArea->viewport()->rect();
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_mdiArea);
    QPoint place = previous && !previous->isMaximized() ? previous->pos() + QPoint(step, step) : QPoint();
    if (!area.contains(QRect(place, window->size())))
        place = QPoint();
    window->move(place);
    window->show();
    m_mdiArea->setActiveSubWindow(window);
    updateMenuBar();
}

void MainWindow::arrange(Arrangement arrangement)
{
    QList<QMdiSubWindow *> open;
    QList<QMdiSubWindow *> minimized;
    // The window on top comes first, as the old frame arranged them.
    const QList<QMdiSubWindow *> stacked = m_mdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto window = stacked.crbegin(); window != stacked.crend(); ++window) {
        if ((*window)->isHidden())
            continue;
        ((*window)->isMinimized() ? minimized : open).append(*window);
    }
    const QRect area = m_mdiArea->viewport()->rect();
    if (arrangement == Arrangement::ArrangeIcons) {
        if (minimized.isEmpty())
            return;
        const QList<QRect> places = WindowArrangement::iconRow(area, minimized.constFirst()->size(), int(minimized.size()));
        for (int index = 0; index < minimized.size(); ++index)
            minimized[index]->move(places[index].topLeft());
        return;
    }
    for (QMdiSubWindow *window : std::as_const(open)) {
        if (window->isMaximized())
            window->showNormal();
    }
    // A window keeps at least its title bar and three rows of its lists.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_mdiArea);
    const int smallest = titleBar + 3 * fontMetrics().height() + 4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    qsizetype tiled = 0;
    if (arrangement != Arrangement::Cascade) {
        const Qt::Orientation stacking = arrangement == Arrangement::TileVertical ? Qt::Horizontal : Qt::Vertical;
        const int length = stacking == Qt::Vertical ? area.height() : area.width();
        tiled = std::min<qsizetype>(open.size(), WindowArrangement::stripsThatFit(length, smallest));
        const QList<QRect> places = WindowArrangement::strips(area, int(tiled), stacking);
        for (qsizetype index = 0; index < tiled; ++index)
            open[index]->setGeometry(places[index]);
    }
    // Windows beyond those that tile are cascaded over them, the one on top last.
    const QList<QMdiSubWindow *> rest(open.crbegin(), open.crend() - tiled);
    QList<QSize> sizes;
    for (QMdiSubWindow *window : rest)
        sizes.append(window->sizeHint());
    const QList<QRect> places = WindowArrangement::cascade(area, sizes, titleBar, QSize(4 * titleBar, smallest));
    for (qsizetype index = 0; index < rest.size(); ++index) {
        rest[index]->setGeometry(places[index]);
        rest[index]->raise();
    }
}

void MainWindow::setDocumentCommandsEnabled(bool enabled)
{
    toolbarButton(3)->setEnabled(enabled);
    toolbarButton(8)->setEnabled(enabled);
    m_panel->setCommandsEnabled(enabled);
}

void MainWindow::dispatchToolbar(const QString &key)
{
    DocumentWindow *window = activeDocumentWindow();
    if (key == QLatin1String("New"))
        m_commands.newDocument();
    else if (key == QLatin1String("Open"))
        m_commands.open();
    else if (key == QLatin1String("Options"))
        emit optionsRequested();
    else if (key == QLatin1String("Help"))
        showHelpTopics();
    else if (key == QLatin1String("Delete"))
        removeVariable();
    else if (!window)
        return;
    else if (key == QLatin1String("Save"))
        m_commands.save(window->document());
    else if (key == QLatin1String("Cut"))
        window->cut();
    else if (key == QLatin1String("Copy"))
        window->copy();
    else if (key == QLatin1String("Paste"))
        window->paste();
    else if (key == QLatin1String("Find"))
        window->find();
    else if (key == QLatin1String("Undo"))
        window->document()->history()->undo();
    else if (key == QLatin1String("Redo"))
        window->document()->history()->redo();
}

// The toolbar follows the active document window; its path stands in the status bar.
void MainWindow::updateCommandStates()
{
    DocumentWindow *window = activeDocumentWindow();
    const DocumentWindow::EditState state = window ? window->editState() : DocumentWindow::EditState{};
    auto set = [this](int position, bool enabled, const QString &tip = {}) {
        QAction *button = toolbarButton(position);
        button->setEnabled(enabled);
        button->setToolTip(tip.isEmpty() ? button->data().toString() : tip);
    };
    set(5, state.selection);
    set(6, state.selection);
    set(7, state.paste);
    set(9, window != nullptr);
    set(11, state.undo, state.undo ? QStringLiteral("Undo ") + state.undoText : QString());
    set(12, state.redo, state.redo ? QStringLiteral("Redo ") + state.redoText : QString());
    const QString path = window && window->document() ? window->document()->filePath() : QString();
    statusPanel(1)->setText(path);
    statusPanel(1)->setToolTip(path);
}

void MainWindow::showStatusMessage(const QString &text)
{
    statusPanel(2)->setText(text);
}

void MainWindow::showHelpTopics()
{
    if (!m_helpTopics) {
        m_helpTopics = new HelpTopicsWindow(this);
        connect(m_helpTopics, &HelpTopicsWindow::addRequested, this, &MainWindow::addVariable);
    }
    m_helpTopics->show();
    m_helpTopics->raise();
    m_helpTopics->activateWindow();
}

void MainWindow::activateDocument(Document *document)
{
    for (DocumentWindow *window : documentWindows()) {
        if (window->document() == document) {
            if (window->isMinimized())
                window->showNormal();
            m_mdiArea->setActiveSubWindow(window);
            return;
        }
    }
}

void MainWindow::setKnownVariables(const QStringList &names)
{
    m_panel->lstAdd()->clear();
    m_panel->lstAdd()->addItems(names);
}

void MainWindow::showHelp(const QString &name)
{
    m_panel->showHelp(Help::variableHelpText(name));
}

// A second line of a key would silently change which value the game uses: the row there is selected instead.
void MainWindow::addVariable(const QString &name)
{
    DocumentWindow *window = activeDocumentWindow();
    if (!window)
        return;
    Document *document = window->document();
    for (int row = 0; row < document->rowCount(); ++row) {
        if (document->name(row).compare(name, Qt::CaseInsensitive) == 0) {
            window->selectRow(row);
            showStatusMessage(document->title() + QStringLiteral(" already has ") + document->name(row)
                              + QStringLiteral("; its row is selected."));
            return;
        }
    }
    document->appendRow(name, NewVariableValue);
}

void MainWindow::removeVariable()
{
    if (DocumentWindow *window = activeDocumentWindow())
        window->deleteSelectedVariables();
}

// The value editor shows the help that the panel shows; OK changes the value, marking the document
// changed when it differs.
void MainWindow::changeValue()
{
    DocumentWindow *window = activeDocumentWindow();
    const int row = window ? window->selectedRow() : -1;
    if (row < 0)
        return;
    QPointer<Document> document = window->document();
    ValueEditor editor(document->name(row), document->value(row), m_panel->helpText(), this);
    if (editor.exec() == QDialog::Accepted && document)
        document->setValue(row, editor.value());
}

void MainWindow::showAbout()
{
    AboutBox about(m_dialogs, this);
    about.exec();
}

std::optional<float> MainWindow::panelScrollerHeight(float outerHeight)
{
    if (outerHeight <= PanelScrollerMargin)
        return std::nullopt;
    return outerHeight - PanelScrollerMargin;
}

void MainWindow::fitPanelScroller()
{
    if (isMinimized())
        return;
    const std::optional<float> height = panelScrollerHeight(float(Twips::fromPixels(frameGeometry().height())));
    if (!height)
        return;
    m_panel->setScrollerHeight(Twips::toPixels(*height));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    fitPanelScroller();
}

// A panel whose state the platform cannot tell is greyed, like one whose key is off.
void MainWindow::updateKeyIndicators()
{
    statusPanel(3)->setEnabled(KeyboardLocks::capsLock().value_or(false));
    statusPanel(4)->setEnabled(KeyboardLocks::numLock().value_or(false));
    statusPanel(5)->setEnabled(m_insertMode);
}

// Key events reach the focus widget first, then its parents: only that first delivery counts.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (keyEvent && watched == QApplication::focusWidget()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Insert && !key->isAutoRepeat())
            m_insertMode = !m_insertMode;
        updateKeyIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Every document window gets its own close request first; one that stays open keeps the program running.
    // A mod's table asks once for all its units, before their own windows would ask one by one.
    QList<QMdiSubWindow *> windows = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    std::stable_partition(windows.begin(), windows.end(),
                          [](QMdiSubWindow *window) { return qobject_cast<ModTableWindow *>(window) != nullptr; });
    for (QWidget *window : windows) {
        if (!window->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    QCoreApplication::exit(0);
}
