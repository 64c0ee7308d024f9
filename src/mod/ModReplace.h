#pragma once

#include "mod/TableChange.h"

#include <QList>
#include <QRegularExpression>
#include <QString>

#include <optional>

class ModTable;

// Replace across a mod's tables: what to find in the values and what to put in its place, and the
// changes that makes, each one shown before any is made. A plain text is found anywhere in a value
// (or as the whole value); a regular expression may give its captures to the replacement as \1,
// \2... Only variables a row sets are looked at: a replace never adds a key.
class ModReplace
{
public:
    struct Options
    {
        QString find;
        QString replacement;
        bool wholeValue = false;
        bool matchCase = false;
        bool regularExpression = false;
    };
    // One cell of a table, by the table's own row and column.
    struct Cell
    {
        const ModTable *table = nullptr;
        int row = -1;
        int column = -1;
    };

    explicit ModReplace(const Options &options);

    // Why the options cannot be used (nothing to find, a regular expression that is not one);
    // empty when they can.
    QString error() const { return m_error; }
    // The value once replaced; nothing where the value holds no match or stays as it was.
    std::optional<QString> replaced(const QString &value) const;

    // The changes over every variable of the tables, in table, row and column order.
    QList<TableChange> changes(const QList<const ModTable *> &tables) const;
    // The changes over the cells given.
    QList<TableChange> changes(const QList<Cell> &cells) const;

private:
    void add(QList<TableChange> &changes, const ModTable &table, int row, int column) const;

    Options m_options;
    QRegularExpression m_expression;
    QString m_error;
};
