#pragma once

#include "platform/CommonDialog.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class DocumentWindow;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class VariablePanel;

// The frame around all documents: the document area, the toolbar, the status bar and the variable
// panel. There is one, created at start.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum class Arrangement { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    static MainWindow *instance();

    QMdiArea *mdiArea() const { return m_mdiArea; }
    VariablePanel *variablePanel() const { return m_panel; }
    QToolBar *barTools() const { return m_barTools; }
    // The toolbar buttons by their design position, 1 to 15, separators included.
    QAction *toolbarButton(int position) const;
    // The status bar panels by their design position, 1 to 6.
    QLabel *statusPanel(int position) const;

    DocumentWindow *activeDocumentWindow() const;
    void addDocumentWindow(DocumentWindow *window);
    void arrange(Arrangement arrangement);
    // The toolbar's Save and Delete and the panel's three buttons need an open document.
    void setDocumentCommandsEnabled(bool enabled);

    void SaveActiveDocument();
    void SaveActiveDocumentAs();
    void showOptions();
    void showAbout();

    // The height the variable panel's scroller gets for an outer window height, in twips;
    // nothing when the window is too short to have room for it.
    static std::optional<float> panelScrollerHeight(float outerHeight);

    // The file dialog of the document commands; it remembers the file name chosen last.
    CommonDialog comDlg;

    // Insert mode as the Insert key toggles it; the program keeps it, as no platform reports it.
    bool insertMode() const { return m_insertMode; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createToolbar();
    void createStatusBar();
    void createMenus();
    void updateMenuBar();
    void dispatchToolbar(const QString &key);
    void fitPanelScroller();
    void updateKeyIndicators();

    QMdiArea *m_mdiArea;
    VariablePanel *m_panel;
    QToolBar *m_barTools = nullptr;
    QList<QAction *> m_buttons;
    QList<QLabel *> m_statusPanels;
    QList<QMenu *> m_ownMenus;
    QPointer<DocumentWindow> m_menuOwner;
    bool m_showingOwnMenus = false;
    QTimer *m_tmrKeys;
    bool m_insertMode = false;
};
