#pragma once

#include <vector>

#include "host/run_options.h"
#include "platform/display_area.h"

// The windows of our own that a mode opens: one titled, resizable window for
// the window and the preview, no larger than the display it opens on; for
// full screen a borderless window over each display, leaving out a display
// whose area overlaps one already covered (mirrored outputs, or further X
// screens, which SDL reports at the first one's place and cannot open
// windows on).
std::vector<WindowPlacement> windowPlacements(const RunOptions& options,
                                              const std::vector<DisplayArea>& displays);

// --configure's preview and sheet side by side on a display: the preview on
// the left, a gap, the sheet on the right, the pair centred across the
// display and each centred from top to bottom. On a display too small for
// both, each keeps within it.
struct ScreenPoint {
  int x = 0;
  int y = 0;
};
struct SideBySide {
  ScreenPoint preview;
  ScreenPoint sheet;
};
inline constexpr int kSideBySideGap = 24;  // pixels, room for window frames
SideBySide sideBySide(const DisplayArea& display, Size preview, Size sheet);

// The size held to the first display's, where a window of our own opens;
// the size as it is when there are no displays.
Size fittedToDisplay(Size size, const std::vector<DisplayArea>& displays);
