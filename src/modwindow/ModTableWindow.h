#pragma once

#include "commands/EditingView.h"
#include "mod/ModTable.h"
#include "mod/TableChange.h"
#include "modwindow/KeyChangeDialog.h"
#include "modwindow/ModReplaceDialog.h"

#include <QMdiSubWindow>
#include <QModelIndexList>
#include <QPointer>

class ColumnChooser;
class Dialogs;
class Document;
class DocumentSet;
class FileCommands;
class FrozenColumnTableView;
class Mod;
class ModTablePage;
class ModTableSortFilter;
class ProblemsPanel;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSplitter;
class QTabWidget;

// A whole mod in one window: a tab for each of its tables (units, weapons, features) under one
// filter box, the problems its check finds under them, the files that could not be read, and a
// progress bar while the folder is read. Each row's file is the same document that its own
// document window shows; the window asks for that with documentRequested(). The main window's
// commands act on it as on any window: Undo and Redo step through the mod's one table history,
// Delete empties cells, Find goes to the filter, Replace replaces across the mod, Save saves every
// changed file.
class ModTableWindow : public QMdiSubWindow, public EditingView
{
    Q_OBJECT
    Q_MOC_INCLUDE("documents/Document.h")

public:
    ModTableWindow(DocumentSet &documents, Dialogs &dialogs, QWidget *parent = nullptr);
    ~ModTableWindow() override;

    void load(const QString &folder);
    // Where Export Table starts and what it remembers; without, it starts beside the mod's folder.
    void setFileCommands(FileCommands *commands) { m_commands = commands; }
    // The main window's commands that act on the table, shown in its rows' context menu too.
    void addContextActions(const QList<QAction *> &actions);

    Mod *mod() const { return m_mod; }
    // The tab shown, and its parts.
    ModTable *table() const;
    ModTableSortFilter *shownTable() const;
    FrozenColumnTableView *tableView() const;
    ColumnChooser *columnChooser() const;
    ModTablePage *currentPage() const;
    ModTablePage *page(ModTable::Kind kind) const;
    void showKind(ModTable::Kind kind);
    QTabWidget *tabs() const { return m_tabs; }
    QLineEdit *filterBox() const { return m_filter; }
    QLabel *filterHint() const { return m_filterHint; }
    QProgressBar *progressBar() const { return m_progress; }
    QListWidget *errorList() const { return m_errors; }
    ProblemsPanel *problemsPanel() const { return m_problems; }

    // The selected cells of the variable columns of the tab shown, as its table's own indexes.
    QModelIndexList selectedCells() const;
    // Ask for a text or a factor and apply it to the selected cells.
    void askAndSetValues();
    void askAndScale();
    // Empties the selected cells; their keys stay.
    void clearSelectedCells();
    // Writes every changed file of the mod (not those open in windows of their own, with only); one
    // message names the files that could not be written. True when all were written.
    bool saveAll(bool onlyFilesWithoutWindows = false);
    // Save All as the user asks for it: the files and their changed lines shown first, unless the
    // user said not to ask again. False when the user cancels or a file could not be written.
    bool saveAllAsked();
    void setSaveAllPreview(bool shown) { m_saveAllPreview = shown; }
    bool saveAllPreview() const { return m_saveAllPreview; }
    // Asks for a file and writes the tab shown, as shown, to it as CSV.
    void exportTable();

    // Import Table: a table's text read back (as Export writes it), its changes shown first.
    void importTable();
    // Add Key and Remove Key on the rows selected; Compare for two or more of them.
    void askToAddKey();
    void askToRemoveKey();
    void compareSelectedRows();
    // The dialog of the table's tools open now (Import, Add Key, Remove Key, Compare), if any.
    QDialog *toolDialog() const { return m_toolDialog; }

    // Replace across the mod, in a dialog of its own that stays open beside the table.
    ModReplaceDialog *replaceDialog() const { return m_replaceDialog; }
    // Makes the changes as one step of the mod's history, and says which could not be made.
    ModTable::EditResult applyChanges(const QList<TableChange> &changes, const QString &stepName);

    // Whether the cell the keyboard is on names another definition (a weapon, a feature, a model...).
    bool canGoToDefinition() const;
    // Opens the definition the cell names, or says in the status bar why it cannot.
    void goToDefinition();
    void goToDefinition(const QModelIndex &cell);
    // The same for a row of one of the mod's files, as a document window shows it.
    bool namesDefinition(const Document *document, int row) const;
    void goToDefinitionOf(const Document *document, int row);

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
    void replace() override;
    bool save() override { return saveAllAsked(); }
    bool saveAs() override { return false; }

signals:
    void helpRequested(const QString &name);
    void documentRequested(Document *document);
    // A row of a document to show in its window, selected; -1 for the document as a whole.
    void documentRowRequested(Document *document, int row);
    void editStateChanged();
    void statusMessage(const QString &text);
    // "Don't ask again" was ticked in Save All's preview.
    void saveAllPreviewTurnedOff();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    ModTablePage *addPage(ModTable *table, const QString &name);
    void createActions();
    void showLoaded();
    void updateStatus();
    void updateTabTitles();
    void openRow(int row);
    void openProblem(const QString &path, int line);
    QList<Document *> changedDocuments() const;
    bool askToSave();
    // Says which cells an edit left as they were, and why.
    void tellRefused(const QString &title, const QStringList &refused);
    QString rowsWord(ModTable::Kind kind) const;
    // Shows one of the table's tools in place of the one open before; the changes it asks for are
    // made as one step named stepName.
    template<typename ToolDialog>
    void showToolDialog(ToolDialog *dialog, const QString &stepName)
    {
        connect(dialog, &ToolDialog::applyRequested, this,
                [this, stepName](const QList<TableChange> &changes) { applyChanges(changes, stepName); });
        if (m_toolDialog)
            m_toolDialog->close();
        m_toolDialog = dialog;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    }
    void askToChangeKey(KeyChangeDialog::Mode mode);

    DocumentSet &m_documents;
    Dialogs &m_dialogs;
    QWidget *m_body;
    Mod *m_mod;
    QTabWidget *m_tabs;
    QList<ModTablePage *> m_pages;
    QLineEdit *m_filter;
    QLabel *m_filterHint;
    QSplitter *m_split;
    ProblemsPanel *m_problems;
    QGroupBox *m_errorPanel;
    QListWidget *m_errors;
    QLabel *m_status;
    QProgressBar *m_progress;
    QList<QAction *> m_viewActions;     // the context menu of every tab's rows
    QPointer<FileCommands> m_commands;
    QPointer<ModReplaceDialog> m_replaceDialog;
    QPointer<QDialog> m_toolDialog;
    bool m_saveAllPreview = true;
};
