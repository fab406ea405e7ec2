#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "saver/gtk_runtime.h"

// An X server of the test program's own: Xvfb on a display it picks itself,
// started at the first call and ended with the program (GTK cannot lose its
// display while the program runs). DISPLAY names it from then on. Nothing
// when Xvfb is missing or does not come up.
inline const std::optional<std::string>& testDisplay() {
  static const std::optional<std::string> display = []() -> std::optional<std::string> {
    int ready[2];
    if (pipe(ready) != 0) {
      return std::nullopt;
    }
    const pid_t pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, STDOUT_FILENO);
      dup2(quiet, STDERR_FILENO);
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    char c = 0;
    while (pid > 0 && poll(&wait, 1, 20000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') {
      number += c;
    }
    close(ready[0]);
    if (number.empty()) {
      return std::nullopt;
    }
    const std::string name = ":" + number;
    setenv("DISPLAY", name.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    return name;
  }();
  return display;
}

// Skips the test when there is no X server to show the sheet on.
#define REQUIRE_TEST_DISPLAY()                                                  \
  do {                                                                          \
    if (!testDisplay() || !startGtk()) GTEST_SKIP() << "Xvfb is not available"; \
  } while (0)
