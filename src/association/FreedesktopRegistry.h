#pragma once

#include "association/DesktopRegistration.h"
#include "association/FileTypeRegistry.h"

#include <optional>

// The file types of the current user on a freedesktop desktop: a MIME type, a desktop entry and the
// default application in the user's own folders (DesktopRegistration). The desktop's database tools
// run on their own afterwards, so the window never waits for them.
class FreedesktopRegistry final : public FileTypeRegistry
{
public:
    // The user's folders, looked up at each registration.
    FreedesktopRegistry() = default;
    explicit FreedesktopRegistry(const DesktopRegistration::Folders &folders) : m_folders(folders) {}

    RegistrationOutcome registerFileType(const FileType &type) override;

private:
    std::optional<DesktopRegistration::Folders> m_folders;
};
