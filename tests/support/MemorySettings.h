#pragma once

#include "settings/Settings.h"

#include <QHash>
#include <QList>
#include <QPair>

// Settings kept in memory, with every write recorded in order; a store whose writes fail keeps nothing.
class MemorySettings final : public Settings::Store
{
public:
    QHash<QString, QString> values;
    QList<QPair<QString, QString>> writes;
    bool failWrites = false;

    QString read(const QString &key) override { return values.value(key); }
    bool write(const QString &key, const QString &value) override
    {
        if (!failWrites) {
            values.insert(key, value);
            writes.append({key, value});
        }
        return !failWrites;
    }
    QString location() const override { return QStringLiteral("/test/settings"); }
};
