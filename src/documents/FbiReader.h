#pragma once

#include "documents/FbiContent.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

// What one line of a unit file means to the reader.
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

// The text the reader judges a line by: blanks trimmed at both ends, cut at its first ";",
// every tab removed. The result may point into scratch.
QByteArrayView normalizeLine(QByteArrayView line, QByteArray &scratch);

// A line that opens a section nested inside the unit's own, such as "[SFXTypes]" or "[customParams] {".
bool isNestedSectionHeader(QByteArrayView normalized);
}

// Reads one line: a name/value row, the unit section's closing brace, or nothing.
// The views of the result point into line or scratch.
ParsedLine ParseLine(QByteArrayView line, QByteArray &scratch);

struct FbiReadResult
{
    enum class Error { None, CannotOpen, ReadFailed, LineTooLong, TooManyLines };
    FbiContent content;
    bool sectionEnded = false;
    Error error = Error::None;
};

// The reading loop: rows until the unit section's closing brace, nested sections kept verbatim.
// On an error the result still holds what was read before it.
FbiReadResult readFbi(QIODevice &device);
FbiReadResult readFbiFile(const QString &path);

// The rows of any text by the reader's rules, such as text pasted from a unit file: rows only.
QList<FbiRow> parseRows(QByteArrayView text);
