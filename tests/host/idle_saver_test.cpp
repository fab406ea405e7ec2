// `swirlmote idle` as a session runs it, on an X server of the test's own:
// the saver full screen once the session has been idle, gone on input,
// shown again at the next idle period, kept away by what keeps the session
// from idling, and the host's end by a signal or with the server; and on
// GNOME's mutter. (sway's case is with the other Wayland tests.)
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/x_session.h"
#include "support/mutter_session.h"
#include "support/private_bus.h"

namespace {

using namespace std::chrono_literals;

// The stored background colour, which the saver shows where no particle is.
constexpr const char* kStore =
    "number of cyclones=3\nnumber of particles=100\nbackground color mode=1\n"
    "background color red=0.25\nbackground color green=0.5\nbackground color blue=0.75\n"
    "background color alpha=1\n";
constexpr int kBackground[] = {64, 128, 191};

// Long enough for the first frames to come on a loaded machine, short
// enough to keep the test short; the waits below allow for far longer.
constexpr const char* kAfter = "2";

class IdleHostOnX : public testing::Test {
 protected:
  void SetUp() override {
    server_ = XServer::start({"Xvfb", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
    REQUIRE_OR_SKIP(server_ && haveProgram("xdotool") && haveProgram("xset") && haveProgram("xwd") &&
                        haveProgram("convert"),
                    "Xvfb, xdotool, xset, xwd and convert (ImageMagick)");
    writeStore(scratch_ / "config", kStore);
  }

  // The host in a session of nothing but the X server, or that and the
  // session bus at busAddress.
  std::unique_ptr<Process> startIdle(const std::string& busAddress = "") {
    return startSwirlmote({"idle", "--after", kAfter}, server_->display(), scratch_ / "config",
                          scratch_ / "idle.err",
                          {"DBUS_SESSION_BUS_ADDRESS=" + busAddress, "XDG_RUNTIME_DIR=" + scratch_.path(),
                           "GSETTINGS_BACKEND=memory"});
  }

  bool saverWindowExists() const { return !server_->windowNamed("Swirlmote").empty(); }

  // Why the screen does not show the saver, or nothing when it does: its
  // window over the whole screen, the stored background in the corner and
  // particles.
  std::optional<std::string> notShowingSaver() const {
    const std::string window = server_->windowNamed("Swirlmote");
    if (window.empty()) {
      return "no saver window";
    }
    if (const std::string geometry = windowGeometry(*server_, window); geometry != "640x480+0+0") {
      return "a window of " + geometry;
    }
    const auto root = shownPicture(*server_, "-root", scratch_ / "root.png");
    if (!root) {
      return "no picture of the screen";
    }
    const PixelColor corner = root->colorAtX(0, 0);
    if (channel(corner.red) != kBackground[0] || channel(corner.green) != kBackground[1] ||
        channel(corner.blue) != kBackground[2]) {
      return "not the stored background in the corner";
    }
    if (brightPixels(*root, 0, 0, 640, 480) <= 50) {
      return "no particles";
    }
    return std::nullopt;
  }

  void expectSaverShown(const Process& idle) {
    std::optional<std::string> why;
    EXPECT_TRUE(waitFor([&] { return !(why = notShowingSaver()); }, 30s)) << why.value_or("") << "\n"
                                                                          << idle.errors();
  }

  // Whether nothing shows the saver for the whole time, while keepBusy runs
  // between looks.
  bool saverStaysAway(std::chrono::milliseconds time, const std::function<void()>& keepBusy) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
      keepBusy();
      if (saverWindowExists()) {
        return false;
      }
      std::this_thread::sleep_for(250ms);
    }
    return true;
  }

  ScratchDir scratch_;
  std::unique_ptr<XServer> server_;
};

// Shown, ended by each kind of input, shown again at the next idle period;
// heartbeats keep it away; a termination signal ends the host as it shows
// the saver, by that signal.
TEST_F(IdleHostOnX, ShowsTheSaverWheneverTheSessionIdles) {
  auto idle = startIdle();
  const struct {
    const char* name;
    const char* command;
  } inputs[] = {{"a key", "xdotool key shift"},
                {"a button", "xdotool click 1"},
                {"the pointer moved far", "xdotool mousemove_relative 100 100"}};
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.name);
    expectSaverShown(*idle);
    server_->run(input.command);
    EXPECT_TRUE(waitFor([&] { return !saverWindowExists(); }, 10s)) << "still shown after the input";
    ASSERT_FALSE(idle->wait(0ms)) << "the host ended: " << idle->errors();
  }

  // Players' heartbeats, as xdg-screensaver reset sends them, twice as long
  // as the idle time.
  EXPECT_TRUE(saverStaysAway(5s, [&] { server_->run("xset s reset"); }));
  expectSaverShown(*idle);

  idle->signal(SIGTERM);
  EXPECT_TRUE(endedBy(*idle, SIGTERM, 10s));
  EXPECT_FALSE(saverWindowExists());
}

