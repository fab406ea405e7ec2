#include "host/configure_in_sheet.h"

#include <cstdio>
#include <memory>

#include "host/frame_loop.h"
#include "host/saver_run.h"
#include "host/window_placements.h"
#include "platform/gtk_event_source.h"
#include "platform/sheet_preview_surface.h"

int runConfigureInSheet(const RunOptions& options, const std::vector<DisplayArea>& displays) {
  auto surface =
      std::make_unique<SheetPreviewSurface>(fittedToDisplay(options.size.value_or(kPreviewSize), displays));
  SheetPreviewSurface& preview = *surface;
  GtkEventSource events;
  FrameLoop loop(viewOptionsOf(options), loopOptionsOf(options, true), &events);
  BringUpFailure failure;
  if (!loop.add(std::move(surface), failure)) {
    std::fprintf(stderr, "swirlmote: %s\n", failure.message.c_str());
    return 1;
  }
  Swirlmote& view = loop.screens().front()->view();
  SheetWindow* sheet = view.configureSheet();
  if (!sheet || !preview.placeIn(*sheet)) {
    std::fputs("swirlmote: the settings sheet could not be loaded (see the messages above)\n", stderr);
    return 1;
  }
  // GTK is up now, with the sheet: the compositor's end ends the run as it
  // ends the saver's other modes.
  watchGtkCompositor();
  view.previewSheetChanges();
  sheet->beginSheet(0, [sheet, &loop] {
    sheet->orderOut();
    loop.end();
  });
  const int64_t drawn = loop.run();
  if (events.lost()) {
    std::fputs("swirlmote: lost the connection to the Wayland compositor\n", stderr);
    return 0;
  }
  return saveScreenshot(loop, drawn, options.screenshot) ? 0 : 1;
}
