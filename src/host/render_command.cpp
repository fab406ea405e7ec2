#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/arguments.h"
#include "host/commands.h"
#include "host/frame_loop.h"
#include "host/option_table.h"
#include "host/run_options.h"
#include "platform/png_folder_surface.h"
#include "render/renderer.h"

namespace {

struct RenderOptions {
  int64_t frames = -1;
  Size size;
  std::string out;
  int64_t every = 0;
  std::optional<unsigned> seed;
  Renderer renderer = Renderer::Classic;
  SettingsOverrides overrides;
  // The frame rate overlay; render is not paced, so -delay is read and left
  // unused.
  bool showFrameRate = false;
};

std::optional<RenderOptions> parse(ArgumentReader& reader) {
  RenderOptions options;
  RunOptions run;
  while (!reader.done()) {
    const std::string_view option = reader.next();
    if (!takenOption(option, kRender, reader)) return std::nullopt;
    const OptionUse use = readRunOption(option, reader, run, 1, 100000000);
    if (use == OptionUse::Refused) return std::nullopt;
    if (use == OptionUse::Taken) continue;
    if (option == "--out") {
      const auto text = reader.value(option);
      if (!text) return std::nullopt;
      options.out = std::string(*text);
    } else {
      const auto value = reader.integer(option, 1, 100000000);
      if (!value) return std::nullopt;
      options.every = *value;
    }
  }
  if (!run.frames || !run.size || options.out.empty()) {
    reader.refuse("needs --frames N, --size WxH and --out DIR");
    return std::nullopt;
  }
  options.frames = *run.frames;
  options.size = *run.size;
  options.seed = run.seed;
  options.renderer = run.renderer.value_or(Renderer::Classic);
  options.overrides = run.overrides;
  options.showFrameRate = run.hacks.showFrameRate;
  return options;
}

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
  ArgumentReader reader("render", args);
  const auto options = parse(reader);
  if (!options) {
    return 2;
  }
  if (!makeDirectory(options->out)) {
    return 1;
  }

  // Not paced: the frames come one after another.
  LoopOptions run;
  run.paced = false;
  run.frameLimit = options->frames;
  run.showFrameRate = options->showFrameRate;
  FrameLoop loop({false, options->renderer, options->overrides, options->seed}, run, nullptr);
  auto folder =
      std::make_unique<PngFolderSurface>(options->out, options->size, options->frames, options->every);
  const PngFolderSurface& written = *folder;
  BringUpFailure failure;
  if (!loop.add(std::move(folder), failure)) {
    std::fprintf(stderr, "swirlmote render: %s\n", failure.message.c_str());
    return 1;
  }
  loop.run();
  if (loop.presentFailed()) {
    return 1;
  }
  std::fprintf(stderr, "swirlmote render: wrote %d frame%s to %s\n", written.written(),
               written.written() == 1 ? "" : "s", options->out.c_str());
  return 0;
}
