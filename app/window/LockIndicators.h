#pragma once

#include <optional>

// The keyboard's Caps Lock and Num Lock lights as the window system reports them.
struct LockIndicators
{
    bool CapsLock = false;
    bool NumLock = false;
};

// Reads the X11 keyboard indicator state; nothing when the session is not on X11 (Wayland, offscreen),
// where no such state can be read.
std::optional<LockIndicators> ReadLockIndicators();
