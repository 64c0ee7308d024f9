#pragma once

#include "association/FileTypeRegistry.h"

#include <QList>

// A registry that keeps every file type registered with it and nothing else, so that no test
// associates files on the machine running it. Given a failure, it fails every registration with it.
class RecordingRegistry final : public FileTypeRegistry
{
public:
    QList<FileType> registered;
    QString failure;

    RegistrationOutcome registerFileType(const FileType &type) override
    {
        if (!failure.isEmpty())
            return {false, failure};
        registered.append(type);
        return {true, {}};
    }
};
