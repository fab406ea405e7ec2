#include "platform/sdl_x11_window.h"

#include <SDL2/SDL_syswm.h>

std::optional<X11Window> x11WindowOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return std::nullopt;
  }
  return X11Window{info.info.x11.display, info.info.x11.window};
}

int x11ConnectionOf(SDL_Window* window) {
  const auto x11 = x11WindowOf(window);
  return x11 ? ConnectionNumber(x11->display) : -1;
}
