#include "platform/idle_monitor.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "host/wayland_session.h"
#include "host/x_session.h"
#include "support/main_context.h"
#include "support/mutter_session.h"
#include "support/private_bus.h"
#include "support/scoped_environment.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What a monitor reported, in order.
class RecordingListener : public IdleListener {
 public:
  void idle() override { events.push_back("idle"); }
  void back() override { events.push_back("back"); }
  void desktopEnded(const std::string& why) override { events.push_back("ended: " + why); }
  std::vector<std::string> events;
};

constexpr auto kTimeout = 1000ms;
// Compositors may fire a little early (KWin by about 100 ms).
constexpr auto kEarliest = 800ms;

// Armed while the desktop has already been idle longer than the timeout,
// the monitor still waits the timeout from its arming; input then brings
// the user back, once.
void expectIdleThenBack(IdleMonitor& monitor, RecordingListener& listener,
                        const std::function<void()>& input) {
  std::this_thread::sleep_for(kTimeout + 300ms);
  const auto armed = Clock::now();
  monitor.arm(kTimeout);
  ASSERT_TRUE(runMainContextUntil([&] { return !listener.events.empty(); }, 8s)) << "no idle";
  EXPECT_GE(Clock::now() - armed, kEarliest);
  input();
  ASSERT_TRUE(runMainContextUntil([&] { return listener.events.size() >= 2; }, 8s)) << "no back";
  runMainContextFor(300ms);
  EXPECT_EQ(listener.events, (std::vector<std::string>{"idle", "back"}));
}

// While something keeps the desktop busy, the armed timeout never passes;
// once it stops, it does. The timeout is twice the others', which leaves a
// loaded machine time between heartbeats.
void expectHeldOffWhile(IdleMonitor& monitor, RecordingListener& listener,
                        const std::function<void()>& holdOff, const std::function<void()>& stop) {
  monitor.arm(2 * kTimeout);
  const auto end = Clock::now() + 3500ms;
  while (Clock::now() < end) {
    holdOff();
    runMainContextFor(250ms);
  }
  EXPECT_TRUE(listener.events.empty()) << listener.events.front();
  stop();
  EXPECT_TRUE(runMainContextUntil([&] { return !listener.events.empty(); }, 8s)) << "no idle once free";
}

