#pragma once

#include "association/Registry.h"

// The registry itself, through advapi32's 8-bit calls. Built on Windows only.
class WindowsRegistry final : public Registry
{
public:
    qint32 createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                     quint32 *disposition) override;
    qint32 openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result) override;
    qint32 setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data) override;
    qint32 closeKey(Key key) override;
};
