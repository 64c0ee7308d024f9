#pragma once

#include <QMdiSubWindow>

class Dialogs;
class Document;
class FileCommands;
class QAction;
class QGroupBox;
class QListView;
class QMenu;
class QScrollArea;

// The window of one document: its rows as two lists side by side, names on the left and values on
// the right, always on the same selected row. While it is active, its menus are the main window's.
// What only the main window can do (the value editor, the help, the options, arranging windows)
// it asks for with a signal.
class DocumentWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    DocumentWindow(Document *document, FileCommands &commands, Dialogs &dialogs, QWidget *parent = nullptr);

    Document *document() const { return m_document; }

    QListView *lstVars() const { return m_lstVars; }
    QListView *lstVals() const { return m_lstVals; }
    QScrollArea *scrBorder() const { return m_scrBorder; }
    QWidget *picChild() const { return m_picChild; }
    QList<QMenu *> menus() const { return m_menus; }

    // The design's client area with this platform's frame around it; new and cascaded windows take it.
    QSize sizeHint() const override;

    // The selected row of the name list, or -1.
    int selectedRow() const;
    void selectRow(int row);

    // Removes the selected row. The document counts as changed even when no row is selected.
    void deleteSelectedVariable();

signals:
    void helpRequested(const QString &name);
    void valueEditRequested();
    void optionsRequested();
    void aboutRequested();
    void arrangeRequested(int arrangement);
    void exitRequested();
    void openFolderRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPanel();
    void createMenus();
    void exchangeSelection(QListView *changed, QListView *other);
    void updateDeleteEnabled();
    void layoutPanel();
    bool askToSave();
    void fillWindowList();

    Document *m_document;
    FileCommands &m_commands;
    Dialogs &m_dialogs;
    QScrollArea *m_scrBorder = nullptr;
    QWidget *m_canvas = nullptr;
    QWidget *m_picChild = nullptr;
    QGroupBox *m_frmFBIFile = nullptr;
    QListView *m_lstVars = nullptr;
    QListView *m_lstVals = nullptr;
    QList<QMenu *> m_menus;
    QMenu *m_mnuWindow = nullptr;
    QAction *m_mnuEdit_Delete = nullptr;
    QList<QAction *> m_windowListActions;
};
