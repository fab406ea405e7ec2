#include "host/configure_sheet.h"

#include <utility>

#include "host/window_placements.h"
#include "platform/x_error_handlers.h"
#include "saver/sheet_window.h"

bool showConfigureSheet(Swirlmote& view, SdlWindowSurface& over, std::function<void()> didEnd) {
  SheetWindow* sheet = view.configureSheet();
  if (!sheet) {
    return false;
  }
  // The first sheet brings GTK up, and GDK puts in X error handlers of its
  // own that end the process with status 1 when the server goes: ours go
  // back over them.
  installQuietXErrorHandlers();
  sheet->beginSheet(over.x11Window(), [sheet, ended = std::move(didEnd)] {
    sheet->orderOut();
    if (ended) ended();
  });
  return true;
}

bool showConfigureSheetBeside(Swirlmote& view, SdlWindowSurface& preview, std::function<void()> didEnd) {
  SheetWindow* sheet = view.configureSheet();
  view.previewSheetChanges();
  if (const auto display = preview.usableDisplayArea(); sheet && display) {
    const SideBySide places = sideBySide(*display, preview.windowSize(), sheet->windowSize());
    preview.moveTo(places.preview.x, places.preview.y);
    sheet->moveTo(places.sheet.x, places.sheet.y);
  }
  return showConfigureSheet(view, preview, std::move(didEnd));
}
