#include "platform/KeyboardLocks.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(KORVID_HAVE_X11)
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace {
#if defined(Q_OS_WIN)
std::optional<bool> toggled(int key)
{
    return (GetKeyState(key) & 1) != 0;
}
#elif defined(KORVID_HAVE_X11)
std::optional<bool> indicator(const char *name)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
}
#endif
}

std::optional<bool> KeyboardLocks::capsLock()
{
#if defined(Q_OS_WIN)
    return toggled(VK_CAPITAL);
#elif defined(KORVID_HAVE_X11)
    return indicator("Caps Lock");
#else
    return std::nullopt;
#endif
}

std::optional<bool> KeyboardLocks::numLock()
{
#if defined(Q_OS_WIN)
    return toggled(VK_NUMLOCK);
#elif defined(KORVID_HAVE_X11)
    return indicator("Num Lock");
#else
    return std::nullopt;
#endif
}
