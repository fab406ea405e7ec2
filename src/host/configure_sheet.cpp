#include "host/configure_sheet.h"

#include <utility>

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
