#pragma once

#include "documents/Document.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/WindowArrangement.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class Dialogs;
class Document;
class DocumentSet;
class DocumentWindow;
class EditingView;
class FileCommands;
class HelpTopicsWindow;
class ModTableWindow;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QToolBar;
class StatusPanels;
class VariablePanel;

// The frame around all windows: the document area, the toolbar, the status bar and the variable
// panel. It shows a document window for each document the set opens on its own, and a table window
// for each mod folder; its named actions act on the active one of them.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(DocumentSet &documents, FileCommands &commands, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    QMdiArea *mdiArea() const { return m_mdiArea; }
    VariablePanel *variablePanel() const { return m_panel; }
    QToolBar *barTools() const { return m_barTools; }
    const MainActions &actions() const { return *m_actions; }
    StatusPanels &statusPanels() const { return *m_status; }

    // The active window, whichever kind it is; nullptr when none is.
    EditingView *activeView() const;
    DocumentWindow *activeDocumentWindow() const;
    ModTableWindow *activeTable() const;
    QList<DocumentWindow *> documentWindows() const;
    QList<ModTableWindow *> tables() const;
    void arrange(WindowArrangement::Arrangement arrangement);

    void setKnownVariables(const QStringList &names);
    // The help of a variable in the panel; a null name says that nothing is selected.
    void showHelp(const QString &name);
    // The help of a document's row; laterRow is the row that overrides it, or -1.
    void showRowHelp(const QString &name, int laterRow);
    void addVariable(const QString &name);
    void changeValue();
    void noteUnsetValues(const Document *document);
    void showAbout();
    void showHelpTopics();
    void showStatusMessage(const QString &text);
    void clearStatusMessage();
    void activateDocument(Document *document);
    // Asks for a folder and opens it as a table; a folder that a table shows already activates it.
    void openFolder();
    ModTableWindow *openFolder(const QString &folder);

    // The height the variable panel's scroller gets for an outer window height, in twips;
    // nothing when the window is too short to have room for it.
    static std::optional<float> panelScrollerHeight(float outerHeight);

    // How Find and Replace match in every document window; a change in one window's Replace
    // applies to all of them and is told with matchOptionsChanged().
    void setMatchOptions(const MatchOptions &options);
    MatchOptions matchOptions() const { return m_matchOptions; }

    // Insert mode as the Insert key toggles it; the program keeps it, as no platform reports it.
    bool insertMode() const { return m_insertMode; }
    // Whether the tables' Save All shows what it writes first.
    void setSaveAllPreview(bool shown);

signals:
    void optionsRequested();
    // Every window closed: the program may end.
    void closed();
    void matchOptionsChanged(const MatchOptions &options);
    // The user asked Save All of a table not to show its preview again.
    void saveAllPreviewTurnedOff();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void connectActions();
    void addDocumentWindow(Document *document);
    void addWindow(QMdiSubWindow *window);
    void showDocument(Document *document);
    // The document in its window with a row selected (-1: as it was).
    void showDocumentRow(Document *document, int row);
    // Go to Definition: in the table shown, or for the selected row of a document through the
    // table window whose mod holds it.
    void goToDefinition();
    ModTableWindow *tableHolding(const Document *document) const;
    void updateMenuBar();
    void updateCommandStates();
    void fillWindowList();
    void fitPanelScroller();
    void updateKeyIndicators();

    DocumentSet &m_documents;
    FileCommands &m_commands;
    Dialogs &m_dialogs;
    QMdiArea *m_mdiArea;
    VariablePanel *m_panel;
    MainActions *m_actions;
    QToolBar *m_barTools;
    std::unique_ptr<StatusPanels> m_status;
    QList<QAction *> m_windowListActions;
    QPointer<HelpTopicsWindow> m_helpTopics;
    QTimer *m_tmrKeys;
    bool m_insertMode = false;
    MatchOptions m_matchOptions;
    bool m_saveAllPreview = true;
};
