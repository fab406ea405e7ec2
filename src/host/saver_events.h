#pragma once

#include "host/run_options.h"
#include "platform/frame_surface.h"

enum class SaverAction {
  None,
  Quit,
  ToggleFullScreen,
  ShowConfigureSheet,
  PointerMoved,  // in full screen: ends it once the pointer has gone far
};

// What a surface's input means in a mode. A window is closed with Esc, q or
// its close button, and toggled with f; full screen ends on any key, button
// or wheel, or when the pointer moves far; a foreign window ignores input,
// since its owner decides when we end.
SaverAction actionFor(const SurfaceInput& input, SaverMode mode);

// Whether the pointer has gone beyond the threshold from where it was when
// full screen began, from the movements that the motion events carry: on
// Wayland a client never learns the pointer's place on the screen, only its
// place in our windows.
class WakeTracker {
 public:
  static constexpr int kThreshold = 10;  // pixels, in either direction

  // Adds one motion event's movement; whether the pointer is now far from
  // where it began.
  bool movedFar(int dx, int dy);

 private:
  int x_ = 0;
  int y_ = 0;
};
