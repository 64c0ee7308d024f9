#include "mainwindow/MainWindow.h"

#include "commands/FileCommands.h"
#include "dialogs/AboutBox.h"
#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "help/VariableHelp.h"
#include "mainwindow/HelpTopicsWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/ValueEditing.h"
#include "mainwindow/VariablePanel.h"
#include "modwindow/ModTableWindow.h"
#include "mod/Mod.h"
#include "mod/ModTable.h"
#include "platform/Dialogs.h"
#include "platform/KeyboardLocks.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {
const QString NothingSelected = QStringLiteral("Nothing Selected.");
constexpr float PanelScrollerMargin = 1320.0f;
// The main window opens at the size modders know.
constexpr QSize WindowTwips(9945, 8925);
}

MainWindow::MainWindow(DocumentSet &documents, FileCommands &commands, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_documents(documents)
    , m_commands(commands)
    , m_dialogs(dialogs)
    , m_mdiArea(new QMdiArea)
    , m_panel(new VariablePanel)
    , m_actions(new MainActions(this))
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

    m_barTools = addToolBar(QStringLiteral("Tools"));
    m_barTools->setObjectName(QStringLiteral("barTools"));
    m_barTools->setMovable(false);
    m_barTools->setFloatable(false);
    m_barTools->setIconSize(QSize(16, 16));
    m_barTools->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_barTools->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    m_actions->fillToolbar(m_barTools);
    m_status = std::make_unique<StatusPanels>(statusBar());

    // A message tells what the last command did: the next one starts without it.
    for (QAction *action : findChildren<QAction *>(Qt::FindDirectChildrenOnly))
        connect(action, &QAction::triggered, this, &MainWindow::clearStatusMessage);
    connect(m_panel, &VariablePanel::addRequested, this, &MainWindow::clearStatusMessage);
    connect(m_panel, &VariablePanel::removeRequested, this, &MainWindow::clearStatusMessage);
    connect(m_panel, &VariablePanel::changeRequested, this, &MainWindow::clearStatusMessage);
    connectActions();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateMenuBar);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateCommandStates);
    connect(&m_commands, &FileCommands::documentShown, this, &MainWindow::activateDocument);
    connect(&m_commands, &FileCommands::statusMessage, this, &MainWindow::showStatusMessage);
    connect(&m_commands, &FileCommands::saved, this, &MainWindow::noteUnsetValues);

    connect(m_panel, &VariablePanel::addRequested, this, &MainWindow::addVariable);
    connect(m_panel, &VariablePanel::removeRequested, this, [this] {
        if (DocumentWindow *window = activeDocumentWindow())
            window->deleteSelection();
    });
    connect(m_panel, &VariablePanel::changeRequested, this, &MainWindow::changeValue);
    connect(m_panel, &VariablePanel::helpRequested, this, &MainWindow::showHelp);
    connect(&m_documents, &DocumentSet::documentAdded, this, &MainWindow::addDocumentWindow);
    for (Document *document : m_documents.documents())
        addDocumentWindow(document);
    updateMenuBar();
    updateCommandStates();

    // The lock keys can change in any program, so their panels are looked at a few times a second.
    connect(m_tmrKeys, &QTimer::timeout, this, &MainWindow::updateKeyIndicators);
    m_tmrKeys->start(250);
    qApp->installEventFilter(this);
    updateKeyIndicators();

    resize(Twips::size(WindowTwips.width(), WindowTwips.height()) + QSize(0, menuBar()->sizeHint().height()));
}

MainWindow::~MainWindow()
{
    // The windows go first, while the main window they refer to still exists.
    for (QWidget *window : m_mdiArea->subWindowList())
        delete window;
}

