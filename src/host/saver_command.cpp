#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "host/background_command.h"
#include "host/commands.h"
#include "host/configure_in_sheet.h"
#include "host/configure_sheet.h"
#include "host/frame_loop.h"
#include "host/option_table.h"
#include "host/run_options.h"
#include "host/saver_events.h"
#include "host/saver_run.h"
#include "host/termination.h"
#include "platform/sdl_events.h"
#include "platform/sdl_video.h"
#include "platform/sdl_window_surface.h"
#include "platform/x_error_handlers.h"

namespace {

// The window that another program owns; the process status when there is
// none (a window id that does not exist is refused).
std::optional<int> addForeignSurface(const RunOptions& options, SdlEvents& events,
                                     std::vector<std::unique_ptr<SdlWindowSurface>>& surfaces) {
  if (!events.watching()) {
    std::fputs("swirlmote: cannot open the X display\n", stderr);
    return 1;
  }
  const unsigned long window = options.windowId.value_or(events.rootWindow());
  const auto size = events.watch(window, true);
  if (!size) {
    std::fprintf(stderr, "swirlmote: there is no window 0x%lx on this display (see swirlmote --help)\n",
                 window);
    return 2;
  }
  surfaces.push_back(std::make_unique<SdlWindowSurface>(events, window, *size));
  return std::nullopt;
}

}  // namespace

int runSaver(std::span<const std::string_view> args) {
  const auto options = parseRunOptions(kSaver, args, std::getenv("XSCREENSAVER_WINDOW"));
  if (!options) {
    return 2;
  }
  // The wallpaper draws headless and shows its frames through GTK: no SDL.
  if (options->mode == SaverMode::Background) {
    return runBackground(*options);
  }
  // Before SDL or the GL driver open the display: our handlers, and a
  // connection of our own by which a crash is known to follow the server's
  // end. SDL keeps the handlers it finds and puts them back when it ends.
  // GTK comes up only with the first sheet (configureSheet), so a compositor
  // or X server that goes away before then meets no GTK connection, which
  // would end the process with status 1 and no word.
  installQuietXErrorHandlers();
  LostXServerWatch watch;
  const bool foreign = options->mode == SaverMode::ForeignWindow;
  // Full-screen views have no title bar.
  const auto video = SdlVideo::start(foreign, options->mode != SaverMode::FullScreen);
  if (!video) {
    return 1;
  }
  // --configure on Wayland, where two windows cannot be put side by side:
  // the preview goes inside the sheet's window.
  if (options->configure && video->isWayland()) {
    watch.stop();
    return runConfigureInSheet(*options, video->displayAreas());
  }
  SdlEvents events(video->isX11());
  std::vector<std::unique_ptr<SdlWindowSurface>> surfaces;
  if (foreign) {
    if (const auto failed = addForeignSurface(*options, events, surfaces)) {
      return *failed;
    }
  } else {
    addOwnSurfaces(*options, *video, events, surfaces);
  }
  if (surfaces.empty()) {
    std::fputs("swirlmote: no display to show the saver on\n", stderr);
    return 1;
  }
  // Keys come only to the window and the preview, each of one window.
  SdlWindowSurface& first = *surfaces.front();

  // The end of a window we draw into ends the saver.
  FrameLoop loop(viewOptionsOf(*options), loopOptionsOf(*options, true), &events);
  BringUpFailure failure;
  if (!loop.add({std::make_move_iterator(surfaces.begin()), std::make_move_iterator(surfaces.end())},
                failure)) {
    // A window that another client destroyed while the view was being made
    // ends the saver as it would have later.
    if (failure.surfaceClosed) {
      return 0;
    }
    std::fprintf(stderr, "swirlmote: %s\n", failure.message.c_str());
    return 1;
  }
  watch.stop();
  if (options->mode == SaverMode::FullScreen) {
    video->hideCursor();
  }
  Swirlmote& view = loop.screens().front()->view();
  // --configure: the sheet beside the preview from the start; its end ends
  // the run.
  if (options->configure && !showConfigureSheetBeside(view, first, [&loop] { loop.end(); })) {
    std::fputs("swirlmote: the settings sheet could not be loaded (see the messages above)\n", stderr);
    return 1;
  }
  WakeTracker wake;
  loop.onInput([&](RunningView&, const SurfaceInput& input) {
    switch (actionFor(input, options->mode)) {
      case SaverAction::None: break;
      case SaverAction::Quit: loop.end(); break;
      case SaverAction::ToggleFullScreen: first.toggleFullScreen(); break;
      case SaverAction::ShowConfigureSheet: showConfigureSheet(view, first); break;
      case SaverAction::PointerMoved:
        if (wake.movedFar(input.dx, input.dy)) loop.end();
        break;
    }
  });

  const int64_t drawn = loop.run();
  // SDL ends the loop when its Wayland connection breaks: the compositor's
  // end ends the saver as the X server's does.
  if (video->lostCompositor()) {
    std::fputs("swirlmote: lost the connection to the Wayland compositor\n", stderr);
    return 0;
  }
  return saveScreenshot(loop, drawn, options->screenshot) ? 0 : 1;
}
