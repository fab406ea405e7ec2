#include "host/saver_options.h"

#include <charconv>

#include "host/arguments.h"
#include "host/option_table.h"
#include "host/run_options.h"

namespace {

struct ModeRequests {
  bool fullScreen = false;
  bool background = false;
  bool preview = false;
  bool configure = false;
  bool root = false;
  std::optional<unsigned long> window;
};

bool readWindowId(std::string_view option, ArgumentReader& reader, ModeRequests& modes) {
  const auto text = reader.value(option);
  if (!text) return false;
  modes.window = parseWindowId(*text);
  if (!modes.window) {
    reader.refuse(std::string(option) + " takes a window id such as 0x400e23 or 4197923, not '" +
                  std::string(*text) + "'");
    return false;
  }
  return true;
}

// Whether a host runs the saver in its window: --root or --window-id
// anywhere on the command line, or XSCREENSAVER_WINDOW set while no other
// mode is asked for.
bool runByHost(std::span<const std::string_view> args, const char* environmentWindow) {
  bool foreign = false;
  bool otherMode = false;
  for (const std::string_view word : args) {
    const CommandOption* option = findOption(word);
    if (option && (option->name == "--root" || option->name == "--window-id")) {
      foreign = true;
    } else if (option && option->section == OptionSection::Mode) {
      otherMode = true;
    }
  }
  return foreign || (environmentWindow && *environmentWindow && !otherMode);
}

// Reads a mode or --screenshot, given as option; false after a message.
bool readOption(const CommandOption& entry, std::string_view option, ArgumentReader& reader,
                SaverOptions& options, ModeRequests& modes) {
  const std::string_view name = entry.name;
  if (name == "--fullscreen") {
    modes.fullScreen = true;
  } else if (name == "--background") {
    modes.background = true;
  } else if (name == "--preview") {
    modes.preview = true;
  } else if (name == "--configure") {
    modes.configure = true;
  } else if (name == "--root") {
    modes.root = true;
  } else if (name == "--window-id") {
    return readWindowId(option, reader, modes);
  } else {
    const auto text = reader.value(option);
    if (!text) return false;
    if (text->empty()) {
      reader.refuse("--screenshot needs a file name");
      return false;
    }
    options.screenshot = std::string(*text);
  }
  return true;
}

bool chooseMode(const ModeRequests& modes, const char* environmentWindow, const ArgumentReader& reader,
                SaverOptions& options) {
  const bool foreign = modes.root || modes.window;
  if (modes.fullScreen + modes.background + modes.preview + modes.configure + foreign > 1) {
    reader.refuse(
        "--fullscreen, --background, --preview, --configure and --root/--window-id each choose a mode: give "
        "one of them");
    if (!reader.warns()) return false;
  }
  const bool environmentGiven = environmentWindow && *environmentWindow;
  // Run by a host, its window wins over any other mode asked for.
  const bool hosted = reader.warns();
  if (modes.fullScreen && !hosted) {
    options.mode = SaverMode::FullScreen;
  } else if (modes.background && !hosted) {
    options.mode = SaverMode::Background;
  } else if ((modes.preview || modes.configure) && !hosted) {
    options.mode = SaverMode::Preview;
    options.configure = modes.configure;
  } else if (foreign || environmentGiven || hosted) {
    // The window on the command line wins over the environment's, and
    // either over the root.
    options.mode = SaverMode::ForeignWindow;
    options.windowId = modes.window;
    if (!options.windowId && environmentGiven) {
      options.windowId = parseWindowId(environmentWindow);
      if (!options.windowId) {
        reader.refuse("XSCREENSAVER_WINDOW holds '" + std::string(environmentWindow) +
                      "', which is not a window id");
        if (!hosted) return false;
      }
    }
  }
  if (options.size && options.mode != SaverMode::Window && options.mode != SaverMode::Preview) {
    reader.refuse(
        "--size is for the window and the preview; full screen, the background and foreign windows have "
        "their own size");
    options.size.reset();
    return reader.warns();
  }
  return true;
}

}  // namespace

std::optional<unsigned long> parseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  unsigned long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || ptr != end || value == 0 || value > 0xFFFFFFFFul) {
    return std::nullopt;
  }
  return value;
}

std::optional<SaverOptions> parseSaverOptions(std::span<const std::string_view> args,
                                              const char* environmentWindow) {
  ArgumentReader reader("", args);
  if (runByHost(args, environmentWindow)) {
    reader.warnInstead();
  }
  SaverOptions options;
  RunOptions run;
  ModeRequests modes;
  // Run by a host, a word that cannot be used is skipped after its warning,
  // and the stored setting stays.
  while (!reader.done()) {
    const std::string_view option = reader.next();
    const CommandOption* entry = takenOption(option, kSaver, reader);
    const OptionUse use = entry ? readRunOption(option, reader, run, 1, 100000000) : OptionUse::Refused;
    const bool taken = use == OptionUse::Taken ||
                       (use == OptionUse::NotOurs && readOption(*entry, option, reader, options, modes));
    if (!taken && !reader.warns()) {
      return std::nullopt;
    }
  }
  options.seed = run.seed;
  options.frames = run.frames;
  options.size = run.size;
  options.renderer = run.renderer.value_or(Renderer::Classic);
  options.overrides = run.overrides;
  options.hacks = run.hacks;
  if (!chooseMode(modes, environmentWindow, reader, options)) {
    return std::nullopt;
  }
  return options;
}
