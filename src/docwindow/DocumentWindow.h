#pragma once

#include <QMdiSubWindow>
#include <QPointer>

class Dialogs;
class Document;
class FileCommands;
class QAction;
class QGroupBox;
class QListView;
class QMenu;
class QScrollArea;
class ReplaceDialog;

// The window of one document: its rows as two lists side by side, names on the left and values on
// the right, with one selection and one scroll position, so a name always stands beside its value.
// While it is active, its menus are the main window's. What only the main window can do (the value
// editor, the help, the options, arranging windows) it asks for with a signal.
class DocumentWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    DocumentWindow(Document *document, FileCommands &commands, Dialogs &dialogs, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    Document *document() const { return m_document; }

    QListView *lstVars() const { return m_lstVars; }
    QListView *lstVals() const { return m_lstVals; }
    QGroupBox *frmFBIFile() const { return m_frmFBIFile; }
    QList<QMenu *> menus() const { return m_menus; }

    // The design's client area with this platform's frame around it; new and cascaded windows take it.
    QSize sizeHint() const override;

    // The row the value editor and the help act on: the current row when it is selected, else the
    // first selected row; -1 when none is selected.
    int selectedRow() const;
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    void selectRow(int row) { selectRows({row}); }

    // The editing commands, as the menus, the toolbar and the keys give them.
    void deleteSelectedVariables();
    void cut();
    void copy();
    void paste();
    void selectAll();
    void find();
    void findNext();
    void replace();

    // What the editing commands can do now, for the menus and the toolbar.
    struct EditState
    {
        bool undo = false;
        bool redo = false;
        bool selection = false;     // cut, copy, delete
        bool paste = false;
        bool rows = false;          // select all
        QString undoText;
        QString redoText;
    };
    EditState editState() const;

signals:
    void helpRequested(const QString &name);
    void valueEditRequested();
    void optionsRequested();
    void aboutRequested();
    void helpTopicsRequested();
    void openFolderRequested();
    void arrangeRequested(int arrangement);
    void exitRequested();
    void editStateChanged();
    void statusMessage(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPanel();
    void createMenus();
    void selectionMoved();
    // Widens the name list for the names of these rows, never narrowing it.
    void fitNameList(int first, int last);
    void updateEditActions();
    void updateTitle();
    bool askToSave();
    void fillWindowList();
    // Selects the next row at or after from that holds the text; says so when none does.
    bool findFrom(int from);

    Document *m_document;
    FileCommands &m_commands;
    Dialogs &m_dialogs;
    QScrollArea *m_scrBorder = nullptr;
    QWidget *m_picChild = nullptr;
    QGroupBox *m_frmFBIFile = nullptr;
    QListView *m_lstVars = nullptr;
    QListView *m_lstVals = nullptr;
    QList<QMenu *> m_menus;
    QMenu *m_mnuWindow = nullptr;
    QList<QAction *> m_windowListActions;
    QList<QAction *> m_editActions;     // the Edit menu's items, separators included
    int m_nameWidth = 0;    // of the widest name measured
    bool m_clipboardHasRows = false;
    QString m_findText;
    QPointer<ReplaceDialog> m_replaceDialog;
};

// A document window's title in menus and messages, with the changed mark where it has one.
QString shownTitle(const QMdiSubWindow *window);
