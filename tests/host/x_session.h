#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/png_image.h"
#include "support/display_server.h"
#include "support/requirements.h"

extern char** environ;

// Whether a program is on PATH.
inline bool haveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A shell command's standard output, without the trailing newline.
inline std::string shellOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
      out.append(buffer, got);
    }
    pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') {
    out.pop_back();
  }
  return out;
}

inline bool waitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ready();
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A scratch directory for one test, removed with it.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "swirlmote-host-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
      path_ = pattern;
    }
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A running child process with its stderr in a file; killed if still running
// when destroyed.
class Process {
 public:
  // argv[0] is the program, looked up on PATH; extraEnvironment adds or
  // replaces "NAME=value" entries, and "NAME=" alone removes NAME.
  Process(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment,
          const std::string& errPath, bool quietStdout = true)
      : errPath_(errPath) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      const std::string text = *entry;
      const std::string name = text.substr(0, text.find('='));
      bool replaced = false;
      for (const std::string& extra : extraEnvironment) {
        replaced = replaced || extra.substr(0, extra.find('=')) == name;
      }
      if (!replaced) {
        environment.push_back(text);
      }
    }
    for (const std::string& extra : extraEnvironment) {
      if (extra.back() != '=') {
        environment.push_back(extra);
      }
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, quietStdout ? "/dev/null" : errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    args.push_back(nullptr);
    std::vector<char*> env;
    for (std::string& entry : environment) env.push_back(entry.data());
    env.push_back(nullptr);
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), env.data()) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Process() {
    if (running()) {
      ::kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  void signal(int number) const {
    if (pid_ > 0) ::kill(pid_, number);
  }

  // The exit status (-1 when ended by a signal), or nothing when still
  // running after the timeout.
  std::optional<int> wait(std::chrono::milliseconds timeout) {
    if (status_) return status_;
    waitFor(
        [this] {
          int raw = 0;
          if (pid_ > 0 && waitpid(pid_, &raw, WNOHANG) == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            signal_ = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
          }
          return status_.has_value();
        },
        timeout);
    return status_;
  }
  std::string errors() const { return readText(errPath_); }
  // The signal that ended it, or 0 when it exited or still runs.
  int endingSignal() const { return signal_; }

 private:
  bool running() const { return pid_ > 0 && !status_; }

  pid_t pid_ = -1;
  std::string errPath_;
  std::optional<int> status_;
  int signal_ = 0;
};

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

// A settings store of the given lines under configHome, as the saver reads it.
inline void writeStore(const std::string& configHome, const std::string& lines) {
  std::filesystem::create_directories(configHome + "/swirlmote");
  std::ofstream(configHome + "/swirlmote/org.swirlmote.Swirlmote.ini") << "[org.swirlmote.Swirlmote]\n"
                                                                       << lines;
}

// The saver (or another command of the program) run on a display, with the
// settings store in configHome.
inline std::unique_ptr<Process> startSwirlmote(const std::vector<std::string>& args,
                                               const std::string& display, const std::string& configHome,
                                               const std::string& errPath) {
  std::vector<std::string> argv{SWIRLMOTE_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> environment{"DISPLAY=" + display, "XDG_CONFIG_HOME=" + configHome,
                                       "WAYLAND_DISPLAY=", "XSCREENSAVER_WINDOW="};
  // A sanitized build's tally of the leaks it was told to overlook is not
  // the program's output, which some tests want empty.
  if (const char* leakOptions = std::getenv("LSAN_OPTIONS")) {
    environment.push_back(std::string("LSAN_OPTIONS=") + leakOptions + ":print_suppressions=0");
  }
  return std::make_unique<Process>(argv, environment, errPath);
}
