#pragma once

#include <memory>

// The keyboard's lock keys as the window system holds them: their state, and one synthetic press and
// release of a key. Tests put a fake in its place.
class KeyboardLocks
{
public:
    // Virtual-key codes of the keys the editor presses.
    static constexpr int InsertKey = 45;
    static constexpr int CapsLockKey = 20;
    static constexpr int NumLockKey = 144;

    virtual ~KeyboardLocks() = default;

    // Whether the lock of the key is on; false where the window system does not tell.
    virtual bool IsOn(int virtualKey) const = 0;
    // One press and release of the key, as if typed.
    virtual void PressKey(int virtualKey) = 0;
};

// X11 XTest when the application runs on X11; elsewhere locks that are never on and keys that do nothing.
std::unique_ptr<KeyboardLocks> CreateSystemKeyboardLocks();