void MainWindow::connectActions()
{
    const MainActions &a = *m_actions;
    connect(a.newFile, &QAction::triggered, &m_commands, &FileCommands::newDocument);
    connect(a.open, &QAction::triggered, &m_commands, &FileCommands::open);
    connect(a.openFolder, &QAction::triggered, this, qOverload<>(&MainWindow::openFolder));
    connect(a.close, &QAction::triggered, this, [this] {
        if (QMdiSubWindow *window = m_mdiArea->currentSubWindow())
            window->close();
    });
    auto onView = [this](void (EditingView::*command)()) {
        return [this, command] {
            if (EditingView *view = activeView())
                (view->*command)();
        };
    };
    connect(a.save, &QAction::triggered, this, [this] {
        if (EditingView *view = activeView())
            view->save();
    });
    connect(a.saveAs, &QAction::triggered, this, [this] {
        if (EditingView *view = activeView())
            view->saveAs();
    });
    connect(a.saveAll, &QAction::triggered, this, [this] {
        if (ModTableWindow *table = activeTable())
            table->saveAllAsked();
    });
    connect(a.importTable, &QAction::triggered, this, [this] {
        if (ModTableWindow *table = activeTable())
            table->importTable();
    });
    connect(a.addKey, &QAction::triggered, this, [this] {
        if (ModTableWindow *table = activeTable())
            table->askToAddKey();
    });
    connect(a.removeKey, &QAction::triggered, this, [this] {
        if (ModTableWindow *table = activeTable())
            table->askToRemoveKey();
    });
    connect(a.compareRows, &QAction::triggered, this, [this] {
        if (ModTableWindow *table = activeTable())
            table->compareSelectedRows();
    });
    connect(a.exportTable, &QAction::triggered, this, [this] {
        if (ModTableWindow *table = activeTable())
            table->exportTable();
    });
    connect(a.exit, &QAction::triggered, this, &QWidget::close);
    connect(a.undo, &QAction::triggered, this, onView(&EditingView::undo));
    connect(a.redo, &QAction::triggered, this, onView(&EditingView::redo));
    connect(a.cut, &QAction::triggered, this, onView(&EditingView::cut));
    connect(a.copy, &QAction::triggered, this, onView(&EditingView::copy));
    connect(a.paste, &QAction::triggered, this, onView(&EditingView::paste));
    connect(a.remove, &QAction::triggered, this, onView(&EditingView::deleteSelection));
    connect(a.selectAll, &QAction::triggered, this, onView(&EditingView::selectAll));
    connect(a.find, &QAction::triggered, this, onView(&EditingView::find));
    connect(a.findNext, &QAction::triggered, this, onView(&EditingView::findNext));
    connect(a.replace, &QAction::triggered, this, onView(&EditingView::replace));
    connect(a.goToDefinition, &QAction::triggered, this, &MainWindow::goToDefinition);
    connect(a.options, &QAction::triggered, this, &MainWindow::optionsRequested);
    connect(a.cascade, &QAction::triggered, this, [this] { arrange(WindowArrangement::Arrangement::Cascade); });
    connect(a.tileHorizontally, &QAction::triggered, this, [this] { arrange(WindowArrangement::Arrangement::TileHorizontal); });
    connect(a.tileVertically, &QAction::triggered, this, [this] { arrange(WindowArrangement::Arrangement::TileVertical); });
    connect(a.arrangeIcons, &QAction::triggered, this, [this] { arrange(WindowArrangement::Arrangement::ArrangeIcons); });
    connect(a.helpTopics, &QAction::triggered, this, &MainWindow::showHelpTopics);
    connect(a.about, &QAction::triggered, this, &MainWindow::showAbout);
    connect(a.windowMenu(), &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
}

EditingView *MainWindow::activeView() const
{
    return dynamic_cast<EditingView *>(m_mdiArea->currentSubWindow());
}

DocumentWindow *MainWindow::activeDocumentWindow() const
{
    return qobject_cast<DocumentWindow *>(m_mdiArea->currentSubWindow());
}

ModTableWindow *MainWindow::activeTable() const
{
    return qobject_cast<ModTableWindow *>(m_mdiArea->currentSubWindow());
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

QList<ModTableWindow *> MainWindow::tables() const
{
    QList<ModTableWindow *> tables;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *table = qobject_cast<ModTableWindow *>(window))
            tables.append(table);
    }
    return tables;
}

