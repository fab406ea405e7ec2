#pragma once

#include "host/run_options.h"

// --configure where a client cannot place its windows (Wayland): one
// window, the settings sheet with the preview inside it beside the
// controls, so that neither can cover the other. The preview follows the
// sheet's changes before they are stored; the sheet's end ends the run.
// Returns the process status.
int runConfigureInSheet(const RunOptions& options);
