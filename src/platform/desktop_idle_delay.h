#pragma once

#include <optional>

// GNOME's idle delay (org.gnome.desktop.session idle-delay), in seconds,
// after which the desktop itself blanks the screen; 0 when it never does.
// Nothing when that setting's schema is not installed: not GNOME.
std::optional<unsigned> gnomeIdleDelay();
