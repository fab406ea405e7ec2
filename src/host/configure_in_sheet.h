#pragma once

#include <vector>

#include "host/run_options.h"
#include "platform/display_area.h"

// --configure where a client cannot place its windows (Wayland): one
// window, the settings sheet with the preview inside it beside the
// controls, so that neither can cover the other. The preview follows the
// sheet's changes before they are stored; the sheet's end ends the run.
// The preview is no larger than the first display. Returns the process
// status.
int runConfigureInSheet(const RunOptions& options, const std::vector<DisplayArea>& displays);
