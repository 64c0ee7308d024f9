#pragma once

#include <QFlags>
#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Help {

// What a variable's value is, as shown to the user. Unknown: the name has no help.
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

// The engines a unit file is written for. The original game is Cavedog's TotalA.exe 3.1.
enum class Engine : unsigned {
    OriginalGame = 0x1,
    Ta3d = 0x2,
    Spring = 0x4,
    Rwe = 0x8,
};
Q_DECLARE_FLAGS(Engines, Engine)

// Something to know about a value: an engine would read it otherwise than it is written, or it is
// still the placeholder of a new row. A note never makes a value invalid: modders use values the
// help does not know, and the file is saved as written.
struct ValueNote {
    enum class Kind { Misread, Placeholder };
    Kind kind = Kind::Misread;
    Engines engines;  // the engines the note is about; none for a placeholder of a key without help
    QString message;  // one sentence that names those engines
    bool operator==(const ValueNote &) const = default;
};

extern const QLatin1String CommentedOutHelpText;
extern const QLatin1String DefaultHelpText;

// Help for a variable name as it stands in the file: a "//" prefix marks a commented-out line;
// otherwise the name must equal a key, or a numbered key such as Weapon7 within the slots an engine
// reads, ignoring letter case as the engines do, but not trimmed; anything else gets the default text.
QString variableHelpText(QStringView name);

// The help of a row whose key is set again further down the same section: it says that the engines
// use the later row, numbered as the user sees it, then gives the key's own help.
QString overriddenHelpText(QStringView name, qsizetype laterRow);

// The keys Help Topics lists, in alphabetical order ignoring letter case: every key with help, and
// the numbered keys at their first slots.
QStringList keysWithHelp();

// The names offered for adding a row: the known names read from the variables data file together
// with every key that has help, in alphabetical order, each once in any letter case (the file's
// spelling kept) and without blank names.
QStringList addList(const QStringList &knownNames);

// The type of a variable's value, letter case of the name ignored; Unknown for a name without help.
ValueType valueType(QStringView name);

// The engines known to read the key; none for a name without help.
Engines readers(QStringView name);

// A short line for under the help text, such as "Type: whole number"; empty for Unknown.
QString valueTypeText(ValueType type);

// What the engines that read the key would make of the value, where one of them would read it
// otherwise than written ("TA3D reads a whole number: 367.5 becomes its default."), or the placeholder
// note; empty when every engine known to read the key reads the value as written. Blanks around the
// value are not counted: the engines skip them when they read a number.
QList<ValueNote> valueNotes(QStringView name, QStringView value);

// The same for a mod written for some engines only: the notes about any of them, and the placeholder
// note whatever the engines.
QList<ValueNote> valueNotes(QStringView name, QStringView value, Engines engines);

// The notes' messages as one line for under the value; empty when there is none.
QString valueHint(QStringView name, QStringView value);

// "The original game", "TA3D and Spring", "The original game, TA3D and RWE"; empty for none.
QString engineNames(Engines engines);

// The value a new row gets until the user sets one, and whether a value is still that placeholder
// (blanks around it and letter case ignored).
QString placeholderValue();
bool isPlaceholder(QStringView value);

} // namespace Help

Q_DECLARE_OPERATORS_FOR_FLAGS(Help::Engines)
