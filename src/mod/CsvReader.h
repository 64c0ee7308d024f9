#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

// A table from comma-separated text as spreadsheets write it: with or without a UTF-8 byte order
// mark (text that is not UTF-8 is read as Latin-1), fields parted by commas, or by semicolons where
// the first line has more of them (a spreadsheet in a language that writes decimals with a comma),
// fields in double quotes with "" for a quote and line breaks inside, lines ending in CR LF, LF or
// CR. A field's leading quote, which an export puts before text a spreadsheet would run as a formula
// (and before a quote), is taken off.
struct CsvTable
{
    QList<QStringList> rows;
    QString error;  // why the text is no table; empty when it is one
};

CsvTable readCsv(QByteArrayView bytes);
