#pragma once

#include "documents/FbiContent.h"
#include "documents/FileStamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// What one line of a unit file means to the reader, block comments aside.
struct ParsedLine
{
    enum class Kind { Skip, Row, SectionEnd };
    Kind kind = Kind::Skip;
    QByteArrayView name;
    QByteArrayView value;
};

namespace Fbi {
// The game's own limits on what a unit file may hold.
inline constexpr qsizetype MaxLineLength = 32767;
inline constexpr int MaxLinesWithoutClosingBrace = 32768;
// Real unit files nest sections two or three deep. A deeper file is made by accident or to harm:
// each section it leaves open costs a closing line in the saved text, so the depth is bounded
// well above any real use and far below what could make a save grow large.
inline constexpr int MaxNestingDepth = 256;

// The text the reader judges a line's structure by: blanks trimmed at both ends, cut at its first
// ";", every tab removed. The result may point into scratch.
QByteArrayView normalizeLine(QByteArrayView line, QByteArray &scratch);

// A line that opens a section nested inside the unit's own, such as "[SFXTypes]" or "[customParams] {".
bool isNestedSectionHeader(QByteArrayView normalized);
}

// Reads one line: a name/value row, the unit section's closing brace, or nothing. The name loses
// all its tabs and the value the tabs at its ends; a tab inside the value stays. The views of the
// result point into line or scratch.
ParsedLine ParseLine(QByteArrayView line, QByteArray &scratch);

struct FbiReadResult
{
    enum class Error { None, CannotOpen, ReadFailed, LineTooLong, TooManyLines, TooDeep, NotText };
    FbiContent content;
    bool sectionEnded = false;
    Error error = Error::None;
    FileStamp stamp; // of the file read; invalid unless it was read whole
};

// The reading loop: rows until the unit section's closing brace; nested sections and block
// comments kept verbatim. On an error the result still holds what was read before it.
FbiReadResult readFbi(const QByteArray &bytes);
FbiReadResult readFbiFile(const QString &path);

// The rows of any text by the reader's rules, for pasting: comments, braces, headers, nested
// sections and block comments are left out. Text without a header or an opening brace is read as
// if it stood inside a unit section.
QList<FbiRow> parseRows(QByteArrayView text);
