#pragma once

#include "mod/TableFilter.h"

#include <QSet>
#include <QSortFilterProxyModel>

#include <vector>

class ModTable;

// A mod's table as it is shown: the rows that the filter text keeps, in the order of the sort
// column, and which columns are shown. Numbers sort as numbers and text as text (numbers first),
// empty cells last in either order. Rows stay where they are when a value is edited, as in a
// spreadsheet, until the next sort.
class ModTableSortFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ModTableSortFilter(ModTable *table, QObject *parent = nullptr);

    ModTable *table() const { return m_table; }

    // Keeps the rows that meet every term of the text (TableFilter's forms), letter case ignored: a
    // word is in the row's name, its file's name or a value of a shown column; key=value, key>number
    // and key<number look at the key's value. "file" and the first column's header ("unit") may
    // stand for a key.
    void setFilterText(const QString &text);
    QString filterText() const { return m_filter; }

    void setColumnShown(int column, bool shown);
    bool isColumnShown(int column) const { return !m_hidden.contains(column); }

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The rows, the shown columns and the order as shown, after a header row; the File column,
    // shown or not, second, holding each file's path from the mod's folder, so that every row
    // names its file.
    QList<QStringList> shownRows() const;

signals:
    void columnShownChanged(int column, bool shown);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    struct SortKey
    {
        enum Kind { Number, Text, Empty };
        Kind kind = Empty;
        double number = 0;
        QString text;
    };
    static SortKey sortKey(const QString &value);
    void refilter();
    // Finds the columns the terms name, after the columns changed.
    void resolveTerms();
    bool meets(int unit, const TableFilter::Term &term, int column, const QByteArray &bytes) const;
    QString cellText(int unit, int column) const;
    void updateSortKeys() const;

    ModTable *m_table;
    QString m_filter;
    TableFilter m_terms;
    // By term: the column it names (-1 for a word, -2 for a key no column has), and its text as
    // file text (empty when no value can hold it).
    QList<int> m_termColumns;
    QList<QByteArray> m_termBytes;
    QSet<int> m_hidden;
    // The sort column's keys by unit, made when a sort needs them.
    mutable std::vector<SortKey> m_sortKeys;
    mutable bool m_sortKeysValid = false;
};
