#pragma once

#include <QString>
#include <QStringView>

// What a value may hold, the same at every way a value comes in (the value editor, Replace, paste,
// the table, imports): text that a save writes where it stands and a new read gives back as it
// was typed. A ";" or a line break would end the value in the file and make the rest of it more of
// the unit, so the text is cut there; blanks and tabs at its ends are not read back, so they go.
// A tab inside a value stays.
struct CheckedValue
{
    enum class Change { None, Trimmed, Cut };
    QString value;
    Change change = Change::None;
};

CheckedValue checkValue(QStringView text);

// How much of text can stand in a value: everything before its first ";" or line break.
qsizetype storableLength(QStringView text);

// The text without the blanks and tabs at its ends, which the reader does not read as part of a value.
QStringView trimBlanks(QStringView text);

// What the rule did, in the words every way in shows; empty for Change::None.
QString valueRuleNote(CheckedValue::Change change);