// The menu bar shows the menus of the active window's kind, or the frame's own when none is active.
void MainWindow::updateMenuBar()
{
    const MainActions::Context context = activeTable()      ? MainActions::Context::Table
                                         : activeView()     ? MainActions::Context::Document
                                                            : MainActions::Context::Frame;
    if (context == m_actions->context() && !menuBar()->actions().isEmpty())
        return;
    m_actions->setContext(context);
    menuBar()->clear();
    for (QMenu *menu : m_actions->menus(context))
        menuBar()->addMenu(menu);
}

// The Window menu ends with the open windows; the active one is checked.
void MainWindow::fillWindowList()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow *> windows = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    QMenu *menu = m_actions->windowMenu();
    m_windowListActions.append(menu->addSeparator());
    int position = 0;
    for (QMdiSubWindow *window : windows) {
        ++position;
        const QString prefix = position < 10 ? QStringLiteral("&%1 ").arg(position) : QStringLiteral("%1 ").arg(position);
        QAction *action = menu->addAction(prefix + shownTitle(window));
        action->setCheckable(true);
        action->setChecked(window == m_mdiArea->currentSubWindow());
        connect(action, &QAction::triggered, m_mdiArea, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                m_mdiArea->setActiveSubWindow(window);
        });
        m_windowListActions.append(action);
    }
}

void MainWindow::addWindow(QMdiSubWindow *window)
{
    if (!isVisible())
        show();
    // A new window takes its own size where the document area has room for it.
    window->resize(window->sizeHint().boundedTo(m_mdiArea->viewport()->size()));
    // The window before it: the newest one open that is not a table, which fills the area.
    const QMdiSubWindow *previous = m_mdiArea->currentSubWindow();
    const QList<QMdiSubWindow *> open = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto other = open.crbegin(); other != open.crend(); ++other) {
        if (!qobject_cast<ModTableWindow *>(*other) && (*other)->isVisible() && !(*other)->isMinimized()) {
            previous = *other;
            break;
        }
    }
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
    // The main window may be made small, but never so small that a window loses its last column.
    const QSize around = size() - m_mdiArea->viewport()->size();
    setMinimumSize(minimumSize().expandedTo(window->minimumSizeHint() + around));
    m_mdiArea->setActiveSubWindow(window);
    updateMenuBar();
    updateCommandStates();
}

void MainWindow::addDocumentWindow(Document *document)
{
    auto *window = new DocumentWindow(document, m_documents, m_commands, m_dialogs);
    connect(window, &DocumentWindow::helpRequested, this, &MainWindow::showRowHelp);
    connect(window, &DocumentWindow::valueEditRequested, this, &MainWindow::clearStatusMessage);
    connect(window, &DocumentWindow::valueEditRequested, this, &MainWindow::changeValue);
    connect(window, &DocumentWindow::statusMessage, this, &MainWindow::showStatusMessage);
    connect(window, &DocumentWindow::editStateChanged, this, &MainWindow::updateCommandStates);
    // A file of a mod open as a table finds the definitions its rows name through that mod.
    window->setDefinitionTest([this, document](int row) {
        const ModTableWindow *table = tableHolding(document);
        return table && table->namesDefinition(document, row);
    });
    connect(window, &DocumentWindow::definitionRequested, this, [this, document](int row) {
        if (ModTableWindow *table = tableHolding(document))
            table->goToDefinitionOf(document, row);
    });
    connect(window, &DocumentWindow::focusLeaving, this, [this, window](bool forward) {
        if (!m_panel->takeFocus(forward))
            window->takeFocus(forward);
    });
    connect(document, &Document::titleChanged, this, &MainWindow::updateCommandStates);
    window->setMatchOptions(m_matchOptions);
    connect(window, &DocumentWindow::matchOptionsChanged, this, [this](const MatchOptions &options) {
        setMatchOptions(options);
        emit matchOptionsChanged(options);
    });
    addWindow(window);
    // The keyboard starts in the names list, on the first row.
    window->setFocus(Qt::OtherFocusReason);
    // The window starts on its first row; the panel shows that row's help.
    if (const int row = window->selectedRow(); row >= 0)
        showRowHelp(document->name(row), document->overridingRow(row));
}