std::unique_ptr<XServer> startXvfb() {
  return XServer::start({"Xvfb", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
}

TEST(XIdleMonitor, IdleThenBackOnAKey) {
  auto server = startXvfb();
  REQUIRE_OR_SKIP(server && haveProgram("xdotool"), "Xvfb and xdotool");
  ScopedEnvironment environment;
  environment.set("DISPLAY", server->display());
  RecordingListener listener;
  auto monitor = xIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  EXPECT_STREQ(monitor->name(), "IDLETIME");
  expectIdleThenBack(*monitor, listener, [&] { server->run("xdotool key shift"); });
}

TEST(XIdleMonitor, HeartbeatsKeepItAway) {
  auto server = startXvfb();
  REQUIRE_OR_SKIP(server && haveProgram("xset"), "Xvfb and xset");
  ScopedEnvironment environment;
  environment.set("DISPLAY", server->display());
  RecordingListener listener;
  auto monitor = xIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  expectHeldOffWhile(
      *monitor, listener, [&] { server->run("xset s reset"); }, [] {});
}

TEST(XIdleMonitor, TheServersEndIsReported) {
  auto server = startXvfb();
  REQUIRE_OR_SKIP(server, "Xvfb");
  ScopedEnvironment environment;
  environment.set("DISPLAY", server->display());
  RecordingListener listener;
  auto monitor = xIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  monitor->arm(60s);
  server.reset();
  ASSERT_TRUE(runMainContextUntil([&] { return !listener.events.empty(); }, 5s));
  EXPECT_EQ(listener.events.front(), "ended: lost the connection to the X server");
}

// sway's seat, as its clients see it: WAYLAND_DISPLAY and its runtime folder.
void enterSession(const WaylandSession& session, ScopedEnvironment& environment) {
  for (const std::string& entry : session.clientEnvironment()) {
    const auto equals = entry.find('=');
    const std::string name = entry.substr(0, equals);
    if (name == "WAYLAND_DISPLAY" || name == "XDG_RUNTIME_DIR") {
      environment.set(name, entry.substr(equals + 1));
    }
  }
}

TEST(WaylandIdleMonitor, IdleThenBackOnAKey) {
  auto session = WaylandSession::startSway("", 1);
  REQUIRE_OR_SKIP(session && haveProgram("wtype"), "sway and wtype");
  ScopedEnvironment environment;
  enterSession(*session, environment);
  RecordingListener listener;
  auto monitor = waylandIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  // sway 1.7 speaks only KDE's protocol.
  EXPECT_STREQ(monitor->name(), "org_kde_kwin_idle");
  // wtype's keyboard appears only when it starts: -s waits for clients to bind it.
  expectIdleThenBack(*monitor, listener, [&] { session->run("wtype -s 500 -k space"); });
}

TEST(WaylandIdleMonitor, AnInhibitorKeepsItAway) {
  auto session = WaylandSession::startSway("", 1);
  REQUIRE_OR_SKIP(session, "sway");
  ScopedEnvironment environment;
  enterSession(*session, environment);
  ScratchDir scratch;
  Process inhibitor({IDLE_INHIBITOR_BINARY, "30"}, {}, scratch / "inhibitor.log", scratch / "inhibitor.log");
  ASSERT_TRUE(waitFor([&] { return readFile(scratch / "inhibitor.log") == "inhibiting\n"; }, 10s))
      << readFile(scratch / "inhibitor.log");
  RecordingListener listener;
  auto monitor = waylandIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  expectHeldOffWhile(
      *monitor, listener, [] {}, [&] { inhibitor.signal(SIGTERM); });
}

TEST(WaylandIdleMonitor, TheCompositorsEndIsReported) {
  auto session = WaylandSession::startSway("", 1);
  REQUIRE_OR_SKIP(session, "sway");
  ScopedEnvironment environment;
  enterSession(*session, environment);
  RecordingListener listener;
  auto monitor = waylandIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  monitor->arm(60s);
  session->kill();
  ASSERT_TRUE(runMainContextUntil([&] { return !listener.events.empty(); }, 5s));
  EXPECT_EQ(listener.events.front(), "ended: lost the connection to the Wayland compositor");
}

TEST(MutterIdleMonitor, IdleThenBackOnAKey) {
  auto session = MutterSession::start();
  REQUIRE_OR_SKIP(session, "mutter and dbus-daemon");
  RecordingListener listener;
  auto monitor = mutterIdleMonitor(listener, session->bus());
  ASSERT_TRUE(monitor);
  expectIdleThenBack(*monitor, listener, [&] { EXPECT_TRUE(session->pressKey()); });
}

// GNOME under X11 has both its own monitor and X's counter; its own knows
// its inhibitors.
TEST(IdleMonitorChoice, GnomesMonitorBeforeXs) {
  auto server = startXvfb();
  auto session = MutterSession::start();
  REQUIRE_OR_SKIP(server && session, "Xvfb, mutter and dbus-daemon");
  ScopedEnvironment environment;
  environment.set("WAYLAND_DISPLAY", "");
  environment.set("DISPLAY", server->display());
  environment.set("DBUS_SESSION_BUS_ADDRESS", session->address());
  RecordingListener listener;
  const auto monitor = chooseIdleMonitor(listener);
  ASSERT_TRUE(monitor);
  EXPECT_STREQ(monitor->name(), "org.gnome.Mutter.IdleMonitor");
}

TEST(IdleMonitorChoice, NothingWithoutADesktop) {
  ScopedEnvironment environment;
  for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"}) {
    environment.set(name, "");
  }
  RecordingListener listener;
  EXPECT_FALSE(chooseIdleMonitor(listener));
}

}  // namespace
