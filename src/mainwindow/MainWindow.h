#pragma once

#include <QMainWindow>
#include <QPointer>

#include <optional>

class Dialogs;
class Document;
class DocumentSet;
class DocumentWindow;
class FileCommands;
class HelpTopicsWindow;
class ModTableCommands;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class VariablePanel;

// The frame around all documents: the document area, the toolbar, the status bar and the variable
// panel. It shows a document window for each document the set adds, and carries out the panel's and
// the windows' requests on the active document.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum class Arrangement { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

    MainWindow(DocumentSet &documents, FileCommands &commands, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    QMdiArea *mdiArea() const { return m_mdiArea; }
    VariablePanel *variablePanel() const { return m_panel; }
    QToolBar *barTools() const { return m_barTools; }
    // The toolbar buttons by their design position, 1 to 15, separators included.
    QAction *toolbarButton(int position) const;
    // The status bar panels by their design position, 1 to 6.
    QLabel *statusPanel(int position) const;
    ModTableCommands *tableCommands() const { return m_tables; }

    DocumentWindow *activeDocumentWindow() const;
    QList<DocumentWindow *> documentWindows() const;
    void arrange(Arrangement arrangement);
    // The toolbar's Save and Delete and the panel's three buttons need an open document.
    void setDocumentCommandsEnabled(bool enabled);

    void setKnownVariables(const QStringList &names);
    void showHelp(const QString &name);
    void addVariable(const QString &name);
    void removeVariable();
    void changeValue();
    void showAbout();
    void showHelpTopics();
    void showStatusMessage(const QString &text);
    void activateDocument(Document *document);

    // The height the variable panel's scroller gets for an outer window height, in twips;
    // nothing when the window is too short to have room for it.
    static std::optional<float> panelScrollerHeight(float outerHeight);

    // Insert mode as the Insert key toggles it; the program keeps it, as no platform reports it.
    bool insertMode() const { return m_insertMode; }

signals:
    void optionsRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addDocumentWindow(Document *document);
    void createToolbar();
    void createStatusBar();
    void createMenus();
    void updateMenuBar();
    void updateCommandStates();
    void dispatchToolbar(const QString &key);
    void fitPanelScroller();
    void updateKeyIndicators();

    DocumentSet &m_documents;
    FileCommands &m_commands;
    Dialogs &m_dialogs;
    QMdiArea *m_mdiArea;
    VariablePanel *m_panel;
    ModTableCommands *m_tables;
    QToolBar *m_barTools = nullptr;
    QList<QAction *> m_buttons;
    QList<QLabel *> m_statusPanels;
    QList<QMenu *> m_ownMenus;
    QPointer<DocumentWindow> m_menuOwner;
    QPointer<HelpTopicsWindow> m_helpTopics;
    bool m_showingOwnMenus = false;
    QTimer *m_tmrKeys;
    bool m_insertMode = false;
};
