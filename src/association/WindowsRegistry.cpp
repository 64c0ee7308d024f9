#include "association/WindowsRegistry.h"

#include <windows.h>

namespace {
// HKEY_CLASSES_ROOT is sign-extended on 64-bit Windows, so the layer's own value is mapped.
HKEY handle(Registry::Key key)
{
    return key == Registry::ClassesRoot ? HKEY_CLASSES_ROOT : reinterpret_cast<HKEY>(key);
}

Registry::Key toKey(HKEY handle)
{
    return reinterpret_cast<Registry::Key>(handle);
}
}

qint32 WindowsRegistry::createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                                  quint32 *disposition)
{
    HKEY created = nullptr;
    DWORD createdDisposition = 0;
    const QByteArray path = subKey.toLocal8Bit();
    const LONG status = RegCreateKeyExA(handle(root), path.constData(), 0, nullptr, options, access, nullptr,
                                        &created, &createdDisposition);
    if (result)
        *result = toKey(created);
    if (disposition)
        *disposition = createdDisposition;
    return status;
}

qint32 WindowsRegistry::openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result)
{
    HKEY opened = nullptr;
    const QByteArray path = subKey.toLocal8Bit();
    const LONG status = RegOpenKeyExA(handle(root), path.constData(), options, access, &opened);
    if (result)
        *result = toKey(opened);
    return status;
}

qint32 WindowsRegistry::setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data)
{
    const QByteArray name = valueName.toLocal8Bit();
    return RegSetValueExA(handle(key), name.constData(), 0, type, reinterpret_cast<const BYTE *>(data.constData()),
                          DWORD(data.size()));
}

qint32 WindowsRegistry::closeKey(Key key)
{
    return RegCloseKey(handle(key));
}
