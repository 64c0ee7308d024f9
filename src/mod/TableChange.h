#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class Document;
class ModTable;

// One change to one cell of a mod's tables, as the table's tools show it before it is made: a value
// set, a key added to a row's section, or a key taken out of it. A change that cannot be made says
// why, and is never applied.
struct TableChange
{
    enum class Action { Set, Add, Remove };

    Action action = Action::Set;
    const ModTable *table = nullptr;
    int row = -1;                   // the table's row
    QString key;                    // as the table names it, such as "damage.default"
    QPointer<Document> document;
    // Set: the row whose value changes. Remove: every row of the section that sets the key (the
    // earlier ones of a key set twice too). Add: none.
    QList<int> documentRows;
    int section = -1;               // Add: the header row of the section it goes into; -1 for the outermost
    QString oldValue;               // what the cell holds now; empty for Add
    QString newValue;               // as the value rule leaves it; empty for Remove
    QString refused;                // why it cannot be made; empty when it can

    bool canApply() const { return refused.isEmpty(); }
};
