#pragma once

#include "settings/Settings.h"

#include <QHash>
#include <QList>
#include <QPair>

// Settings kept in memory, with every write recorded in order.
class MemorySettings final : public Settings::Store
{
public:
    QHash<QString, QString> values;
    QList<QPair<QString, QString>> writes;

    QString read(const QString &key) override { return values.value(key); }
    void write(const QString &key, const QString &value) override;
};
