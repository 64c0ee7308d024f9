#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// The rules by which the reader, the writers and the value rule see the text of a definition file.
namespace Fbi {
// The engines' own limits on what a file may hold.
inline constexpr qsizetype MaxLineLength = 32767;
inline constexpr int MaxLinesWithoutClosingBrace = 32768;
// Real files nest sections two or three deep. A deeper file is made by accident or to harm: each
// section it leaves open costs a closing line in the saved text, so the depth is bounded well above
// any real use and far below what could make a save grow large.
inline constexpr int MaxNestingDepth = 256;

// Where the parts of a row stand in a text, its name starting at the offset given to rowSpan.
struct RowSpan
{
    qsizetype nameEnd;      // the name without the tabs before its "="
    qsizetype equals;
    qsizetype valueBegin;   // after the "=" and the tabs that follow it
    qsizetype valueEnd;     // at the ";", or at the line's end less its blanks; tabs before it dropped
    qsizetype end;          // after the ";", or at the line's end when it has none
    bool semicolon;
};

// The one reading of a row: the name runs to the first "=" (less the tabs before it), the value from
// after the "=" and its tabs to the first ";" or line end. Without a ";" the blanks at the value's
// end are not part of it; tabs at its end never are. text must hold an "=" at or after nameStart.
RowSpan rowSpan(QByteArrayView text, qsizetype nameStart);

// The text the reader judges a line's structure by: blanks trimmed at both ends, cut at its first
// ";", every tab removed. The result may point into scratch.
QByteArrayView normalizeLine(QByteArrayView line, QByteArray &scratch);

// A line that opens a section, such as "[SFXTypes]", "[customParams] {" or "[CLASS1] // tanks".
bool isSectionHeader(QByteArrayView normalized);
// The unit's own header, "[UNITINFO]" in any letter case.
bool isUnitHeader(QByteArrayView normalized);
// The name between a header's brackets.
QByteArrayView sectionName(QByteArrayView normalizedHeader);

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
}
