#pragma once

#include "commands/EditingView.h"

#include <QMdiSubWindow>
#include <QModelIndexList>

class ColumnChooser;
class Dialogs;
class Document;
class DocumentSet;
class FrozenColumnTableView;
class ModTable;
class ModTableSortFilter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSplitter;

// A whole mod in one window: the filter box over the table of units, the files that could not be
// read under it, and a progress bar while the folder is read. Each unit is the same document that
// its own document window shows; the window asks for that with documentRequested(). The main
// window's commands act on it as on any window: Undo and Redo step through the table's own history,
// Delete empties cells, Find goes to the filter, Save saves every changed unit.
class ModTableWindow : public QMdiSubWindow, public EditingView
{
    Q_OBJECT
    Q_MOC_INCLUDE("documents/Document.h")

public:
    ModTableWindow(DocumentSet &documents, Dialogs &dialogs, QWidget *parent = nullptr);
    ~ModTableWindow() override;

    void load(const QString &folder);

    ModTable *table() const { return m_table; }
    ModTableSortFilter *shownTable() const { return m_shown; }
    FrozenColumnTableView *tableView() const { return m_view; }
    QLineEdit *filterBox() const { return m_filter; }
    QProgressBar *progressBar() const { return m_progress; }
    QListWidget *errorList() const { return m_errors; }
    ColumnChooser *columnChooser() const { return m_chooser; }

    // The selected cells of the variable columns, as the table's own indexes.
    QModelIndexList selectedCells() const;
    // Ask for a text or a factor and apply it to the selected cells.
    void askAndSetValues();
    void askAndScale();
    // Empties the selected cells; their keys stay.
    void clearSelectedCells();
    // Writes every changed unit (not those open in windows of their own, with only); one message names
    // the files that could not be written. True when all were written.
    bool saveAll(bool onlyUnitsWithoutWindows = false);
    // Asks for a file and writes the table as shown to it as CSV.
    void exportTable();

    State editState() const override;
    void undo() override;
    void redo() override;
    void cut() override;
    void copy() override;
    void paste() override {}
    void deleteSelection() override { clearSelectedCells(); }
    void selectAll() override;
    void find() override;
    void findNext() override {}
    void replace() override {}
    bool save() override { return saveAll(); }
    bool saveAs() override { return false; }

signals:
    void helpRequested(const QString &name);
    void documentRequested(Document *document);
    void editStateChanged();
    void statusMessage(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void showLoaded();
    void updateStatus();
    void fitColumns();
    int currentUnit() const;
    void openUnit(const QModelIndex &index);
    bool askToSave();
    // Says which cells an edit left as they were, and why.
    void tellRefused(const QString &title, const QStringList &refused);

    DocumentSet &m_documents;
    Dialogs &m_dialogs;
    ModTable *m_table;
    ModTableSortFilter *m_shown;
    QLineEdit *m_filter;
    FrozenColumnTableView *m_view;
    QSplitter *m_split;
    QGroupBox *m_errorPanel;
    QListWidget *m_errors;
    QLabel *m_status;
    QProgressBar *m_progress;
    ColumnChooser *m_chooser;
};
