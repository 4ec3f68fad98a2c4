#include "app/window/LockIndicators.h"

#include <QGuiApplication>

#if __has_include(<X11/XKBlib.h>) && QT_CONFIG(xcb)
#define BRINDLEWICK_HAS_XKB 1
// X11 headers last: their macros (None, Bool, Status) clash with Qt's names.
#include <X11/XKBlib.h>
#endif

#ifdef BRINDLEWICK_HAS_XKB
namespace {

// The indicator is found by its name, so a keymap that numbers its lights differently still reads right.
std::optional<bool> NamedIndicator(Display *display, const char *name)
{
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == 0 || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
}

} // namespace
#endif

std::optional<LockIndicators> ReadLockIndicators()
{
#ifdef BRINDLEWICK_HAS_XKB
    auto *x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr)
        return std::nullopt;
    Display *display = x11->display();
    const std::optional<bool> caps = NamedIndicator(display, "Caps Lock");
    const std::optional<bool> num = NamedIndicator(display, "Num Lock");
    if (caps.has_value() || num.has_value())
        return LockIndicators{caps.value_or(false), num.value_or(false)};
    // A keymap without named lights: the core indicator bits (Caps Lock is bit 0, Num Lock bit 1).
    unsigned int state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return LockIndicators{(state & 1U) != 0, (state & 2U) != 0};
#else
    return std::nullopt;
#endif
}
