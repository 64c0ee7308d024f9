#pragma once

#include "commands/EditingView.h"
#include "documents/Document.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <functional>

class Dialogs;
class DocumentSet;
class FileCommands;
class QGroupBox;
class QListView;
class QScrollArea;
class ReplaceDialog;

// The window of one document: its rows as two lists side by side, names on the left and values on
// the right, with one selection and one scroll position, so a name always stands beside its value.
// The main window's commands act on it through EditingView; what only the main window can do (the
// value editor, the help, the status bar) it asks for with a signal.
class DocumentWindow : public QMdiSubWindow, public EditingView
{
    Q_OBJECT

public:
    DocumentWindow(Document *document, DocumentSet &documents, FileCommands &commands, Dialogs &dialogs,
                   QWidget *parent = nullptr);
    ~DocumentWindow() override;

    Document *document() const { return m_document; }

    QListView *lstVars() const { return m_lstVars; }
    QListView *lstVals() const { return m_lstVals; }
    QGroupBox *frmFBIFile() const { return m_frmFBIFile; }

    // The window's client area at the size modders know, with this platform's frame around it;
    // new and cascaded windows take it.
    QSize sizeHint() const override;
    // Smaller than this, the lists would lose rows or columns: the window scrolls instead.
    QSize minimumSizeHint() const override;

    // The row the value editor and the help act on: the current row when it is selected, else the
    // first selected row; -1 when none is selected.
    int selectedRow() const;
    QList<int> selectedRows() const;
    // Selects the rows; the first becomes the current row, from which Shift and the arrows extend.
    void selectRows(const QList<int> &rows);
    void selectRow(int row) { selectRows({row}); }

    // The keyboard to the names list (at the start) or to the values list (at the end).
    void takeFocus(bool atStart);

    // Find and Replace remember how they match.
    void setMatchOptions(const MatchOptions &options);

    // Which rows name another definition (of the mod that holds the document): a click with Ctrl
    // held on such a row's value asks for that definition with definitionRequested().
    void setDefinitionTest(std::function<bool(int row)> test) { m_namesDefinition = std::move(test); }

    State editState() const override;
    void undo() override;
    void redo() override;
    void cut() override;
    void copy() override;
    void paste() override;
    void deleteSelection() override;
    void selectAll() override;
    void find() override;
    void findNext() override;
    void replace() override;
    bool save() override;
    bool saveAs() override;

signals:
    // The help of a row's name, or that nothing is selected (a null name); laterRow is the row that
    // overrides it, or -1.
    void helpRequested(const QString &name, int laterRow);
    void valueEditRequested();
    void editStateChanged();
    void statusMessage(const QString &text);
    void matchOptionsChanged(const MatchOptions &options);
    // Tab (forward) or Shift+Tab left the window's last or first list.
    void focusLeaving(bool forward);
    void definitionRequested(int row);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createPanel();
    void selectionMoved();
    QListView *keyboardList() const;
    QListView *otherList() const;
    void makeAnchor(QListView *list, int row);
    // Widens the name list for the names of these rows, never narrowing it.
    void fitNameList(int first, int last);
    void updateTitle();
    bool askToSave();
    // Selects the next row at or after from that holds the text; says so when none does, and when
    // the search went past the end.
    bool findFrom(int from);
    void refused(const QString &title, const QString &reason);

    Document *m_document;
    DocumentSet &m_documents;
    FileCommands &m_commands;
    Dialogs &m_dialogs;
    QScrollArea *m_scrBorder = nullptr;
    QWidget *m_panel = nullptr;
    QGroupBox *m_frmFBIFile = nullptr;
    QListView *m_lstVars = nullptr;
    QListView *m_lstVals = nullptr;
    int m_nameWidth = 0;    // of the widest name measured
    bool m_clipboardHasRows = false;
    QString m_findText;
    MatchOptions m_matchOptions;
    QPointer<ReplaceDialog> m_replaceDialog;
    std::function<bool(int row)> m_namesDefinition;
};

// A window's title in menus and messages, with the changed mark where it has one.
QString shownTitle(const QMdiSubWindow *window);
