#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/commands.h"
#include "host/frame_rate_meter.h"
#include "host/option_table.h"
#include "host/run_options.h"
#include "platform/drawable_limits.h"
#include "platform/headless_platform.h"
#include "platform/png_writer.h"
#include "render/renderer.h"
#include "saver/swirlmote.h"

namespace {

// A frame's colour and depth-stencil buffers, its read-back and the PNG's
// rows.
constexpr std::size_t kBytesPerPixel = 4 + 4 + 4 + 3;

bool makeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      return true;
    }
  }
  std::fprintf(stderr, "swirlmote render: cannot use %s as the output directory: %s\n", path.c_str(),
               std::strerror(errno ? errno : ENOTDIR));
  return false;
}

std::string framePath(const std::string& directory, int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame));
  return directory + name;
}

bool saveFrame(Swirlmote& view, const std::string& path) {
  std::vector<uint8_t> rgba;
  int width = 0;
  int height = 0;
  if (!view.glView()->openGLContext()->readPixels(rgba, width, height)) {
    return false;
  }
  return writePng(path, width, height, rgba);
}

}  // namespace

int runRender(std::span<const std::string_view> args) {
  const auto options = parseRunOptions(kRender, args);
  if (!options) {
    return 2;
  }
  if (!makeDirectory(options->out)) {
    return 1;
  }

  HeadlessPlatform headless;
  std::unique_ptr<Swirlmote> view =
      Swirlmote::initWithFrame(Rect{{}, *options->size}, false, headless.backends());
  if (!view->glView()) {
    std::fputs(
        "swirlmote render: no headless OpenGL renderer: install Mesa's EGL drivers (libegl-mesa0, "
        "libgl1-mesa-dri)\n",
        stderr);
    return 1;
  }
  OpenGLContext& context = *view->glView()->openGLContext();
  context.makeCurrentContext();
  const int width = static_cast<int>(options->size->width);
  const int height = static_cast<int>(options->size->height);
  if (const auto refusal = drawableSizeRefusal(width, height, kBytesPerPixel)) {
    std::fprintf(stderr, "swirlmote render: cannot draw that size: %s\n", refusal->c_str());
    return 1;
  }
  view->setRenderer(options->renderer);
  view->setOverrides(options->overrides);
  if (options->seed) {
    srandom(*options->seed);
  }
  view->setFrameSize(*options->size);
  context.makeCurrentContext();
  if (const auto failure = drawableFailure()) {
    std::fprintf(stderr, "swirlmote render: cannot draw %dx%d: %s\n", width, height, failure->c_str());
    return 1;
  }
  view->startAnimation();
  // The load is the share of the saver's frame interval that each frame
  // took.
  FrameRateMeter meter(std::chrono::duration_cast<FrameRateMeter::Clock::duration>(
      std::chrono::duration<double>(view->animationTimeInterval())));
  if (options->hacks.showFrameRate) {
    view->setFrameOverlay([&meter] { drawFrameRateOverlay(meter.figures()); });
  }

  const auto started = std::chrono::steady_clock::now();
  auto lastReport = started;
  int written = 0;
  for (int64_t frame = 1; frame <= *options->frames; ++frame) {
    // The frame is read back before the next one is drawn over it.
    meter.frameBegan(std::chrono::steady_clock::now());
    view->animateOneFrame();
    meter.frameEnded(std::chrono::steady_clock::now());
    const bool last = frame == *options->frames;
    if (last || (options->every > 0 && frame % options->every == 0)) {
      if (!saveFrame(*view, framePath(options->out, frame))) {
        return 1;
      }
      ++written;
    }
    if (last && !options->screenshot.empty() && !saveFrame(*view, options->screenshot)) {
      return 1;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastReport >= std::chrono::seconds(1)) {
      std::fprintf(stderr, "\rswirlmote render: frame %lld of %lld", static_cast<long long>(frame),
                   static_cast<long long>(*options->frames));
      lastReport = now;
    }
  }
  view->stopAnimation();
  if (lastReport != started) {
    std::fputc('\n', stderr);
  }
  std::fprintf(stderr, "swirlmote render: wrote %d frame%s to %s\n", written, written == 1 ? "" : "s",
               options->out.c_str());
  return 0;
}
