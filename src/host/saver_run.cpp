#include "host/saver_run.h"

#include <cstdio>
#include <vector>

#include "host/window_placements.h"
#include "platform/png_writer.h"
#include "platform/sdl_events.h"
#include "platform/sdl_video.h"
#include "platform/sdl_window_surface.h"

ViewOptions viewOptionsOf(const RunOptions& options) {
  return {options.mode == SaverMode::Preview, options.renderer, options.overrides, options.seed};
}

LoopOptions loopOptionsOf(const RunOptions& options, bool endWhenASurfaceCloses) {
  LoopOptions loop;
  loop.delay = options.hacks.delay;
  loop.frameLimit = options.frames;
  loop.showFrameRate = options.hacks.showFrameRate;
  loop.keepLastFrame = !options.screenshot.empty();
  loop.endWhenASurfaceCloses = endWhenASurfaceCloses;
  return loop;
}

void addOwnSurfaces(const RunOptions& options, const SdlVideo& video, SdlEvents& events,
                    std::vector<std::unique_ptr<SdlWindowSurface>>& surfaces) {
  const std::vector<DisplayArea> displays = video.displayAreas();
  if (options.size && options.mode != SaverMode::FullScreen) {
    const Size fitted = fittedToDisplay(*options.size, displays);
    if (fitted.width != options.size->width || fitted.height != options.size->height) {
      std::fprintf(stderr, "swirlmote: a %gx%g window is larger than the display; it opens at %gx%g\n",
                   options.size->width, options.size->height, fitted.width, fitted.height);
    }
  }
  for (const WindowPlacement& placement : windowPlacements(options, displays)) {
    surfaces.push_back(std::make_unique<SdlWindowSurface>(events, placement, video.isWayland()));
  }
}

bool saveScreenshot(FrameLoop& loop, int64_t framesDrawn, const std::string& path) {
  if (path.empty()) {
    return true;
  }
  std::vector<uint8_t> rgba;
  int width = 0;
  int height = 0;
  if (framesDrawn == 0 || loop.screens().empty() ||
      !loop.screens().front()->surface().shownFrame(loop.screens().front()->context(), rgba, width, height)) {
    std::fprintf(stderr, "swirlmote: no frame to write to %s\n", path.c_str());
    return false;
  }
  return writePng(path, width, height, rgba);
}
