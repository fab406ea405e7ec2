#include "host/background_loop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "host/frame_rate_meter.h"
#include "host/frame_timer.h"
#include "host/termination.h"
#include "platform/drawable_limits.h"
#include "platform/gtk_layer_background.h"
#include "platform/gtk_runtime.h"
#include "platform/headless_platform.h"
#include "platform/png_writer.h"
#include "saver/swirlmote.h"

namespace {

using Clock = FrameTimer::Clock;
using namespace std::chrono_literals;

// A frame's colour and depth-stencil buffers, its read-back and the
// window's copy of it.
constexpr std::size_t kBytesPerPixel = 4 + 4 + 4 + 4;

// How long the compositor has to give every wallpaper its size.
constexpr auto kSizingTime = 10s;

// One output's wallpaper: its window and a view drawing headless at the
// window's size.
struct Wallpaper {
  std::unique_ptr<LayerBackground> window;
  HeadlessPlatform platform;
  // Declared after the platform, whose context factory and images it uses.
  std::unique_ptr<Swirlmote> view;
  Size size;
  std::vector<uint8_t> frame;
  int frameWidth = 0;
  int frameHeight = 0;

  Size windowSize() const {
    return Size{static_cast<double>(window->pixelWidth()), static_cast<double>(window->pixelHeight())};
  }
};

bool sized(const Wallpaper& wallpaper) {
  return wallpaper.window->pixelWidth() > 0 && wallpaper.window->pixelHeight() > 0;
}

// Handles GTK's events until the deadline, and those pending at it, the
// redraws of the wallpapers among them; false when the saver is to end.
// The compositor is checked before each round, since GDK ends the process
// on a connection that has gone.
bool waitUntil(Clock::time_point deadline) {
  for (;;) {
    if (terminationRequested() || LayerBackground::compositorLost()) {
      return false;
    }
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
      if (!runOneRoundOfGtkEvents()) {
        return true;
      }
    } else {
      // Rounded up, so that the wait never ends just short of the deadline.
      waitForGtkEvents(std::chrono::ceil<std::chrono::milliseconds>(left));
    }
  }
}

// Waits for the compositor to size every window; false when it did not in
// time or the saver is to end.
bool waitForSizes(const std::vector<std::unique_ptr<Wallpaper>>& wallpapers) {
  const auto deadline = Clock::now() + kSizingTime;
  const auto allSized = [&] {
    for (const auto& wallpaper : wallpapers) {
      if (!sized(*wallpaper)) return false;
    }
    return true;
  };
  while (!allSized()) {
    if (Clock::now() >= deadline || !waitUntil(std::min(deadline, Clock::now() + 50ms))) {
      return false;
    }
  }
  return true;
}

// The wallpaper's view, ready to start; false after a message.
bool makeView(Wallpaper& wallpaper, const RunOptions& options) {
  wallpaper.size = wallpaper.windowSize();
  wallpaper.view = Swirlmote::initWithFrame(Rect{{}, wallpaper.size}, false, wallpaper.platform.backends());
  if (!wallpaper.view->glView()) {
    std::fputs(
        "swirlmote: no headless OpenGL renderer: install Mesa's EGL drivers (libegl-mesa0, "
        "libgl1-mesa-dri)\n",
        stderr);
    return false;
  }
  wallpaper.view->glView()->openGLContext()->makeCurrentContext();
  const int width = static_cast<int>(wallpaper.size.width);
  const int height = static_cast<int>(wallpaper.size.height);
  if (const auto refusal = drawableSizeRefusal(width, height, kBytesPerPixel)) {
    std::fprintf(stderr, "swirlmote: cannot draw a %dx%d wallpaper: %s\n", width, height, refusal->c_str());
    return false;
  }
  wallpaper.view->setRenderer(options.renderer);
  // A termination signal ends the frame in progress too.
  wallpaper.view->setStopCheck(terminationRequested);
  wallpaper.view->setOverrides(options.overrides);
  return true;
}

// Draws the wallpaper's next frame, at its window's size, and shows it;
// false when the frame was given up.
bool drawFrame(Wallpaper& wallpaper) {
  const Size size = wallpaper.windowSize();
  // An output that changed its mode gets a new field at its new size.
  if (sized(wallpaper) && (size.width != wallpaper.size.width || size.height != wallpaper.size.height)) {
    wallpaper.size = size;
    wallpaper.view->setFrameSize(size);
  }
  wallpaper.view->animateOneFrame();
  if (wallpaper.view->gaveUpLastFrame()) {
    return false;
  }
  if (wallpaper.view->glView()->openGLContext()->readPixels(wallpaper.frame, wallpaper.frameWidth,
                                                            wallpaper.frameHeight)) {
    wallpaper.window->show(wallpaper.frame, wallpaper.frameWidth, wallpaper.frameHeight);
  }
  return true;
}

