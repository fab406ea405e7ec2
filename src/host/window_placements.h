#pragma once

#include <SDL2/SDL.h>

#include <vector>

#include "host/saver_options.h"
#include "platform/sdl_context.h"

// The windows of our own that a mode opens: one titled, resizable window for
// the window and the preview, no larger than the display it opens on; for
// full screen a borderless window over each display, leaving out a display
// whose area overlaps one already covered (mirrored outputs, or further X
// screens, which SDL reports at the first one's place and cannot open
// windows on). On Wayland each full-screen window asks for its output.
std::vector<SdlWindowPlacement> windowPlacements(const SaverOptions& options,
                                                 const std::vector<SDL_Rect>& displays, bool wayland = false);

// The size held to the first display's, where a window of our own opens;
// the size as it is when there are no displays.
Size fittedToDisplay(Size size, const std::vector<SDL_Rect>& displays);

// Every display's bounds: on X11 the RandR monitors when the server lists
// them, otherwise the displays as SDL sees them.
std::vector<SDL_Rect> displayBounds(bool x11);
