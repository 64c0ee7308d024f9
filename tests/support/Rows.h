#pragma once

#include "documents/Document.h"

#include <QStringList>

// A document's rows as "name=value", the way the tests compare them; a section's header shows its
// name and an empty value.
inline QStringList rowsOf(const Document &document)
{
    QStringList rows;
    for (int row = 0; row < document.rowCount(); ++row)
        rows.append(document.name(row) + QLatin1Char('=') + document.value(row));
    return rows;
}
