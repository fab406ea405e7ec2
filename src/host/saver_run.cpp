#include "host/saver_run.h"

#include <cstdio>
#include <vector>

#include "platform/png_writer.h"

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
