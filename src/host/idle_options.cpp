#include "host/idle_options.h"

#include <algorithm>

#include "host/arguments.h"

const char kIdleUsage[] =
    "usage: swirlmote idle [--after SECONDS] [--enable | --disable]\n"
    "Shows the saver full screen on every output once the session has been idle.\n"
    "  --after SECONDS  idle time before the saver shows, 1 to 86400\n"
    "                   (default: 240, or less where the desktop blanks sooner)\n"
    "  --enable         start it with the session (with --after, at that delay)\n"
    "  --disable        no longer start it with the session\n";

namespace {

constexpr int kDefaultDelay = 240;

}  // namespace

std::optional<IdleOptions> parseIdleOptions(std::span<const std::string_view> args) {
  ArgumentReader reader("idle", args);
  IdleOptions options;
  while (!reader.done()) {
    const std::string_view option = reader.next();
    if (option == "--after") {
      const auto seconds = reader.integer(option, 1, 86400);
      if (!seconds) {
        return std::nullopt;
      }
      options.afterSeconds = static_cast<int>(*seconds);
    } else if (option == "--enable" || option == "--disable") {
      const auto wanted =
          option == "--enable" ? IdleOptions::Autostart::Enable : IdleOptions::Autostart::Disable;
      if (options.autostart != IdleOptions::Autostart::Keep && options.autostart != wanted) {
        reader.refuse("--enable and --disable exclude each other");
        return std::nullopt;
      }
      options.autostart = wanted;
    } else if (option == "--help") {
      options.help = true;
    } else {
      reader.refuse("unknown option '" + std::string(option) + "'");
      return std::nullopt;
    }
  }
  if (options.autostart == IdleOptions::Autostart::Disable && options.afterSeconds) {
    reader.refuse("--after has no meaning with --disable");
    return std::nullopt;
  }
  return options;
}

// Four fifths of the desktop's delay leaves the saver time to show before
// the desktop blanks.
int idleDelaySeconds(std::optional<int> afterSeconds, std::optional<unsigned> desktopBlanking,
                     std::string& warning) {
  const bool blanks = desktopBlanking && *desktopBlanking > 0;
  if (afterSeconds) {
    if (blanks && static_cast<unsigned>(*afterSeconds) >= *desktopBlanking) {
      warning = "the desktop blanks the screen after " + std::to_string(*desktopBlanking) +
                " seconds idle, before --after " + std::to_string(*afterSeconds) +
                ": the saver will not be seen";
    }
    return *afterSeconds;
  }
  if (!blanks) {
    return kDefaultDelay;
  }
  return static_cast<int>(std::clamp<unsigned>(*desktopBlanking - *desktopBlanking / 5, 1, kDefaultDelay));
}
