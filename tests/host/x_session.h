#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/png_image.h"
#include "support/config_home.h"
#include "support/display_server.h"
#include "support/files.h"
#include "support/process.h"
#include "support/requirements.h"

// Whether the process, sent a termination signal, ended by that signal
// within the timeout, as a program that catches it does after cleaning up.
inline ::testing::AssertionResult endedBy(Process& run, int number, std::chrono::milliseconds timeout) {
  const auto status = run.wait(timeout);
  if (!status) {
    return ::testing::AssertionFailure() << "still running " << timeout.count() << " ms after "
                                         << strsignal(number) << ": " << run.errors();
  }
  if (run.endingSignal() != number) {
    return ::testing::AssertionFailure()
           << "ended with status " << *status << " and signal " << run.endingSignal() << " rather than by "
           << strsignal(number) << ": " << run.errors();
  }
  return ::testing::AssertionSuccess();
}

// An X server started for a test, on a display number it picks itself
// (-displayfd); stopped with the object.
class XServer {
 public:
  // command: the server and its arguments, without -displayfd.
  static std::unique_ptr<XServer> start(std::vector<std::string> command) {
    if (!haveProgram(command.front())) {
      return nullptr;
    }
    const auto started = startDisplayServer(std::move(command), 30000);
    if (!started) {
      return nullptr;
    }
    return std::unique_ptr<XServer>(new XServer(started->pid, started->display));
  }
  ~XServer() {
    ::kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  const std::string& display() const { return display_; }
  // A shell command with DISPLAY set to this server.
  std::string run(const std::string& command) const {
    return shellOutput("DISPLAY=" + display_ + " " + command);
  }
  // The id of the first window whose name is exactly this one, letter case
  // included: GTK's hidden client leader window bears the program's name in
  // small letters, which xdotool's search would take as well.
  std::string windowNamed(const std::string& name) const {
    return run("xwininfo -root -tree | awk -v want='\"" + name + "\":' '$2 == want { print $1; exit }'");
  }

 private:
  XServer(pid_t pid, std::string display) : pid_(pid), display_(std::move(display)) {}

  pid_t pid_;
  std::string display_;
};

// A command line that runs argv in a mount namespace of its own, where an
// empty directory is mounted over the source tree's resources: an installed
// program run so can find its sprites only where it was installed. The
// command fails before argv runs when the resources are not hidden.
inline std::vector<std::string> withSourceResourcesHidden(const std::vector<std::string>& argv,
                                                          const std::string& emptyDirectory) {
  std::vector<std::string> words{
      "unshare",
      "--mount",
      "--propagation",
      "private",
      "--",
      "sh",
      "-c",
      "mount --bind \"$1\" \"$2\" && [ -z \"$(ls -A \"$2\")\" ] && shift 2 && exec \"$@\"",
      "sh",
      emptyDirectory,
      SWIRLMOTE_SOURCE_DIR "/resources"};
  words.insert(words.end(), argv.begin(), argv.end());
  return words;
}

// Whether this process may hide the source tree's resources (root, with
// mount namespaces allowed).
inline bool canHideSourceResources(const std::string& emptyDirectory) {
  std::string line;
  for (const std::string& word : withSourceResourcesHidden({"true"}, emptyDirectory))
    line += "'" + word + "' ";
  return shellOutput(line + ">/dev/null 2>&1; echo $?") == "0";
}

// A window's "WIDTHxHEIGHT+X+Y" as xwininfo reports it.
inline std::string windowGeometry(const XServer& server, const std::string& window) {
  return server.run("xwininfo -id " + window +
                    " | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} "
                    "/Height:/{h=$2} END{print w \"x\" h \"+\" x \"+\" y}'");
}

// What the server shows of a window, or of the whole screen when window is
// "-root", read through a PNG file at path; null when it cannot be read.
inline std::unique_ptr<PngImage> shownPicture(const XServer& server, const std::string& window,
                                              const std::string& path) {
  const std::string which = window == "-root" ? window : "-id " + window;
  server.run("xwd " + which + " -silent | convert xwd:- " + path);
  return PngImage::load(path);
}

// How two decoded pictures differ, channel by channel (alpha aside).
struct PictureDifference {
  bool sameSize = false;
  int largest = 0;  // the largest difference of one channel, 0 to 255
  long channelsDiffering = 0;
  long channels = 0;
};

inline int channel(double value) {
  return static_cast<int>(value * 255.0 + 0.5);
}

inline PictureDifference comparePictures(const Image& a, const Image& b) {
  PictureDifference difference;
  difference.sameSize = a.pixelsWide() == b.pixelsWide() && a.pixelsHigh() == b.pixelsHigh();
  if (!difference.sameSize) return difference;
  for (int y = 0; y < a.pixelsHigh(); ++y) {
    for (int x = 0; x < a.pixelsWide(); ++x) {
      const PixelColor p = a.colorAtX(x, y);
      const PixelColor q = b.colorAtX(x, y);
      for (const auto& [u, v] : {std::pair{p.red, q.red}, {p.green, q.green}, {p.blue, q.blue}}) {
        const int d = std::abs(channel(u) - channel(v));
        difference.largest = std::max(difference.largest, d);
        difference.channelsDiffering += d != 0;
        ++difference.channels;
      }
    }
  }
  return difference;
}

// Pixels brighter than a particle's faint edge, in a rectangle of a picture.
inline int brightPixels(const Image& image, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const PixelColor c = image.colorAtX(x, y);
      count += std::max({c.red, c.green, c.blue}) > 0.35;
    }
  }
  return count;
}

// The saver (or another command of the program) run on a display, with the
// settings store in configHome and the extra "NAME=value" entries in its
// environment.
inline std::unique_ptr<Process> startSwirlmote(const std::vector<std::string>& args,
                                               const std::string& display, const std::string& configHome,
                                               const std::string& errPath,
                                               const std::vector<std::string>& extraEnvironment = {}) {
  std::vector<std::string> argv{SWIRLMOTE_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> environment{"DISPLAY=" + display, "XDG_CONFIG_HOME=" + configHome,
                                       "WAYLAND_DISPLAY=", "XSCREENSAVER_WINDOW="};
  environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
  // A sanitized build's tally of the leaks it was told to overlook is not
  // the program's output, which some tests want empty.
  if (const char* leakOptions = std::getenv("LSAN_OPTIONS")) {
    environment.push_back(std::string("LSAN_OPTIONS=") + leakOptions + ":print_suppressions=0");
  }
  return std::make_unique<Process>(argv, environment, errPath);
}
