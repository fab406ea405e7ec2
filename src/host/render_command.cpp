#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/commands.h"
#include "host/frame_loop.h"
#include "host/option_table.h"
#include "host/run_options.h"
#include "host/saver_run.h"
#include "platform/png_folder_surface.h"

namespace {

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

}  // namespace

int runRender(std::span<const std::string_view> args) {
  const auto options = parseRunOptions(kRender, args);
  if (!options) {
    return 2;
  }
  if (!makeDirectory(options->out)) {
    return 1;
  }

  // Unless paced, the frames come one after another.
  LoopOptions run;
  run.paced = options->paced;
  run.delay = options->hacks.delay;
  run.frameLimit = options->frames;
  run.showFrameRate = options->hacks.showFrameRate;
  run.keepLastFrame = !options->screenshot.empty();
  FrameLoop loop({false, options->renderer, options->overrides, options->seed}, run, nullptr);
  auto folder =
      std::make_unique<PngFolderSurface>(options->out, *options->size, *options->frames, options->every);
  const PngFolderSurface& written = *folder;
  BringUpFailure failure;
  if (!loop.add(std::move(folder), failure)) {
    std::fprintf(stderr, "swirlmote render: %s\n", failure.message.c_str());
    return 1;
  }
  const int64_t drawn = loop.run();
  if (loop.presentFailed() || !saveScreenshot(loop, drawn, options->screenshot)) {
    return 1;
  }
  std::fprintf(stderr, "swirlmote render: wrote %d frame%s to %s\n", written.written(),
               written.written() == 1 ? "" : "s", options->out.c_str());
  return 0;
}
