#pragma once

#include "mod/TableChange.h"

#include <QList>
#include <QStringList>

class ModTable;

// Rows of one table side by side: a line per key that any of them sets, in the table's column
// order, with each row's value (null where the row does not set the key) and whether they differ.
struct RowComparison
{
    struct Line
    {
        QString key;
        QStringList values;     // by row compared; a null string where the row does not set the key
        bool differs = false;   // a value differs from another, or one row lacks the key
    };

    QList<int> rows;
    QList<Line> lines;

    static RowComparison of(const ModTable &table, const QList<int> &rows);
    // The changes that give the other rows the source row's values of the keys: set where a row
    // has the key, added where it has not. A key the source does not set is left out.
    static QList<TableChange> copyChanges(const ModTable &table, int source, const QList<int> &targets, const QStringList &keys);
};
