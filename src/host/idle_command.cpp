#include "host/idle_command.h"

#include <glib-unix.h>
#include <glib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/idle_autostart.h"
#include "host/idle_host.h"
#include "host/idle_options.h"
#include "host/termination.h"
#include "platform/desktop_idle_delay.h"
#include "platform/idle_monitor.h"
#include "platform/screensaver_service.h"
#include "platform/session_bus.h"
#include "platform/xscreensaver_presence.h"

namespace {

constexpr char kHostName[] = "org.swirlmote.Idle";
constexpr char kScreenSaverName[] = "org.freedesktop.ScreenSaver";

void say(const std::string& message) {
  std::fprintf(stderr, "swirlmote idle: %s\n", message.c_str());
}

int changeAutostart(const IdleOptions& options) {
  std::string error;
  const bool enable = options.autostart == IdleOptions::Autostart::Enable;
  if (!(enable ? enableIdleAutostart(options.afterSeconds, error) : disableIdleAutostart(error))) {
    say(error);
    return 1;
  }
  std::printf("swirlmote idle: %s with the session (%s)\n", enable ? "starts" : "no longer starts",
              idleAutostartPath().value_or("").c_str());
  return 0;
}

// The first that runs here already shows the saver when the session idles.
bool anotherHostRuns(GDBusConnection* bus) {
  if (xscreensaverDaemonRuns()) {
    say("XScreenSaver's daemon runs in this session and shows its savers; not starting a second host");
    return true;
  }
  if (bus && requestBusName(bus, kHostName) == BusNameRequest::Taken) {
    say("another swirlmote idle runs in this session");
    return true;
  }
  return false;
}

// Feeds the desktop's events and the inhibitors to the state machine, and
// carries out its answers; the saver itself is shown from the main loop,
// outside any event handler, so that its frames can pump the events that end
// it.
class IdleSession : public IdleListener {
 public:
  explicit IdleSession(std::chrono::milliseconds delay) : delay_(delay) {}

  void idle() override { handle(IdleEvent::Idle); }
  void back() override { handle(IdleEvent::Back); }
  void desktopEnded(const std::string& why) override {
    say(why);
    desktopGone_ = true;
  }
  void inhibitorsChanged(bool held) { handle(held ? IdleEvent::InhibitorsHeld : IdleEvent::InhibitorsFreed); }

  void start(std::unique_ptr<IdleMonitor> monitor, bool inhibited) {
    monitor_ = std::move(monitor);
    apply(host_.start(inhibited));
  }
  void handle(IdleEvent event) { apply(host_.handle(event)); }

  bool desktopGone() const { return desktopGone_; }
  bool showing() const { return host_.state() == IdleHost::State::Showing; }
  // Whether the saver is due and not yet shown; asking clears it.
  bool takeShowRequest() { return std::exchange(showRequested_, false); }

 private:
  void apply(const std::vector<IdleAction>& actions) {
    for (const IdleAction action : actions) {
      switch (action) {
        case IdleAction::Arm: monitor_->arm(delay_); break;
        case IdleAction::Disarm: monitor_->disarm(); break;
        case IdleAction::ShowSaver: showRequested_ = true; break;
        case IdleAction::HideSaver:
          // The shown saver asks `showing` between frames.
          showRequested_ = false;
          break;
      }
    }
  }

  std::chrono::milliseconds delay_;
  IdleHost host_;
  std::unique_ptr<IdleMonitor> monitor_;
  bool showRequested_ = false;
  bool desktopGone_ = false;
};

gboolean drainTermination(gint descriptor, GIOCondition, gpointer) {
  char bytes[16];
  while (read(descriptor, bytes, sizeof bytes) > 0) {
  }
  return G_SOURCE_CONTINUE;
}

// Hosts the saver until a termination signal or the desktop's end; false
// when it cannot start.
bool hostUntilTheEnd(const IdleOptions& options, const ShowIdleSaver& showSaver) {
  GDBusConnection* bus = sessionBus();
  if (anotherHostRuns(bus)) {
    return false;
  }
  std::string warning;
  const int delay = idleDelaySeconds(options.afterSeconds, gnomeIdleDelay(), warning);
  if (!warning.empty()) {
    std::fprintf(stderr, "swirlmote idle: warning: %s\n", warning.c_str());
  }
  IdleSession session{std::chrono::seconds(delay)};
  auto monitor = chooseIdleMonitor(session);
  if (!monitor) {
    say("the desktop tells no idle time here: no Wayland idle protocol, GNOME idle monitor or X server");
    return false;
  }
  // Where the desktop keeps players' and browsers' inhibitors itself, it
  // also keeps the idle time from passing while they hold.
  std::unique_ptr<ScreenSaverService> service;
  if (bus && !busNameHasOwner(bus, kScreenSaverName)) {
    service = ScreenSaverService::start(bus, [&session](bool held) { session.inhibitorsChanged(held); });
  }
  const guint wake = g_unix_fd_add(terminationWakeFd(), G_IO_IN, drainTermination, nullptr);
  session.start(std::move(monitor), service && service->held());
  while (!terminationRequested() && !session.desktopGone()) {
    if (session.takeShowRequest()) {
      const IdleSaverEnd end = showSaver(
          [&session] { return !session.showing() || session.desktopGone() || terminationRequested(); });
      if (end == IdleSaverEnd::Input && session.showing()) {
        session.handle(IdleEvent::SaverEndedByInput);
      }
    } else {
      g_main_context_iteration(nullptr, TRUE);
    }
  }
  g_source_remove(wake);
  return true;
}

}  // namespace

int runIdle(std::span<const std::string_view> args, const ShowIdleSaver& showSaver) {
  const auto options = parseIdleOptions(args);
  if (!options) {
    return 2;
  }
  if (options->help) {
    std::fputs(kIdleUsage, stdout);
    return 0;
  }
  if (options->autostart != IdleOptions::Autostart::Keep) {
    return changeAutostart(*options);
  }
  catchTerminationSignals();
  const bool started = hostUntilTheEnd(*options, showSaver);
  if (terminationRequested()) {
    endByTerminationSignal();
  }
  return started ? 0 : 1;
}
