#pragma once

#include "host/run_options.h"

// --background: the saver as the wallpaper of every output, drawn headless
// at each output's size and shown on the layer-shell background layer, until
// a termination signal or the frame limit. Returns the process's status.
int runBackground(const RunOptions& options);
