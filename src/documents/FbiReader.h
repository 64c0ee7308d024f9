#pragma once

#include "documents/FbiContent.h"
#include "documents/FileStamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

struct FbiReadResult
{
    enum class Error { None, CannotOpen, ReadFailed, LineTooLong, TooManyLines, TooDeep, NotText };
    FbiContent content;
    bool sectionEnded = false; // the unit's closing brace ended the reading
    Error error = Error::None;
    FileStamp stamp; // of the file read; invalid unless it was read whole
};

// The reading loop. A unit file: rows until the unit section's closing brace, nested sections as
// header rows with their rows after them. A file of definitions: every section to the end of the
// file. Block comments are kept verbatim. On an error the result still holds what was read before it.
FbiReadResult readFbi(const QByteArray &bytes, FbiKind kind = FbiKind::Unit);
// A ".tdf" file holds definitions; any other file is read as a unit.
FbiReadResult readFbiFile(const QString &path);
FbiKind kindOfPath(const QString &path);

// Why a file could not be read, as a phrase after its name ("... is not a text file").
QString readErrorText(FbiReadResult::Error error);

// The rows of any text by the reader's rules, for pasting: comments, braces, headers, nested
// sections and block comments are left out. Text without a header or an opening brace is read as
// if it stood inside a unit section. A text the reader refuses (a line too long, too many lines)
// gives no rows and the error.
QList<FbiRow> parseRows(QByteArrayView text, FbiReadResult::Error *error = nullptr);
