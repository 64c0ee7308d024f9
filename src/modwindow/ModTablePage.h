#pragma once

#include <QModelIndexList>
#include <QWidget>

class ColumnChooser;
class FrozenColumnTableView;
class ModTable;
class ModTableSortFilter;

// One tab of a mod's table window: one of the mod's tables (units, weapons or features) as the
// user sorts, filters and narrows its columns, the first column frozen at the left. Everything a
// tab does works the same in each.
class ModTablePage : public QWidget
{
    Q_OBJECT

public:
    explicit ModTablePage(ModTable *table, QWidget *parent = nullptr);
    ~ModTablePage() override;

    ModTable *table() const { return m_table; }
    ModTableSortFilter *shownTable() const { return m_shown; }
    FrozenColumnTableView *view() const { return m_view; }
    ColumnChooser *columnChooser() const { return m_chooser; }

    // The filter text this tab keeps while another tab is shown.
    QString filterText() const;
    void setFilterText(const QString &text);

    // The selected cells of the variable columns, as the table's own indexes.
    QModelIndexList selectedCells() const;
    // The table's rows that have a selected cell, in the order shown.
    QList<int> selectedRows() const;
    // The table's cell the keyboard is on; invalid when none.
    QModelIndex currentCell() const;
    // Selects the table's row, the keyboard on its first cell, in view (shown with no filter when
    // the filter hides it).
    void selectTableRow(int row);
    // The selected cells as rows of tab-separated values, as spreadsheets take them.
    QString selectionText() const;
    // Wide enough for the header and the longest value among a sample of the rows.
    void fitColumns();

signals:
    // Enter or a double click on a row's name.
    void rowActivated(int row);
    // A click with Ctrl held on a cell; true when the click was taken for it.
    void cellCtrlClicked(const QModelIndex &cell, bool *taken);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ModTable *m_table;
    ModTableSortFilter *m_shown;
    FrozenColumnTableView *m_view;
    ColumnChooser *m_chooser;
};
