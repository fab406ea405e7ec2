#pragma once

#include <SDL2/SDL.h>

#include <optional>

// The f key in a window: the window covers its display without a border,
// the way full screen opens its windows, and goes back to its place on the
// next press. Unlike SDL's full-screen modes this needs no window manager.
class FullScreenToggle {
 public:
  void toggle(SDL_Window* window);

 private:
  std::optional<SDL_Rect> windowed_;  // where the window was before
};