// The server's end while the saver shows ends the host, status 0, with a
// message.
TEST_F(IdleHostOnX, TheServersEndEndsItWithAMessage) {
  auto idle = startIdle();
  expectSaverShown(*idle);
  server_.reset();
  EXPECT_EQ(idle->wait(10s), 0) << idle->errors();
  EXPECT_NE(idle->errors().find("lost the connection to the X server"), std::string::npos) << idle->errors();
}

// On a bare X session nobody serves org.freedesktop.ScreenSaver: the host
// does, and a player's Inhibit keeps the saver away until its UnInhibit.
TEST_F(IdleHostOnX, AnInhibitThroughTheBusKeepsItAway) {
  auto bus = PrivateBus::start();
  REQUIRE_OR_SKIP(bus, "dbus-daemon");
  GDBusConnection* player = bus->connect();
  ASSERT_TRUE(player);
  auto idle = startIdle(bus->address());
  ASSERT_TRUE(waitFor([&] { return bus->owned(player, "org.freedesktop.ScreenSaver"); }, 20s))
      << idle->errors();
  const auto call = [&](const char* method, GVariant* parameters, const GVariantType* reply) {
    GError* error = nullptr;
    GVariant* answer = g_dbus_connection_call_sync(
        player, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
        method, parameters, reply, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
    EXPECT_TRUE(answer) << method << ": " << (error ? error->message : "");
    if (error) g_error_free(error);
    return answer;
  };
  GVariant* inhibited = call("Inhibit", g_variant_new("(ss)", "player", "a film"), G_VARIANT_TYPE("(u)"));
  ASSERT_TRUE(inhibited);
  guint32 cookie = 0;
  g_variant_get(inhibited, "(u)", &cookie);
  g_variant_unref(inhibited);

  EXPECT_TRUE(saverStaysAway(5s, [] {}));
  if (GVariant* freed = call("UnInhibit", g_variant_new("(u)", cookie), nullptr)) {
    g_variant_unref(freed);
  }
  expectSaverShown(*idle);
  EXPECT_FALSE(idle->wait(0ms)) << idle->errors();
}

// On GNOME, mutter's idle monitor on the session bus starts the saver and a
// key through its remote desktop ends it. The frame log tells when the
// saver runs: the file is made when its frame loop starts and written when
// that ends.
TEST(IdleHostOnMutter, GnomesIdleMonitorStartsItAndAKeyEndsIt) {
  auto session = MutterSession::start();
  REQUIRE_OR_SKIP(session, "mutter and dbus-daemon");
  ScratchDir scratch;
  writeStore(scratch / "config", kStore);
  const std::string log = scratch / "frames.log";
  std::vector<std::string> environment = session->clientEnvironment();
  environment.insert(environment.end(), {"XDG_CONFIG_HOME=" + scratch / "config",
                                         "SWIRLMOTE_FRAME_LOG=" + log, "GSETTINGS_BACKEND=memory"});
  Process idle({SWIRLMOTE_BINARY, "idle", "--after", "1"}, environment, scratch / "idle.err");
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(log); }, 30s)) << "not shown: " << idle.errors();

  const auto ended = [&] { return readFile(log).find("# cpu_user_s") != std::string::npos; };
  EXPECT_FALSE(waitFor(ended, 1500ms)) << "ended by itself: " << idle.errors();
  EXPECT_TRUE(session->pressKey());
  EXPECT_TRUE(waitFor(ended, 10s)) << "still shown after a key: " << idle.errors();
  ASSERT_FALSE(idle.wait(0ms)) << "the host ended: " << idle.errors();
  idle.signal(SIGTERM);
  EXPECT_TRUE(endedBy(idle, SIGTERM, 10s));
}

}  // namespace
