#include "app/window/KeyboardLocks.h"

#include <QGuiApplication>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt's names: include it after every Qt header.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

class NoKeyboardLocks final : public KeyboardLocks
{
public:
    bool IsOn(int) const override { return false; }
    void PressKey(int) override {}
};

class X11KeyboardLocks final : public KeyboardLocks
{
public:
    explicit X11KeyboardLocks(Display *display) : m_display(display) {}

    bool IsOn(int virtualKey) const override
    {
        XkbStateRec state{};
        if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
            return false;
        switch (virtualKey) {
        case CapsLockKey:
            return (state.locked_mods & LockMask) != 0;
        case NumLockKey: {
            const unsigned int mask = XkbKeysymToModifiers(m_display, XK_Num_Lock);
            return mask != 0 && (state.locked_mods & mask) != 0;
        }
        default:
            // X11 keeps no Insert lock.
            return false;
        }
    }

    void PressKey(int virtualKey) override
    {
        const KeySym symbol = SymbolOf(virtualKey);
        if (symbol == NoSymbol)
            return;
        const KeyCode code = XKeysymToKeycode(m_display, symbol);
        if (code == 0)
            return;
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XFlush(m_display);
    }

private:
    static KeySym SymbolOf(int virtualKey)
    {
        switch (virtualKey) {
        case InsertKey:
            return XK_Insert;
        case CapsLockKey:
            return XK_Caps_Lock;
        case NumLockKey:
            return XK_Num_Lock;
        default:
            return NoSymbol;
        }
    }

    Display *m_display;
};

Display *X11DisplayOfApplication()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

bool HasXTest(Display *display)
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
}

} // namespace

std::unique_ptr<KeyboardLocks> CreateSystemKeyboardLocks()
{
    Display *display = X11DisplayOfApplication();
    if (display && HasXTest(display))
        return std::make_unique<X11KeyboardLocks>(display);
    return std::make_unique<NoKeyboardLocks>();
}
