// Memory over a long run at the heaviest settings, for both renderers: each
// in a process of its own, drawing headless frames as the saver does, and
// printing its resident and peak memory at each checkpoint. A flat line
// from the first checkpoint to the last is what a screen saver left on for
// hours needs.
//   swirlmote_soak [--size WxH] [--checkpoints N,N,...] [--renderer classic|batched]
// The defaults are 1280x720, 1000,20000 frames and both renderers.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "render/renderer.h"
#include "saver/swirlmote.h"

namespace {

struct Options {
  Size size{1280, 720};
  std::vector<long> checkpoints{1000, 20000};
  std::optional<Renderer> only;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--size") {
      int width = 0;
      int height = 0;
      if (std::sscanf(argv[i + 1], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) return false;
      options.size = Size{static_cast<double>(width), static_cast<double>(height)};
    } else if (name == "--checkpoints") {
      options.checkpoints.clear();
      std::stringstream list(argv[i + 1]);
      for (std::string item; std::getline(list, item, ',');) options.checkpoints.push_back(std::stol(item));
    } else if (name == "--renderer") {
      options.only = rendererNamed(argv[i + 1]);
      if (!options.only) return false;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !options.checkpoints.empty();
}

// A line of /proc/self/status in KiB, such as VmRSS or VmHWM.
long statusKiB(const char* key) {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long value = -1;
  const std::size_t length = std::strlen(key);
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, key, length) == 0 && line[length] == ':') {
      value = std::atol(line + length + 1);
      break;
    }
  }
  std::fclose(status);
  return value;
}

int soak(const Options& options, Renderer renderer, const char* name) {
  HeadlessPlatform headless;
  std::unique_ptr<Swirlmote> view =
      Swirlmote::initWithFrame(Rect{{}, options.size}, false, headless.backends());
  if (!view->glView()) {
    std::fprintf(stderr, "no headless GL renderer\n");
    return 1;
  }
  SettingsOverrides heaviest;
  heaviest.cyclones = 10;
  heaviest.particlesPerCyclone = 200;
  heaviest.afterimages = true;
  heaviest.scale = 2.0f;
  heaviest.shape = 0;
  heaviest.particleColor = std::optional<ColorRGBA>();
  heaviest.backgroundColor = std::optional<ColorRGBA>();
  view->setOverrides(heaviest);
  view->setRenderer(renderer);
  srandom(3);
  view->setFrameSize(options.size);
  view->startAnimation();

  const auto started = std::chrono::steady_clock::now();
  long frame = 0;
  for (const long checkpoint : options.checkpoints) {
    for (; frame < checkpoint; ++frame) view->animateOneFrame();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    std::printf("%-8s %6ld frames  RSS %7.1f MiB  peak %7.1f MiB  %8.1f s\n", name, frame,
                statusKiB("VmRSS") / 1024.0, statusKiB("VmHWM") / 1024.0, elapsed.count());
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--size WxH] [--checkpoints N,N,...] [--renderer classic|batched]\n",
                 argv[0]);
    return 2;
  }
  std::printf("%.0fx%.0f, 10 x 200 particles, afterimages, scale 2\n", options.size.width,
              options.size.height);
  std::fflush(stdout);
  int failed = 0;
  for (const auto& [renderer, name] :
       {std::pair{Renderer::Classic, "classic"}, {Renderer::Batched, "batched"}}) {
    if (options.only && *options.only != renderer) continue;
    // A process each, so that one renderer's memory is not counted in the
    // other's.
    const pid_t child = fork();
    if (child == 0) std::_Exit(soak(options, renderer, name));
    int status = 0;
    failed |=
        child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
  }
  return failed;
}
