#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

#include "platform/gtk_runtime.h"
#include "support/display_server.h"
#include "support/requirements.h"

// An X server of the test program's own: Xvfb on a display it picks itself,
// started at the first call and ended with the program (GTK cannot lose its
// display while the program runs). DISPLAY names it from then on. Nothing
// when Xvfb is missing or does not come up.
inline const std::optional<std::string>& testDisplay() {
  static const std::optional<std::string> display = []() -> std::optional<std::string> {
    const auto started =
        startDisplayServer({"Xvfb", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, 20000);
    if (!started) {
      return std::nullopt;
    }
    const std::string& name = started->display;
    setenv("DISPLAY", name.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    return name;
  }();
  return display;
}

// Ends the test when there is no X server to show the sheet on.
#define REQUIRE_TEST_DISPLAY() \
  REQUIRE_OR_SKIP(testDisplay() && startGtk(), "Xvfb, for a display that GTK opens")
