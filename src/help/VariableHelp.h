#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include <span>

namespace Help {

// One row of the built-in help: the variable as it is usually spelled in
// unit files, and the text shown for it.
struct VariableHelpEntry {
    QLatin1String key;
    QLatin1String text;
};

// The help rows in their fixed order; the data lives for the whole program.
std::span<const VariableHelpEntry> variableHelpTable();

extern const QLatin1String CommentedOutHelpText;
extern const QLatin1String DefaultHelpText;

// Help for a variable name as it stands in the file: a "//" prefix marks a
// commented-out line, otherwise the name must equal a key exactly (case
// included); anything else gets the default text.
QString VariableHelpText(QStringView name);

} // namespace Help
