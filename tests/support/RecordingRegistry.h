#pragma once

#include "association/Registry.h"

#include <QStringList>

// A registry that keeps the text of every value written and nothing else, so that no test
// associates files on the machine running it.
class RecordingRegistry final : public Registry
{
public:
    QStringList values;

    qint32 createKey(Key, const QString &, quint32, quint32, Key *result, quint32 *disposition) override
    {
        *disposition = CreatedNewKey;
        return openKey(0, {}, 0, 0, result);
    }
    qint32 openKey(Key, const QString &, quint32, quint32, Key *result) override
    {
        *result = ++m_lastKey;
        return Success;
    }
    qint32 setValue(Key, const QString &, quint32, const QByteArray &data) override
    {
        values.append(QString::fromLatin1(data));
        return Success;
    }
    qint32 closeKey(Key) override { return Success; }

private:
    Key m_lastKey = 0;
};
