#pragma once

#include "documents/SafeWrite.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// Tables as comma-separated text, as spreadsheets write and read it: fields quoted where they hold
// a comma, a quote, a line break or blanks at an end; lines ending in CR LF; UTF-8, with a byte
// order mark only when asked (some spreadsheets want it to read letters beyond ASCII).
QByteArray csvText(const QList<QStringList> &rows, bool byteOrderMark = false);

// The table written to a file as csvText() gives it, through the safe writer: a failed write leaves
// the file as it was and says why.
WriteOutcome writeCsvFile(const QString &path, const QList<QStringList> &rows, bool byteOrderMark = false);
