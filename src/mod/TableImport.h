#pragma once

#include "mod/TableChange.h"

#include <QList>
#include <QStringList>

class ModTable;

// A table read back into a mod's table, as Export writes it and a spreadsheet leaves it: its rows
// are matched to the table's by the File column (and, where a file holds several definitions, by
// the name in the first column), its columns by key, letter case ignored. A cell that differs
// from the value makes a change; an empty cell changes nothing. Files and columns the table does
// not know are listed, never guessed at.
class TableImport
{
public:
    struct Result
    {
        QList<TableChange> changes;     // the cells that differ, refused ones with their reason
        QStringList unknownFiles;       // as the imported table names them
        QStringList unknownColumns;     // headers that are no key of the table (the worked-out figures are left out silently)
        QString error;                  // why the table cannot be imported at all; empty when it can
    };

    static Result changes(const ModTable &table, const QList<QStringList> &rows);
};
