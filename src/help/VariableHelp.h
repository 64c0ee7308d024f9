#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Help {

// What a variable's value is, as the engines read it. Unknown: the name has no help.
enum class ValueType {
    Unknown,
    Flag,          // 0 or 1
    WholeNumber,
    Decimal,       // a number that may have a fraction
    ThreeNumbers,  // three numbers separated by blanks, such as "28 45 20"
    Text,          // free text, shown to players or ignored
    Name,          // the name of something else: a unit, weapon, feature, model, sound set, file, ...
    CategoryList,  // category names separated by blanks
};

extern const QLatin1String CommentedOutHelpText;
extern const QLatin1String DefaultHelpText;

// Help for a variable name as it stands in the file: a "//" prefix marks a
// commented-out line; otherwise the name must equal a key, ignoring letter case
// as the engines do, but not trimmed; anything else gets the default text.
QString VariableHelpText(QStringView name);

// Every key that has help, in alphabetical order ignoring letter case.
QStringList keysWithHelp();

// The type of a variable's value, letter case of the name ignored; Unknown for a name without help.
ValueType valueType(QStringView name);

// A short line for under the help text, such as "Type: whole number"; empty for Unknown.
QString valueTypeText(ValueType type);

// A short note when the value does not fit the variable's type ("expects a whole number"); empty
// when it fits or when the type says nothing about the form. Blanks around a value are not counted:
// the engines skip them when they read a number.
QString valueHint(QStringView name, QStringView value);

} // namespace Help
