#include "host/idle_command.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_user.h"
#include "host/x_session.h"
#include "support/main_context.h"
#include "support/private_bus.h"
#include "support/scoped_environment.h"

namespace {

using namespace std::chrono_literals;

// The session as the command sees it: only what the test gives it.
void bareSession(ScopedEnvironment& environment, const ScratchDir& scratch) {
  for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
    environment.set(name, "");
  }
  environment.set("XDG_RUNTIME_DIR", scratch.path());
  environment.set("GSETTINGS_BACKEND", "memory");
}

int runIdleWith(const std::vector<std::string_view>& args, const ShowIdleSaver& show, std::string& errors) {
  testing::internal::CaptureStderr();
  const int status = runIdle(args, show);
  errors = testing::internal::GetCapturedStderr();
  return status;
}

// On X: the saver shows once the session is idle and goes when a key brings
// the user back; after input on the saver's windows it shows again once
// idle; the server's end ends the host with a message.
TEST(IdleCommand, ShowsTheSaverWhileIdleUntilTheServerEnds) {
  auto server = XServer::start({"Xvfb", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server && haveProgram("xdotool"), "Xvfb and xdotool");
  ScratchDir scratch;
  ScopedEnvironment environment;
  bareSession(environment, scratch);
  environment.set("DISPLAY", server->display());

  int shows = 0;
  std::vector<bool> dismissedInTime;
  const ShowIdleSaver show = [&](const std::function<bool()>& dismissed) {
    ++shows;
    if (shows == 2) {
      return IdleSaverEnd::Input;
    }
    if (shows == 1) {
      server->run("xdotool key shift");
    } else {
      server.reset();
    }
    dismissedInTime.push_back(runMainContextUntil(dismissed, 8s));
    return IdleSaverEnd::Dismissed;
  };
  std::string errors;
  EXPECT_EQ(runIdleWith({"--after", "1"}, show, errors), 0);
  EXPECT_EQ(shows, 3);
  EXPECT_EQ(dismissedInTime, (std::vector<bool>{true, true}));
  EXPECT_EQ(errors, "swirlmote idle: lost the connection to the X server\n");
}

TEST(IdleCommand, RefusesWhereAnotherHostRuns) {
  auto bus = PrivateBus::start();
  REQUIRE_OR_SKIP(bus, "dbus-daemon");
  ScratchDir scratch;
  ScopedEnvironment environment;
  bareSession(environment, scratch);
  environment.set("DBUS_SESSION_BUS_ADDRESS", bus->address());
  GDBusConnection* other = bus->connect();
  GVariant* reply = g_dbus_connection_call_sync(
      other, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
      g_variant_new("(su)", "org.swirlmote.Idle", 4u), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
  ASSERT_TRUE(reply);
  g_variant_unref(reply);
  std::string errors;
  EXPECT_EQ(runIdleWith(
                {}, [](const auto&) { return IdleSaverEnd::Input; }, errors),
            1);
  EXPECT_EQ(errors, "swirlmote idle: another swirlmote idle runs in this session\n");
}

TEST(IdleCommand, RefusesWhereXScreenSaverRuns) {
  const auto user = hostUser();
  REQUIRE_OR_SKIP(haveProgram("xscreensaver") && haveProgram("xscreensaver-command") && user,
                  "XScreenSaver's daemon, and runuser with the user nobody when root");
  auto server = XServer::start({"Xvfb", "-screen", "0", "640x480x24", "-ac", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  ScratchDir scratch;
  chmod(scratch.path().c_str(), 0777);
  const std::vector<std::string> asUser =
      asHostUser(*user, {"HOME=" + scratch.path(), "DISPLAY=" + server->display()});
  std::vector<std::string> daemonArgs = asUser;
  for (const char* word : {"xscreensaver", "--no-splash"}) daemonArgs.push_back(word);
  Process daemon(daemonArgs, {}, scratch / "daemon.err");
  ASSERT_TRUE(waitFor(
      [&] { return server->run("xscreensaver-command -version >/dev/null 2>&1; echo $?") == "0"; }, 30s))
      << daemon.errors();
  ScopedEnvironment environment;
  bareSession(environment, scratch);
  environment.set("DISPLAY", server->display());
  std::string errors;
  EXPECT_EQ(runIdleWith(
                {}, [](const auto&) { return IdleSaverEnd::Input; }, errors),
            1);
  EXPECT_NE(errors.find("XScreenSaver's daemon runs in this session"), std::string::npos) << errors;
}

TEST(IdleCommand, RefusesWhereTheDesktopTellsNoIdleTime) {
  ScratchDir scratch;
  ScopedEnvironment environment;
  bareSession(environment, scratch);
  std::string errors;
  EXPECT_EQ(runIdleWith(
                {}, [](const auto&) { return IdleSaverEnd::Input; }, errors),
            1);
  EXPECT_NE(errors.find("the desktop tells no idle time here"), std::string::npos) << errors;
}

}  // namespace
