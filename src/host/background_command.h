#pragma once

#include "host/run_options.h"

// --background: the saver as the wallpaper of every output, drawn headless
// at each output's size and shown on the layer-shell background layer, until
// a termination signal or the frame limit. An output that comes during the
// run gets a wallpaper once the compositor has sized its window; the
// wallpaper of an output that goes is dropped. Returns the process's status.
int runBackground(const RunOptions& options);
