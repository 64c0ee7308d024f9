#include "platform/KeyboardLocks.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(KORVID_HAVE_X11)
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace {
// One lock key's state: Windows knows it by its virtual key, the X server by its indicator's name.
std::optional<bool> lockKey([[maybe_unused]] int windowsKey, [[maybe_unused]] const char *x11Indicator)
{
#if defined(Q_OS_WIN)
    return (GetKeyState(windowsKey) & 1) != 0;
#elif defined(KORVID_HAVE_X11)
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const Atom atom = XInternAtom(display, x11Indicator, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
#else
    return std::nullopt;
#endif
}

#if !defined(Q_OS_WIN)
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_NUMLOCK = 0x90;
#endif
}

std::optional<bool> KeyboardLocks::capsLock()
{
    return lockKey(VK_CAPITAL, "Caps Lock");
}

std::optional<bool> KeyboardLocks::numLock()
{
    return lockKey(VK_NUMLOCK, "Num Lock");
}
