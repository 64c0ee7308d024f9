#include "association/Registry.h"

#if defined(Q_OS_WIN)
#include "association/WindowsRegistry.h"
#else
#include "association/FreedesktopRegistry.h"
#endif

namespace {
#if defined(Q_OS_WIN)
WindowsRegistry platformRegistry;
#else
// Reads the desktop's folders at each write, so it follows the environment it runs in.
FreedesktopRegistry platformRegistry;
#endif
Registry *currentRegistry = &platformRegistry;
}

Registry &Registry::current()
{
    return *currentRegistry;
}

void Registry::install(Registry *registry)
{
    currentRegistry = registry ? registry : &platformRegistry;
}
