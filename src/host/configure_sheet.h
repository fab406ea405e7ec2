#pragma once

#include <functional>

#include "platform/sdl_window_surface.h"
#include "saver/swirlmote.h"

// The o key in a window, and --configure: shows the view's configuration
// sheet over the saver's window, transient for it and centred on it, while
// the animation runs on behind. The sheet's end hides it, then runs didEnd.
// A sheet already up is only raised. False when the view has no sheet.
bool showConfigureSheet(Swirlmote& view, SdlWindowSurface& over, std::function<void()> didEnd = {});

// --configure: the same sheet beside the preview, which moves to its left:
// the two side by side on the preview's display, neither covering the other.
// The preview follows the sheet's changes before they are stored.
bool showConfigureSheetBeside(Swirlmote& view, SdlWindowSurface& preview, std::function<void()> didEnd);
