#include "mod/RowComparison.h"

#include "mod/ModTable.h"

RowComparison RowComparison::of(const ModTable &table, const QList<int> &rows)
{
    RowComparison comparison;
    for (int row : rows) {
        if (row >= 0 && row < table.unitCount())
            comparison.rows.append(row);
    }
    for (int column = ModTable::FirstKeyColumn; column < table.keyColumnCount(); ++column) {
        Line line;
        line.key = table.key(column);
        bool any = false;
        for (int row : std::as_const(comparison.rows)) {
            const bool has = table.documentRow(row, column) >= 0;
            any = any || has;
            line.values.append(has ? table.index(row, column).data().toString() : QString());
        }
        if (!any)
            continue;
        for (const QString &value : std::as_const(line.values))
            line.differs = line.differs || value.isNull() != line.values.first().isNull() || value != line.values.first();
        comparison.lines.append(line);
    }
    return comparison;
}

QList<TableChange> RowComparison::copyChanges(const ModTable &table, int source, const QList<int> &targets, const QStringList &keys)
{
    QList<TableChange> changes;
    for (const QString &key : keys) {
        const int column = table.columnOfKey(key);
        if (column < 0 || table.documentRow(source, column) < 0)
            continue;
        const QString value = table.index(source, column).data().toString();
        for (int target : targets) {
            if (target == source)
                continue;
            if (table.documentRow(target, column) >= 0 && table.index(target, column).data().toString() == value)
                continue;
            changes.append(table.changeFor(target, key, value));
        }
    }
    return changes;
}
