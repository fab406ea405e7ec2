#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/hack_options.h"
#include "host/run_options.h"
#include "host/saver_screen.h"
#include "platform/window_watch.h"

// What the frame loop drives: the started screens of one mode and, on X11,
// the watch on their windows.
struct SaverSession {
  SaverMode mode = SaverMode::Window;
  std::vector<std::unique_ptr<SaverScreen>> screens;
  std::unique_ptr<WindowWatch> watch;
  // The frame rate overlay, and the pause on top of each frame interval.
  HackOptions hacks;
  // Set when the sheet of --configure ends, which ends the loop.
  bool sheetEnded = false;
};

// Gives every screen a frame each animation interval (and the hack options'
// delay), sleeping in between
// and handling events, until the mode's way out, a termination signal, the
// end of a window we draw into, or the frame limit. With keepLastFrame the first
// screen's last frame stays readable. Returns the number of frames drawn.
int64_t runFrames(SaverSession& session, std::optional<int64_t> frameLimit, bool keepLastFrame);
