#include "mod/TableImport.h"

#include "mod/ModTable.h"

#include <QHash>

namespace {
// A file's path as a key: letter case and the kind of slash do not count.
QString pathKey(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.trimmed().toCaseFolded();
}
}

TableImport::Result TableImport::changes(const ModTable &table, const QList<QStringList> &rows)
{
    Result result;
    if (rows.isEmpty()) {
        result.error = QStringLiteral("The file holds no table.");
        return result;
    }
    const QStringList &header = rows.first();
    const QString nameHeader = table.headerData(ModTable::UnitColumn, Qt::Horizontal).toString();
    const QString fileHeader = table.headerData(ModTable::FileColumn, Qt::Horizontal).toString();
    int fileField = -1;
    int nameField = -1;
    QList<std::pair<int, QString>> keys;    // field and key
    for (int field = 0; field < header.size(); ++field) {
        const QString name = header[field].trimmed();
        if (name.compare(fileHeader, Qt::CaseInsensitive) == 0) {
            fileField = field;
        } else if (name.compare(nameHeader, Qt::CaseInsensitive) == 0) {
            nameField = field;
        } else if (const int column = table.columnOfKey(name); column >= 0) {
            keys.append({field, table.key(column)});
        } else if (!name.isEmpty()) {
            // The worked-out figures Export writes beside the keys are no values to import.
            bool computed = false;
            for (int other = table.keyColumnCount(); other < table.columnCount(); ++other)
                computed = computed || table.headerData(other, Qt::Horizontal).toString().compare(name, Qt::CaseInsensitive) == 0;
            if (!computed)
                result.unknownColumns.append(name);
        }
    }
    if (fileField < 0) {
        result.error = QStringLiteral("The table has no %1 column: its rows cannot be matched to the mod's files.").arg(fileHeader);
        return result;
    }

    // The table's rows by file; a file of several definitions by its sections' names too.
    QHash<QString, QList<int>> byFile;
    for (int row = 0; row < table.unitCount(); ++row)
        byFile[pathKey(table.relativePath(row))].append(row);

    for (qsizetype line = 1; line < rows.size(); ++line) {
        const QStringList &fields = rows[line];
        const QString file = fields.value(fileField).trimmed();
        if (file.isEmpty() && std::all_of(fields.cbegin(), fields.cend(), [](const QString &field) { return field.trimmed().isEmpty(); }))
            continue;
        const QList<int> candidates = byFile.value(pathKey(file));
        // A unit is its file, whatever its name now; a weapon or a feature is a section of one.
        int row = candidates.size() == 1 && (nameField < 0 || table.kind() == ModTable::Kind::Units) ? candidates.first() : -1;
        if (row < 0 && nameField >= 0) {
            const QString name = fields.value(nameField).trimmed();
            for (int candidate : candidates) {
                if (table.unitName(candidate).compare(name, Qt::CaseInsensitive) == 0)
                    row = candidate;
            }
        }
        if (row < 0) {
            const QString name = nameField >= 0 ? fields.value(nameField).trimmed() : QString();
            result.unknownFiles.append(candidates.isEmpty() || name.isEmpty() ? file : QStringLiteral("%1 [%2]").arg(file, name));
            continue;
        }
        for (const auto &[field, key] : keys) {
            const QString value = fields.value(field);
            if (value.isEmpty())
                continue;
            const int column = table.columnOfKey(key);
            const bool has = table.documentRow(row, column) >= 0;
            if (has && table.index(row, column).data().toString() == value)
                continue;
            result.changes.append(table.changeFor(row, key, value));
        }
    }
    return result;
}