ModTableWindow *MainWindow::openFolder(const QString &folder)
{
    const QString wanted = QFileInfo(folder).canonicalFilePath();
    for (ModTableWindow *table : tables()) {
        if (!wanted.isEmpty() && QFileInfo(table->mod()->folder()).canonicalFilePath() == wanted) {
            m_mdiArea->setActiveSubWindow(table);
            return table;
        }
    }
    auto *table = new ModTableWindow(m_documents, m_dialogs);
    table->setFileCommands(&m_commands);
    connect(table, &ModTableWindow::helpRequested, this, &MainWindow::showHelp);
    connect(table, &ModTableWindow::documentRequested, this, &MainWindow::showDocument);
    connect(table, &ModTableWindow::documentRowRequested, this, &MainWindow::showDocumentRow);
    table->setSaveAllPreview(m_saveAllPreview);
    table->addContextActions({m_actions->addKey, m_actions->removeKey, m_actions->compareRows});
    connect(table, &ModTableWindow::saveAllPreviewTurnedOff, this, [this] {
        setSaveAllPreview(false);
        emit saveAllPreviewTurnedOff();
    });
    connect(table, &ModTableWindow::editStateChanged, this, &MainWindow::updateCommandStates);
    connect(table, &ModTableWindow::statusMessage, this, &MainWindow::showStatusMessage);
    addWindow(table);
    // A table wants all the room the document area has.
    table->setGeometry(m_mdiArea->viewport()->rect());
    table->load(folder);
    return table;
}

void MainWindow::openFolder()
{
    const std::optional<QString> folder = m_dialogs.folderDialog(
        this, QStringLiteral("Open Folder..."), m_commands.startFolder(FileCommands::FolderKind::ModFolders));
    if (!folder)
        return;
    // The next mod is most likely beside this one.
    m_commands.rememberFolder(FileCommands::FolderKind::ModFolders, QFileInfo(*folder).absolutePath());
    openFolder(*folder);
}

// A document the table shows gets a window of its own, or its window is brought up.
void MainWindow::showDocument(Document *document)
{
    if (m_documents.isOpen(document))
        activateDocument(document);
    else
        m_documents.show(document);
}

void MainWindow::showDocumentRow(Document *document, int row)
{
    showDocument(document);
    if (row < 0)
        return;
    for (DocumentWindow *window : documentWindows()) {
        if (window->document() == document) {
            window->selectRow(row);
            return;
        }
    }
}

void MainWindow::setSaveAllPreview(bool shown)
{
    m_saveAllPreview = shown;
    for (ModTableWindow *table : tables())
        table->setSaveAllPreview(shown);
}

ModTableWindow *MainWindow::tableHolding(const Document *document) const
{
    for (ModTableWindow *table : tables()) {
        if (table->mod()->holds(document))
            return table;
    }
    return nullptr;
}

void MainWindow::goToDefinition()
{
    if (ModTableWindow *table = activeTable()) {
        table->goToDefinition();
        return;
    }
    DocumentWindow *window = activeDocumentWindow();
    const QList<int> rows = window ? window->selectedRows() : QList<int>();
    ModTableWindow *table = window ? tableHolding(window->document()) : nullptr;
    if (!table || rows.size() != 1) {
        showStatusMessage(QStringLiteral("Go to Definition needs one row of a file of a mod open as a table."));
        return;
    }
    table->goToDefinitionOf(window->document(), rows.first());
}

void MainWindow::arrange(WindowArrangement::Arrangement arrangement)
{
    WindowArrangement::arrange(*m_mdiArea, arrangement);
}

// The commands follow the active window; its document's path stands in the status bar.
void MainWindow::updateCommandStates()
{
    EditingView *view = activeView();
    m_actions->showState(view ? view->editState() : EditingView::State{}, m_actions->context());
    DocumentWindow *window = activeDocumentWindow();
    m_panel->setCommandsEnabled(window != nullptr);
    const QString path = window && window->document() ? window->document()->filePath() : QString();
    m_status->path->setText(path);
    m_status->path->setToolTip(path);
}

void MainWindow::showStatusMessage(const QString &text)
{
    m_status->message->setText(text);
    m_status->message->setToolTip(text);
}

