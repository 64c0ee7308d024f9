#include "association/Registry.h"

#if defined(Q_OS_WIN)
#include "association/WindowsRegistry.h"
#else
#include "association/FreedesktopRegistry.h"
#endif

std::unique_ptr<Registry> Registry::platform()
{
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsRegistry>();
#else
    // Reads the desktop's folders at each write, so it follows the environment it runs in.
    return std::make_unique<FreedesktopRegistry>();
#endif
}
