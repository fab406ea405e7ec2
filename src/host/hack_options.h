#pragma once

#include <chrono>
#include <string_view>

#include "host/arguments.h"
#include "host/override_options.h"

// What the options of XScreenSaver's hacks ask of a run; those that mean
// nothing here (-install, -visual, ...) are read and dropped.
struct HackOptions {
  bool showFrameRate = false;
  // Paused each frame on top of the frame interval.
  std::chrono::microseconds delay{0};
};

// Reads one of the hack options and its value into options; NotOurs for any
// other option, Refused after a message when the value is out of place.
OptionUse readHackOption(std::string_view option, ArgumentReader& reader, HackOptions& options);