void MainWindow::setMatchOptions(const MatchOptions &options)
{
    m_matchOptions = options;
    for (DocumentWindow *window : documentWindows())
        window->setMatchOptions(options);
}

void MainWindow::clearStatusMessage()
{
    showStatusMessage(QString());
}

void MainWindow::showHelpTopics()
{
    if (!m_helpTopics) {
        m_helpTopics = new HelpTopicsWindow(this);
        connect(m_helpTopics, &HelpTopicsWindow::addRequested, this, &MainWindow::clearStatusMessage);
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
    m_panel->showHelp(name.isNull() ? NothingSelected : Help::variableHelpText(name));
}

// A row that a later row of its section overrides says so first; rows are numbered from 1 there, as
// the user counts them.
void MainWindow::showRowHelp(const QString &name, int laterRow)
{
    if (laterRow >= 0)
        m_panel->showHelp(Help::overriddenHelpText(name, laterRow + 1));
    else
        showHelp(name);
}

// A second line of a key would silently change which value the engines use: the row there is
// selected instead.
void MainWindow::addVariable(const QString &name)
{
    DocumentWindow *window = activeDocumentWindow();
    if (!window)
        return;
    Document *document = window->document();
    const int near = window->selectedRow();
    if (const int row = document->findKey(name, near); row >= 0) {
        window->selectRow(row);
        showStatusMessage(document->title() + QStringLiteral(" already has ") + document->name(row)
                          + QStringLiteral("; its row is selected."));
        return;
    }
    if (const QString refused = document->addRow(name, Help::placeholderValue(), near); !refused.isEmpty()) {
        m_dialogs.message(this, refused + QStringLiteral("\r\nNothing was changed."), QStringLiteral("Add Variable"),
                          QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    // The new row is selected in its window, which may be behind Help Topics.
    showStatusMessage(name + QStringLiteral(" was added to ") + document->title() + QLatin1Char('.'));
}

// A value still the placeholder of a new row is saved as it is, and the status bar says so.
void MainWindow::noteUnsetValues(const Document *document)
{
    QStringList names;
    for (int row = 0; row < document->rowCount(); ++row) {
        if (!document->isSection(row) && Help::isPlaceholder(document->value(row)))
            names.append(document->name(row));
    }
    if (names.isEmpty())
        return;
    constexpr qsizetype Named = 5;
    const QString placeholder = QLatin1Char('"') + Help::placeholderValue() + QLatin1Char('"');
    QString note = names.size() == 1
        ? document->title() + QStringLiteral(" was saved with ") + names.constFirst() + QStringLiteral(" still ") + placeholder + QLatin1Char('.')
        : document->title() + QStringLiteral(" was saved with %1 values still ").arg(names.size()) + placeholder + QStringLiteral(": ")
            + QStringList(names.mid(0, Named)).join(QStringLiteral(", ")) + (names.size() > Named ? QStringLiteral(", ...") : QString()) + QLatin1Char('.');
    const QString before = m_status->message->text();
    showStatusMessage(before.isEmpty() ? note : before + QLatin1Char(' ') + note);
}

void MainWindow::changeValue()
{
    if (DocumentWindow *window = activeDocumentWindow())
        editSelectedValue(*window, m_panel->helpText(), m_dialogs, this);
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

void MainWindow::updateKeyIndicators()
{
    m_status->showKeys(KeyboardLocks::capsLock().value_or(false), KeyboardLocks::numLock().value_or(false), m_insertMode);
}

// Tab runs from a document window's lists through the panel's controls and back into the lists.
bool MainWindow::focusNextPrevChild(bool next)
{
    const QList<QWidget *> stops = m_panel->focusStops();
    DocumentWindow *window = activeDocumentWindow();
    if (window && !stops.isEmpty() && QApplication::focusWidget() == (next ? stops.constLast() : stops.constFirst())) {
        window->takeFocus(next);
        return true;
    }
    return QMainWindow::focusNextPrevChild(next);
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
    // Every window gets its own close request first; one that stays open keeps the program running.
    // A mod's table asks once for the units only it holds, before their own windows would ask one by one.
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
    emit closed();
}
