#pragma once

#include <vector>

#include "platform/display_area.h"

// The X display's monitors as RandR 1.5 lists them, active ones only: each
// output, or what the user made of them with `xrandr --setmonitor` (one wide
// screen split in two, or tiles joined into one), which SDL does not see.
// Empty when the display cannot be opened or has no monitor list.
std::vector<DisplayArea> xMonitorBounds();
