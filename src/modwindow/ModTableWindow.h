#pragma once

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
// its own document window shows; the window asks for that with documentRequested().
class ModTableWindow : public QMdiSubWindow
{
    Q_OBJECT
    Q_MOC_INCLUDE("documents/Document.h")

public:
    ModTableWindow(DocumentSet &documents, Dialogs &dialogs, QWidget *parent = nullptr);

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
    // Writes every changed unit; one message names the files that could not be written. True when
    // all were written.
    bool saveAll();
    // Asks for a file and writes the table as shown to it as CSV.
    void exportTable();

signals:
    void helpRequested(const QString &name);
    void documentRequested(Document *document);

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
