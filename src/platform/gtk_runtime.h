#pragma once

#include <chrono>

// GTK, for the configuration sheet, in the one main thread of the process.

// Brings GTK up, once per process, when there is a display to open, on the
// same kind of display (Wayland or X11) as SDL's video when SDL is up; false
// while there is none, in which case the next call tries again.
bool startGtk();

// Handles GTK's pending events without waiting; the SDL windows' event
// source calls it as it handles theirs. Does nothing before GTK is up.
void runPendingGtkEvents();

// Handles one round of GTK's pending events without waiting; false when
// none were pending (or GTK is not up).
bool runOneRoundOfGtkEvents();

// Waits for GTK's next event, or until the timeout, and handles what came.
// A signal cuts the wait short. Does nothing before GTK is up.
void waitForGtkEvents(std::chrono::milliseconds timeout);
