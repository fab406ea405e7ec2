#pragma once

#include <functional>

#include "host/idle_command.h"

// The saver the idle host shows: full screen on every display with the
// stored settings, through the same bring-up and frame loop as
// --fullscreen, and ended as that is by a key, a button or the pointer
// moving far. Its windows are made for each showing and destroyed at its
// end, with SDL's video, so that between showings the host holds no display
// connection but its idle monitor's.
IdleSaverEnd showIdleSaver(const std::function<bool()>& dismissed);
