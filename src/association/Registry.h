#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// The four calls of the Windows registry that the file association makes, so the association is
// written once and each platform carries it out its own way. Results are platform status codes.
class Registry
{
public:
    using Key = quintptr;

    // The predefined root of the file types. A Key of 0 is no key: calls on it fail.
    static constexpr Key ClassesRoot = 0x80000000u;
    static constexpr quint32 OptionNonVolatile = 0;
    static constexpr quint32 KeyAllAccess = 0x3F;

    static constexpr quint32 TypeString = 1;    // REG_SZ: 8-bit text and one NUL
    static constexpr quint32 TypeDword = 4;     // REG_DWORD: 4 bytes, least significant first

    static constexpr qint32 Success = 0;
    static constexpr qint32 FileNotFound = 2;
    static constexpr qint32 AccessDenied = 5;
    static constexpr qint32 InvalidHandle = 6;
    static constexpr qint32 InvalidParameter = 87;
    static constexpr qint32 BadPathName = 161;

    static constexpr quint32 CreatedNewKey = 1;
    static constexpr quint32 OpenedExistingKey = 2;

    // The keys below a file type's key that the association writes.
    static inline const QString OpenCommandKey = QStringLiteral("\\shell\\open\\command");
    static inline const QString DefaultIconKey = QStringLiteral("\\DefaultIcon");

    virtual ~Registry() = default;

    // RegCreateKeyExA: creates the key below root, or opens it, with its missing parents.
    virtual qint32 createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                             quint32 *disposition) = 0;
    // RegOpenKeyExA: opens an existing key below root.
    virtual qint32 openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result) = 0;
    // RegSetValueExA: data is exactly the bytes handed over, its size the length passed.
    virtual qint32 setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data) = 0;
    // RegCloseKey.
    virtual qint32 closeKey(Key key) = 0;

    // The registry of the platform the program runs on.
    static std::unique_ptr<Registry> platform();
};
