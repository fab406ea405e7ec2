#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// `swirlmote idle [--after SECONDS] [--enable | --disable]`.
struct IdleOptions {
  enum class Autostart { Keep, Enable, Disable };
  std::optional<int> afterSeconds;
  Autostart autostart = Autostart::Keep;
  bool help = false;
};

// The options, or nothing once a refusal has been printed.
std::optional<IdleOptions> parseIdleOptions(std::span<const std::string_view> args);

// The idle time before the saver shows: --after when given, else a few
// minutes, kept shorter than the desktop's own blanking (GNOME's idle delay,
// 0 meaning it never blanks). A --after the desktop's blanking comes before
// sets warning.
int idleDelaySeconds(std::optional<int> afterSeconds, std::optional<unsigned> desktopBlanking,
                     std::string& warning);

extern const char kIdleUsage[];
