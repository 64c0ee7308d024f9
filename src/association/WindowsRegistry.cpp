#include "association/WindowsRegistry.h"

#include "association/FileAssociation.h"

#include <QList>

#include <windows.h>
#include <shlobj.h>

namespace {
// Creates the key, with its missing parents, and sets its default value to the text.
LSTATUS setDefaultValue(const QString &keyPath, const QString &text)
{
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(keyPath.utf16()), 0,
                                     nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    // The text with its NUL, counted in bytes.
    status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.utf16()),
                            DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}
}

WindowsRegistry::WindowsRegistry(const QString &classesKey)
    : m_classesKey(classesKey)
{
}

RegistrationOutcome WindowsRegistry::registerFileType(const FileType &type)
{
    const QString typeKey = m_classesKey + QLatin1Char('\\') + type.typeKey;
    const QList<std::pair<QString, QString>> values{
        {m_classesKey + QStringLiteral("\\.") + type.extension, type.typeKey},
        {typeKey, type.description},
        {typeKey + QStringLiteral("\\shell\\open\\command"), FileAssociation::openCommand(type.program)},
        {typeKey + QStringLiteral("\\DefaultIcon"), type.iconPath},
    };
    for (const auto &[keyPath, text] : values) {
        const LSTATUS status = setDefaultValue(keyPath, text);
        if (status != ERROR_SUCCESS)
            return {false, QStringLiteral("HKEY_CURRENT_USER\\") + keyPath + QStringLiteral(": ") + qt_error_string(int(status))};
    }
    // Explorer shows the new type's icon and opens the files with the program without a restart.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return {true, {}};
}
