#pragma once

#include "association/FileTypeRegistry.h"

// The file types of the current user in the Windows registry: the keys below
// HKEY_CURRENT_USER\Software\Classes, which Windows reads before the machine's own and which a
// user without administrator rights may write. Built on Windows only.
class WindowsRegistry final : public FileTypeRegistry
{
public:
    // classesKey: where below HKEY_CURRENT_USER the file types go.
    explicit WindowsRegistry(const QString &classesKey = QStringLiteral("Software\\Classes"));

    // Writes the extension's key naming the type, the type's description, its open command and
    // its icon; the first key that fails ends it, named in the reason with the system's words.
    RegistrationOutcome registerFileType(const FileType &type) override;

private:
    QString m_classesKey;
};
