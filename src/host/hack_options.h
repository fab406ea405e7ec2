#pragma once

#include <chrono>

// What the options of XScreenSaver's hacks ask of a run; those that mean
// nothing here (-install, -visual, ...) are read and dropped.
struct HackOptions {
  bool showFrameRate = false;
  // Paused each frame on top of the frame interval.
  std::chrono::microseconds delay{0};
};
