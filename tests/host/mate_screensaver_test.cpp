// The installed program as MATE's screen saver theme: its desktop entry runs
// the program's link in XScreenSaver's directory; and the real daemon on
// Xvfb, with its own session bus and the theme chosen through gsettings,
// finds the entry, starts the program into its window on --activate and
// ends it on --deactivate. The daemon runs programs only from directories
// under /usr, so that part runs on the package's installation alone (see
// installation.h), with the source tree's resources hidden.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/host_user.h"
#include "host/installation.h"
#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

// The words of a shell command line, each quoted.
std::string shellLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) line += "'" + word + "' ";
  return line;
}

TEST(MateScreensaver, RunsTheInstalledThemeWhenActivated) {
  const auto user = hostUser();
  for (const char* program : {"mate-screensaver", "mate-screensaver-command", "gsettings", "dbus-daemon"}) {
    REQUIRE_OR_SKIP(haveProgram(program), std::string(program) + " (tools/install-packages.sh test)");
  }
  REQUIRE_OR_SKIP(user, "runuser and the user nobody, to run the daemon when root");
  ScratchDir scratch;
  chmod(scratch.path().c_str(), 0755);
  const Installation installation = installForTest(scratch / "prefix");
  ASSERT_FALSE(installation.prefix.empty()) << installation.failure;
  const std::string program = installation.prefix + "/libexec/xscreensaver/swirlmote";
  const std::string entry =
      readFile(installation.prefix + "/share/applications/screensavers/swirlmote.desktop");
  ASSERT_NE(entry.find("\nExec=" + program + " --root\n"), std::string::npos) << entry;
  ASSERT_TRUE(std::filesystem::equivalent(program, installation.prefix + "/bin/swirlmote"));
  if (installation.prefix != "/usr") {
    GTEST_SKIP() << "MATE's daemon runs no program installed outside /usr (tools/package_test.sh runs this "
                    "on the package)";
  }

  const std::string home = scratch / "home";
  std::filesystem::create_directory(home);
  ASSERT_EQ(chown(home.c_str(), user->uid, user->gid), 0);
  auto server =
      XServer::start({"Xvfb", "-screen", "0", "1024x768x24", "-ac", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  // The daemon, the bus and the commands share the user's settings (GLib's
  // key file, which the daemon watches) and a session bus at a known place.
  // They run as the user by setpriv, which execs them, so that a test that
  // stops early takes them down with its own processes.
  const std::string bus = home + "/bus";
  std::vector<std::string> asUser;
  if (!user->prefix.empty()) {
    asUser = {"setpriv", "--reuid=" + std::to_string(user->uid), "--regid=" + std::to_string(user->gid),
              "--clear-groups", "--pdeathsig=TERM"};
  }
  const std::vector<std::string> environment =
      asHostUser(HostUser{{}, user->uid, user->gid},
                 {"HOME=" + home, "DISPLAY=" + server->display(), "XDG_CONFIG_HOME=" + home + "/config",
                  "GSETTINGS_BACKEND=keyfile", "DBUS_SESSION_BUS_ADDRESS=unix:path=" + bus,
                  "XDG_DATA_DIRS=" + installation.prefix + "/share:/usr/share", "XDG_CURRENT_DESKTOP=MATE"});
  asUser.insert(asUser.end(), environment.begin(), environment.end());
  const auto command = [&](const std::string& what) {
    return shellOutput(shellLine(asUser) + what + " >/dev/null 2>&1; echo $?") == "0";
  };
  for (const char* setting : {"mode single", "themes \"['screensavers-swirlmote']\"", "lock-enabled false"}) {
    ASSERT_TRUE(command("gsettings set org.mate.screensaver " + std::string(setting))) << setting;
  }
  std::vector<std::string> busArgs = asUser;
  for (const char* word : {"dbus-daemon", "--session", "--nofork"}) busArgs.push_back(word);
  busArgs.push_back("--address=unix:path=" + bus);
  Process busDaemon(busArgs, {}, scratch / "bus.err");
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(bus); }, 30s)) << busDaemon.errors();

  const std::string empty = scratch / "empty";
  std::filesystem::create_directory(empty);
  REQUIRE_OR_SKIP(canHideSourceResources(empty), "unshare and mount permissions (root), to hide the sources");
  std::vector<std::string> daemonArgs = asUser;
  for (const char* word : {"mate-screensaver", "--no-daemon"}) daemonArgs.push_back(word);
  Process daemon(withSourceResourcesHidden(daemonArgs, empty), {}, scratch / "daemon.err");
  // Every wait is for a condition, with a deadline far beyond what an idle
  // machine needs: a full parallel test run may slow each step tenfold.
  ASSERT_TRUE(waitFor([&] { return command("mate-screensaver-command --query"); }, 60s))
      << "the MATE screen saver did not come up: " << daemon.errors();

  const std::string running = "pgrep -f '^" + program + " --root' | head -1";
  ASSERT_TRUE(command("mate-screensaver-command --activate")) << daemon.errors();
  ASSERT_TRUE(waitFor([&] { return !shellOutput(running).empty(); }, 60s)) << daemon.errors();
  int bright = 0;
  waitFor(
      [&] {
        const auto screen = shownPicture(*server, "-root", scratch / "root.png");
        bright = screen ? brightPixels(*screen, 0, 0, screen->pixelsWide(), screen->pixelsHigh()) : 0;
        return bright > 300;
      },
      60s);
  EXPECT_GT(bright, 300) << "too few particles on the screen: " << daemon.errors();

  ASSERT_TRUE(command("mate-screensaver-command --deactivate")) << daemon.errors();
  EXPECT_TRUE(waitFor([&] { return shellOutput(running).empty(); }, 30s)) << "still running after unblanking";
  command("mate-screensaver-command --exit");
  EXPECT_TRUE(daemon.wait(30s)) << daemon.errors();
  EXPECT_EQ(daemon.errors().find("swirlmote"), std::string::npos) << daemon.errors();
}

}  // namespace
