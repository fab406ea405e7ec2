#include <cstdio>
#include <cstdlib>

#include "host/background_loop.h"
#include "host/commands.h"
#include "host/configure_sheet.h"
#include "host/saver_loop.h"
#include "host/saver_options.h"
#include "host/window_placements.h"
#include "platform/png_writer.h"
#include "platform/sdl_video.h"
#include "platform/sdl_x11_window.h"
#include "platform/x_error_handlers.h"

namespace {

// Adds a screen with a view in the factory's window; nothing when it did,
// otherwise the process's status. A window that another client destroyed
// while the view was being made ends the saver as it would have later.
std::optional<int> addScreen(SaverSession& session, std::unique_ptr<SdlContextFactory> contexts, Size frame,
                             const SaverOptions& options) {
  SaverScreen::Failure failure;
  auto screen = SaverScreen::create(std::move(contexts), frame, options.mode == SaverMode::Preview,
                                    options.renderer, options.overrides, failure);
  if (!screen) {
    if (session.watch && failure.x11Window && !session.watch->watch(failure.x11Window, false)) {
      return 0;
    }
    std::fprintf(stderr, "swirlmote: no OpenGL window: %s\n", failure.error.c_str());
    return 1;
  }
  session.screens.push_back(std::move(screen));
  return std::nullopt;
}

// The window that another program owns, with a view in it; the process
// status when there is none (a window id that does not exist is refused).
std::optional<int> openForeignScreen(const SaverOptions& options, SaverSession& session, Size& size) {
  if (!session.watch) {
    std::fputs("swirlmote: cannot open the X display\n", stderr);
    return 1;
  }
  const unsigned long window = options.windowId.value_or(session.watch->rootWindow());
  const auto found = session.watch->watch(window, true);
  if (!found) {
    std::fprintf(stderr, "swirlmote: there is no window 0x%lx on this display (see swirlmote --help)\n",
                 window);
    return 2;
  }
  size = *found;
  return addScreen(session, std::make_unique<SdlContextFactory>(window), size, options);
}

// The mode's windows of our own, with a view in each, each watched from as
// soon as it is there: another client may destroy it at once.
std::optional<int> openOwnScreens(const SaverOptions& options, const SdlVideo& video, SaverSession& session) {
  const std::vector<SDL_Rect> displays = displayBounds(video.isX11());
  if (options.size && options.mode != SaverMode::FullScreen) {
    const Size fitted = fittedToDisplay(*options.size, displays);
    if (fitted.width != options.size->width || fitted.height != options.size->height) {
      std::fprintf(stderr, "swirlmote: a %gx%g window is larger than the display; it opens at %gx%g\n",
                   options.size->width, options.size->height, fitted.width, fitted.height);
    }
  }
  for (const SdlWindowPlacement& placement : windowPlacements(options, displays, video.isWayland())) {
    const Size frame{static_cast<double>(placement.width), static_cast<double>(placement.height)};
    if (const auto failed =
            addScreen(session, std::make_unique<SdlContextFactory>(placement), frame, options)) {
      return failed;
    }
    if (session.watch) {
      if (const auto window = x11WindowOf(session.screens.back()->window())) {
        session.watch->watch(window->window, false);
      }
    }
  }
  return std::nullopt;
}

// --configure: the sheet beside the preview from the start; its end ends the
// session.
bool beginConfiguring(SaverSession& session) {
  SaverScreen& screen = *session.screens.front();
  if (!showConfigureSheetBeside(screen.view(), screen.window(), [&session] { session.sheetEnded = true; })) {
    std::fputs("swirlmote: the settings sheet could not be loaded (see the messages above)\n", stderr);
    return false;
  }
  return true;
}

bool saveScreenshot(SaverScreen& screen, int64_t framesDrawn, const std::string& path) {
  std::vector<uint8_t> rgba;
  int width = 0;
  int height = 0;
  if (framesDrawn == 0 || !screen.context().readPixels(rgba, width, height)) {
    std::fprintf(stderr, "swirlmote: no frame to write to %s\n", path.c_str());
    return false;
  }
  return writePng(path, width, height, rgba);
}

}  // namespace

int runSaver(std::span<const std::string_view> args) {
  const auto options = parseSaverOptions(args, std::getenv("XSCREENSAVER_WINDOW"));
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
  watchForLostXServer();
  const bool foreign = options->mode == SaverMode::ForeignWindow;
  const auto video = SdlVideo::start(foreign);
  if (!video) {
    return 1;
  }
  SaverSession session;
  session.mode = options->mode;
  session.hacks = options->hacks;
  if (video->isX11()) {
    session.watch = WindowWatch::open();
  }
  Size foreignSize;
  if (foreign) {
    if (const auto failed = openForeignScreen(*options, session, foreignSize)) {
      return *failed;
    }
  } else if (const auto failed = openOwnScreens(*options, *video, session)) {
    return *failed;
  }

  // As headless rendering does: one seed gives one animation everywhere.
  if (options->seed) {
    srandom(*options->seed);
  }
  for (auto& screen : session.screens) {
    screen->start(foreign ? foreignSize : screen->drawableSize());
  }
  stopWatchingForLostXServer();
  if (options->mode == SaverMode::FullScreen) {
    SDL_ShowCursor(SDL_DISABLE);
  }
  if (options->configure && !beginConfiguring(session)) {
    return 1;
  }

  const bool screenshot = !options->screenshot.empty();
  const int64_t drawn = runFrames(session, options->frames, screenshot);
  // SDL ends the loop when its Wayland connection breaks: the compositor's
  // end ends the saver as the X server's does.
  if (video->lostCompositor()) {
    std::fputs("swirlmote: lost the connection to the Wayland compositor\n", stderr);
    return 0;
  }
  int status = 0;
  if (screenshot && !saveScreenshot(*session.screens.front(), drawn, options->screenshot)) {
    status = 1;
  }
  for (auto& screen : session.screens) {
    screen->stop();
  }
  return status;
}
