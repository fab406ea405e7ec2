#pragma once

#include <SDL2/SDL.h>

#include "host/saver_options.h"

enum class SaverAction {
  None,
  Quit,
  ToggleFullScreen,
  ShowConfigureSheet,
  Resize,        // the window with the event's windowID changed its size
  PointerMoved,  // in full screen: ends it once the pointer has gone far
};

// What an SDL event means in a mode. A window is closed with Esc, q or its
// close button, and toggled with f; full screen ends on any key, button or
// wheel, or when the pointer moves far; a foreign window ignores input,
// since its owner decides when we end.
SaverAction actionFor(const SDL_Event& event, SaverMode mode);

// Whether the pointer has gone beyond the threshold from where it was when
// full screen began, in screen coordinates.
class WakeTracker {
 public:
  static constexpr int kThreshold = 10;  // pixels, in either direction

  WakeTracker(int x, int y) : x_(x), y_(y) {}
  bool movedFar(int x, int y) const;

 private:
  int x_;
  int y_;
};
