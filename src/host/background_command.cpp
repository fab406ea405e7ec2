#include "host/background_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "host/frame_loop.h"
#include "host/saver_run.h"
#include "host/termination.h"
#include "platform/wallpapers.h"

namespace {

using Clock = FrameLoop::Clock;
using namespace std::chrono_literals;

// How long the compositor has to give every wallpaper its size.
constexpr auto kSizingTime = 10s;

// Waits for the compositor to size every wallpaper; false when it did not in
// time or the run is to end.
bool waitForSizes(FrameLoop& loop, const std::vector<std::unique_ptr<FrameSurface>>& surfaces) {
  const auto deadline = Clock::now() + kSizingTime;
  const auto allSized = [&] {
    return std::all_of(surfaces.begin(), surfaces.end(), [](const auto& surface) {
      return surface->pixelSize().width > 0 && surface->pixelSize().height > 0;
    });
  };
  while (!allSized()) {
    if (Clock::now() >= deadline || !loop.waitUntil(std::min(deadline, Clock::now() + 50ms))) {
      return false;
    }
  }
  return true;
}

// The compositor's end ends the wallpaper as the X server's end ends the
// saver: with the session, status 0.
int compositorEnded() {
  std::fputs("swirlmote: lost the connection to the Wayland compositor\n", stderr);
  return 0;
}

}  // namespace

int runBackground(const RunOptions& options) {
  const auto wallpapers = Wallpapers::start();
  if (!wallpapers) {
    std::fputs(
        "swirlmote: --background needs a Wayland compositor with the layer-shell protocol (WAYLAND_DISPLAY "
        "names none that offers it)\n",
        stderr);
    return 1;
  }
  std::vector<std::unique_ptr<FrameSurface>> surfaces = wallpapers->onEveryOutput();
  if (surfaces.empty()) {
    std::fputs("swirlmote: the Wayland compositor has no output to draw the background on\n", stderr);
    return 1;
  }
  FrameLoop loop(viewOptionsOf(options), loopOptionsOf(options, false), wallpapers.get());
  if (!waitForSizes(loop, surfaces)) {
    if (wallpapers->lost()) {
      return compositorEnded();
    }
    if (terminationRequested()) {
      return 0;
    }
    std::fputs("swirlmote: the Wayland compositor gave the background windows no size\n", stderr);
    return 1;
  }
  BringUpFailure failure;
  if (!loop.add(std::move(surfaces), failure)) {
    std::fprintf(stderr, "swirlmote: %s\n", failure.message.c_str());
    return 1;
  }
  wallpapers->onOutputsAdded(
      [&loop](std::unique_ptr<FrameSurface> surface) { loop.addWhenSized(std::move(surface)); });
  const int64_t drawn = loop.run();
  if (wallpapers->lost()) {
    return compositorEnded();
  }
  return saveScreenshot(loop, drawn, options.screenshot) ? 0 : 1;
}
