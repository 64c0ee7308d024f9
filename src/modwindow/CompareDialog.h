#pragma once

#include "mod/TableChange.h"

#include <QDialog>

class ModTable;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// Two or more rows of a table side by side: a column per row, a line per key any of them sets; the
// lines where they differ are marked, and a key a row lacks shows as not set. The values of the
// ticked keys can be copied from one row to the others, as one step. The view follows edits.
class CompareDialog : public QDialog
{
    Q_OBJECT

public:
    CompareDialog(const ModTable *table, const QList<int> &rows, QWidget *parent = nullptr);

    QTableWidget *grid() const { return m_grid; }
    QCheckBox *chkDifferencesOnly() const { return m_differencesOnly; }
    QComboBox *cboSource() const { return m_source; }
    QPushButton *cmdCopy() const { return m_copy; }
    // Ticks the key's line (letter case ignored).
    void setKeyTicked(const QString &key, bool ticked);
    // Fills the grid from the table as it is now.
    void refresh();

signals:
    void applyRequested(const QList<TableChange> &changes);

private:
    void copyTicked();

    const ModTable *m_table;
    QList<int> m_rows;
    QTableWidget *m_grid;
    QCheckBox *m_differencesOnly;
    QComboBox *m_source;
    QPushButton *m_copy;
    QLabel *m_summary;
    QStringList m_ticked;
};
