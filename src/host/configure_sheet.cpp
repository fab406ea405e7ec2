#include "host/configure_sheet.h"

#include <utility>

#include "host/window_placements.h"
#include "platform/sdl_x11_window.h"
#include "platform/x_error_handlers.h"
#include "saver/sheet_window.h"

bool showConfigureSheet(Swirlmote& view, SDL_Window* over, std::function<void()> didEnd) {
  SheetWindow* sheet = view.configureSheet();
  if (!sheet) {
    return false;
  }
  // The first sheet brings GTK up, and GDK puts in X error handlers of its
  // own that end the process with status 1 when the server goes: ours go
  // back over them.
  installQuietXErrorHandlers();
  const auto parent = x11WindowOf(over);
  sheet->beginSheet(parent ? parent->window : 0, [sheet, ended = std::move(didEnd)] {
    sheet->orderOut();
    if (ended) ended();
  });
  return true;
}

bool showConfigureSheetBeside(Swirlmote& view, SDL_Window* preview, std::function<void()> didEnd) {
  SheetWindow* sheet = view.configureSheet();
  SDL_Rect display;
  if (sheet && SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(preview), &display) == 0) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(preview, &width, &height);
    const SideBySide places = sideBySide(
        display, Size{static_cast<double>(width), static_cast<double>(height)}, sheet->windowSize());
    SDL_SetWindowPosition(preview, places.preview.x, places.preview.y);
    sheet->moveTo(places.sheet.x, places.sheet.y);
  }
  return showConfigureSheet(view, preview, std::move(didEnd));
}
