#pragma once

#include "association/FileType.h"

#include <QString>

#include <memory>

struct RegistrationOutcome
{
    bool ok = false;
    QString reason;     // what went wrong, in the system's words where it gave any
};

// Where the desktop learns which program opens a kind of file: the user's part of the registry on
// Windows, the freedesktop folders elsewhere. Registering only for the current user needs no
// administrator.
class FileTypeRegistry
{
public:
    virtual ~FileTypeRegistry() = default;

    // Makes the desktop open files of the type with its program, for the current user.
    virtual RegistrationOutcome registerFileType(const FileType &type) = 0;

    // The registry of the platform the program runs on.
    static std::unique_ptr<FileTypeRegistry> platform();
};
