#include "association/FileTypeRegistry.h"

#if defined(Q_OS_WIN)
#include "association/WindowsRegistry.h"
#else
#include "association/FreedesktopRegistry.h"
#endif

std::unique_ptr<FileTypeRegistry> FileTypeRegistry::platform()
{
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<FreedesktopRegistry>();
#endif
}
