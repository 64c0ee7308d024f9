#pragma once

#include "mod/ModLoader.h"

#include <QList>
#include <QString>

#include <utility>

// A unit's rows as name and value.
using Rows = QList<std::pair<QString, QString>>;

// Units made in memory, each named by its file; a null value leaves the key out.
inline QList<ModFile> unitFiles(const QList<Rows> &units)
{
    QList<ModFile> files;
    for (qsizetype index = 0; index < units.size(); ++index) {
        ModFile file;
        file.relativePath = QStringLiteral("unit%1.fbi").arg(index);
        file.path = QStringLiteral("/nowhere/") + file.relativePath;
        for (const auto &[name, value] : units[index]) {
            if (!value.isNull())
                file.read.content.appendRow(name, value);
        }
        files.append(file);
    }
    return files;
}
