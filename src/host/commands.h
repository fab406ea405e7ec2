#pragma once

#include <span>
#include <string_view>

// Each command takes the arguments after its own name and returns the
// process's exit status: 0 done, 1 failed, 2 refused (bad usage).
int runSimulate(std::span<const std::string_view> args);
int runRender(std::span<const std::string_view> args);
int runConfig(std::span<const std::string_view> args);
// The saver itself: a window, full screen, a preview, or a foreign window.
int runSaver(std::span<const std::string_view> args);
