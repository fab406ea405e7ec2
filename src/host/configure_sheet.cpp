#include "host/configure_sheet.h"

#include <SDL2/SDL_syswm.h>

#include <utility>

#include "saver/sheet_window.h"

namespace {

// The SDL window's X11 window; 0 on any other video system.
unsigned long x11WindowOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return 0;
  }
  return info.info.x11.window;
}

}  // namespace

bool showConfigureSheet(Swirlmote& view, SDL_Window* over, std::function<void()> didEnd) {
  SheetWindow* sheet = view.configureSheet();
  if (!sheet) {
    return false;
  }
  sheet->beginSheet(x11WindowOf(over), [sheet, ended = std::move(didEnd)] {
    sheet->orderOut();
    if (ended) ended();
  });
  return true;
}