// The compositor's end ends the wallpaper as the X server's end ends the
// saver: with the session, status 0.
int compositorEnded() {
  std::fputs("swirlmote: lost the connection to the Wayland compositor\n", stderr);
  return 0;
}

// Draws every wallpaper's frames until the frame limit, a termination
// signal or the compositor's end. An output that comes during the run gets a
// wallpaper once the compositor has sized its window; the wallpaper of an
// output that goes is dropped.
int64_t runFrames(std::vector<std::unique_ptr<Wallpaper>>& wallpapers, const RunOptions& options) {
  const auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                            wallpapers.front()->view->animationTimeInterval())) +
                        options.hacks.delay;
  FrameRateMeter meter(interval);
  const auto start = [&](Wallpaper& wallpaper) {
    if (options.hacks.showFrameRate) {
      wallpaper.view->setFrameOverlay([&meter] { drawFrameRateOverlay(meter.figures()); });
    }
    wallpaper.view->setFrameSize(wallpaper.size);
    wallpaper.view->startAnimation();
  };
  for (auto& wallpaper : wallpapers) {
    start(*wallpaper);
  }
  LayerBackground::onOutputsAdded([&wallpapers](std::unique_ptr<LayerBackground> window) {
    wallpapers.push_back(std::make_unique<Wallpaper>());
    wallpapers.back()->window = std::move(window);
  });
  FrameTimer timer(interval, Clock::now());
  int64_t drawn = 0;
  while (waitUntil(timer.deadline())) {
    std::erase_if(wallpapers, [](const auto& wallpaper) { return wallpaper->window->closed(); });
    meter.frameBegan(Clock::now());
    for (auto& wallpaper : wallpapers) {
      if (!wallpaper->view) {
        if (!sized(*wallpaper)) {
          continue;
        }
        if (!makeView(*wallpaper, options)) {
          wallpaper->window->close();
          continue;
        }
        start(*wallpaper);
      }
      if (!drawFrame(*wallpaper)) {
        return drawn;
      }
    }
    meter.frameEnded(Clock::now());
    ++drawn;
    if (options.frames && drawn == *options.frames) {
      break;
    }
    timer.frameDone(Clock::now());
  }
  return drawn;
}

}  // namespace

int runBackground(const RunOptions& options) {
  if (!LayerBackground::startGtkOnLayerShell()) {
    std::fputs(
        "swirlmote: --background needs a Wayland compositor with the layer-shell protocol (WAYLAND_DISPLAY "
        "names none that offers it)\n",
        stderr);
    return 1;
  }
  std::vector<std::unique_ptr<Wallpaper>> wallpapers;
  for (auto& window : LayerBackground::onEveryOutput()) {
    wallpapers.push_back(std::make_unique<Wallpaper>());
    wallpapers.back()->window = std::move(window);
  }
  if (wallpapers.empty()) {
    std::fputs("swirlmote: the Wayland compositor has no output to draw the background on\n", stderr);
    return 1;
  }
  if (!waitForSizes(wallpapers)) {
    if (LayerBackground::compositorLost()) {
      return compositorEnded();
    }
    if (terminationRequested()) {
      return 0;
    }
    std::fputs("swirlmote: the Wayland compositor gave the background windows no size\n", stderr);
    return 1;
  }
  for (auto& wallpaper : wallpapers) {
    if (!makeView(*wallpaper, options)) {
      return 1;
    }
  }
  // As headless rendering does: one seed gives one animation everywhere.
  if (options.seed) {
    srandom(*options.seed);
  }
  const int64_t drawn = runFrames(wallpapers, options);
  if (LayerBackground::compositorLost()) {
    return compositorEnded();
  }
  int status = 0;
  if (!options.screenshot.empty()) {
    if (drawn == 0 || wallpapers.empty() || wallpapers.front()->frame.empty()) {
      std::fprintf(stderr, "swirlmote: no frame to write to %s\n", options.screenshot.c_str());
      status = 1;
    } else if (const Wallpaper& first = *wallpapers.front();
               !writePng(options.screenshot, first.frameWidth, first.frameHeight, first.frame)) {
      status = 1;
    }
  }
  for (auto& wallpaper : wallpapers) {
    if (wallpaper->view) {
      wallpaper->view->stopAnimation();
    }
  }
  return status;
}
