#pragma once

#include "settings/screen_saver_defaults.h"
#include "simulation/field.h"

// Reads the fifteen keys into the settings, limits the counts, shape and
// scale, and writes those four back to the store without synchronizing.
void loadDefaults(ScreenSaverDefaults& defaults, Settings& settings);
