#pragma once

#include <SDL2/SDL.h>

#include <optional>

struct _XDisplay;

// The X11 connection and window under an SDL window.
struct X11Window {
  _XDisplay* display;
  unsigned long window;
};

// Nothing without a window or when SDL runs on another video system.
std::optional<X11Window> x11WindowOf(SDL_Window* window);
// The file descriptor of that connection, to wait on; -1 without one.
int x11ConnectionOf(SDL_Window* window);
