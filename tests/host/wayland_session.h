#pragma once

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/x_session.h"

// A headless Wayland compositor of a test's own (sway with its software
// renderer, or weston), with its runtime directory and socket in a scratch
// directory; ended with the object. Compositors refuse to run as root, so
// under root it runs as the unprivileged "nobody", and clients run as root,
// which may use its socket.
class WaylandSession {
 public:
  // sway with two outputs, 1280x720 and 800x600 side by side (or only the
  // first), no input devices, and the given extra lines of configuration.
  static std::unique_ptr<WaylandSession> startSway(const std::string& extraConfig = "", int outputs = 2) {
    if (!haveProgram("sway")) return nullptr;
    std::unique_ptr<WaylandSession> session(new WaylandSession);
    std::ofstream(session->runtime_ + "/config") << "output HEADLESS-1 resolution 1280x720 position 0 0\n"
                                                    "output HEADLESS-2 resolution 800x600 position 1280 0\n"
                                                 << extraConfig;
    if (!session->launch(
            {"WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
             "WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs), "sway", "-c", session->runtime_ + "/config"},
            "wayland-1")) {
      return nullptr;
    }
    session->swaySocket_ = session->firstMatch("/sway-ipc.*.sock");
    return session->swaySocket_.empty() ? nullptr : std::move(session);
  }

  // weston's headless back end, which has no input seat.
  static std::unique_ptr<WaylandSession> startWeston() {
    if (!haveProgram("weston")) return nullptr;
    std::unique_ptr<WaylandSession> session(new WaylandSession);
    if (!session->launch({"weston", "--backend=headless-backend.so", "--socket=wayland-test"},
                         "wayland-test")) {
      return nullptr;
    }
    return session;
  }

  // GNOME's compositor, headless, with one 1280x720 output, on a session
  // bus of its own (mutter will not start without one). The bus listens in
  // the runtime directory, since /tmp may be closed to the compositor's
  // user, and activates nothing. Each runs as a process of ours, so that
  // neither outlives the session.
  static std::unique_ptr<WaylandSession> startMutter() {
    if (!haveProgram("mutter") || !haveProgram("dbus-daemon")) return nullptr;
    std::unique_ptr<WaylandSession> session(new WaylandSession);
    const std::string bus = session->runtime_ + "/bus";
    session->bus_ = std::make_unique<Process>(
        session->asCompositorUser({"dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus}),
        std::vector<std::string>{}, session->scratch_ / "bus.log");
    if (!waitFor([&] { return std::filesystem::exists(bus); }, std::chrono::seconds(30)) ||
        !session->launch(
            {"GSETTINGS_BACKEND=memory", "DBUS_SESSION_BUS_ADDRESS=unix:path=" + bus, "mutter", "--headless",
             "--wayland", "--no-x11", "--virtual-monitor", "1280x720", "--wayland-display", "wayland-test"},
            "wayland-test")) {
      return nullptr;
    }
    return session;
  }

  WaylandSession(const WaylandSession&) = delete;
  WaylandSession& operator=(const WaylandSession&) = delete;

  // What a client of this compositor is given, and no X display.
  std::vector<std::string> clientEnvironment() const {
    std::vector<std::string> environment{"XDG_RUNTIME_DIR=" + runtime_, "WAYLAND_DISPLAY=" + socket_,
                                         "SWAYSOCK=" + swaySocket_, "DISPLAY=", "XSCREENSAVER_WINDOW="};
    // SDL unloads the Wayland libraries it loaded itself before the
    // exit-time leak scan, so what they hold at exit can be neither named
    // nor suppressed there; the saver's own code has its leaks checked by
    // the X11 and headless tests.
    if (const char* sanitizer = std::getenv("ASAN_OPTIONS")) {
      environment.push_back(std::string("ASAN_OPTIONS=") + sanitizer + ":detect_leaks=0");
    }
    return environment;
  }
  // A shell command run as a client of this compositor; its output.
  std::string run(const std::string& command) const {
    return shellOutput("env XDG_RUNTIME_DIR='" + runtime_ + "' WAYLAND_DISPLAY=" + socket_ + " SWAYSOCK='" +
                       swaySocket_ + "' " + command);
  }
  // What the compositor has written on stderr so far.
  std::string log() const { return readFile(scratch_ / "compositor.log"); }
  // Ends the compositor at once, as a crash would: its clients' connections
  // close under them.
  void kill() { compositor_.reset(); }
  // grim's picture of one output ("HEADLESS-1") or of a region ("X,Y WxH").
  std::unique_ptr<PngImage> screenshot(const std::string& output, const std::string& region = "") const {
    const std::string path = scratch_ / ("screenshot-" + std::to_string(++screenshots_) + ".png");
    run("grim " + (region.empty() ? "-o " + output : "-g '" + region + "'") + " '" + path + "' 2>&1");
    return PngImage::load(path);
  }

 private:
  WaylandSession() : runtime_(scratch_ / "runtime") {
    std::filesystem::create_directory(runtime_);
    if (geteuid() == 0) {
      // Only the compositor's user may enter its runtime directory; the
      // scratch directory above it need only be passed through.
      prepared_ = chmod(scratch_.path().c_str(), 0711) == 0 && chown(runtime_.c_str(), kNobody, kNobody) == 0;
    }
    prepared_ = prepared_ && chmod(runtime_.c_str(), 0700) == 0;
  }

  // The words that run command as the compositor's user, in a clean
  // environment; setpriv and env exec it, so the process is the command's.
  std::vector<std::string> asCompositorUser(const std::vector<std::string>& command) const {
    std::vector<std::string> argv;
    if (geteuid() == 0) {
      argv = {"setpriv", "--reuid=" + std::to_string(kNobody), "--regid=" + std::to_string(kNobody),
              "--clear-groups", "--pdeathsig=TERM"};
    }
    for (const std::string& word : {std::string("env"), std::string("-i"), "HOME=" + runtime_,
                                    std::string("PATH=/usr/bin:/bin"), "XDG_RUNTIME_DIR=" + runtime_}) {
      argv.push_back(word);
    }
    argv.insert(argv.end(), command.begin(), command.end());
    return argv;
  }

  bool launch(const std::vector<std::string>& command, const std::string& socket) {
    socket_ = socket;
    compositor_ = std::make_unique<Process>(asCompositorUser(command), std::vector<std::string>{},
                                            scratch_ / "compositor.log");
    const std::string ready = socket_ == "wayland-1" ? "/sway-ipc.*.sock" : "/" + socket_;
    return prepared_ && compositor_->started() &&
           waitFor([&] { return !firstMatch(ready).empty(); }, std::chrono::seconds(30));
  }

  std::string firstMatch(const std::string& pattern) const {
    glob_t found{};
    std::string first;
    if (glob((runtime_ + pattern).c_str(), 0, nullptr, &found) == 0 && found.gl_pathc > 0) {
      first = found.gl_pathv[0];
    }
    globfree(&found);
    return first;
  }

  static constexpr uid_t kNobody = 65534;
  ScratchDir scratch_;
  std::string runtime_;
  std::string socket_;
  std::string swaySocket_;
  bool prepared_ = true;
  mutable int screenshots_ = 0;
  std::unique_ptr<Process> bus_;  // mutter's session bus, ended after the compositor
  std::unique_ptr<Process> compositor_;
};
