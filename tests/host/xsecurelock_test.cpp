// The installed program as xsecurelock's saver on Xvfb: xsecurelock starts
// it with -root and the window in decimal, the locked screen shows
// particles, and when the lock ends no saver is left. An authentication
// module of the test's own accepts at once, so that a key press unlocks
// without a password.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/host_user.h"
#include "host/installation.h"
#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

// How the root window looks: its share of dark pixels, its bright pixels,
// and how many hue sixths hold a fair number of those.
struct ScreenLook {
  double darkShare = 0;
  int bright = 0;
  int hues = 0;
};

ScreenLook look(const Image& image) {
  ScreenLook result;
  std::array<int, 6> perHue{};
  long dark = 0;
  for (int y = 0; y < image.pixelsHigh(); ++y) {
    for (int x = 0; x < image.pixelsWide(); ++x) {
      const PixelColor c = image.colorAtX(x, y);
      const double high = std::max({c.red, c.green, c.blue});
      const double low = std::min({c.red, c.green, c.blue});
      dark += high < 0.12;
      if (high <= 0.35 || high - low < 0.1) continue;
      ++result.bright;
      double hue = 0;
      if (high == c.red) {
        hue = std::fmod((c.green - c.blue) / (high - low) + 6, 6);
      } else if (high == c.green) {
        hue = (c.blue - c.red) / (high - low) + 2;
      } else {
        hue = (c.red - c.green) / (high - low) + 4;
      }
      ++perHue[std::min(5, static_cast<int>(hue))];
    }
  }
  result.darkShare =
      static_cast<double>(dark) / (static_cast<double>(image.pixelsWide()) * image.pixelsHigh());
  result.hues = static_cast<int>(std::count_if(perHue.begin(), perHue.end(), [](int n) { return n >= 20; }));
  return result;
}

// An environment entry of a running process, or nothing.
std::optional<std::string> environmentOf(const std::string& pid, const std::string& name) {
  std::ifstream in("/proc/" + pid + "/environ", std::ios::binary);
  std::string entry;
  while (std::getline(in, entry, '\0')) {
    if (entry.starts_with(name + "=")) return entry.substr(name.size() + 1);
  }
  return std::nullopt;
}

TEST(XSecureLock, RunsTheInstalledProgramWhileLocked) {
  const auto user = hostUser();
  REQUIRE_OR_SKIP(haveProgram("xsecurelock"), "xsecurelock (tools/install-packages.sh test)");
  REQUIRE_OR_SKIP(haveProgram("xdotool"), "xdotool");
  REQUIRE_OR_SKIP(user, "runuser and the user nobody, to lock as an ordinary user when root");
  ScratchDir scratch;
  chmod(scratch.path().c_str(), 0755);
  const Installation installation = installForTest(scratch / "prefix");
  ASSERT_FALSE(installation.prefix.empty()) << installation.failure;
  const std::string program = installation.prefix + "/bin/swirlmote";
  ASSERT_TRUE(std::filesystem::exists(program));

  // xsecurelock takes an authentication module by path when its name starts
  // with auth_; success is its exit status 0.
  const std::string auth = scratch / "auth_accept";
  std::ofstream(auth) << "#!/bin/sh\nexit 0\n";
  chmod(auth.c_str(), 0755);
  const std::string home = scratch / "home";
  writeStore(home + "/.config", "number of cyclones=3\nnumber of particles=100\n");
  ASSERT_EQ(shellOutput("chown -R " + std::to_string(user->uid) + ":" + std::to_string(user->gid) + " '" +
                        home + "'; echo $?"),
            "0");

  auto server =
      XServer::start({"Xvfb", "-screen", "0", "1024x768x24", "-ac", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  std::vector<std::string> lockArgs =
      asHostUser(*user, {"HOME=" + home, "DISPLAY=" + server->display(), "XSECURELOCK_SAVER=" + program,
                         "XSECURELOCK_AUTH=" + auth});
  lockArgs.push_back("xsecurelock");
  const std::string empty = scratch / "empty";
  std::filesystem::create_directory(empty);
  REQUIRE_OR_SKIP(canHideSourceResources(empty), "unshare and mount permissions (root), to hide the sources");
  Process lock(withSourceResourcesHidden(lockArgs, empty), {}, scratch / "lock.err");

  const std::string running = "pgrep -f '^" + program + " -root' | head -1";
  std::string saver;
  ASSERT_TRUE(waitFor([&] { return !(saver = shellOutput(running)).empty(); }, 60s)) << lock.errors();
  const auto window = environmentOf(saver, "XSCREENSAVER_WINDOW");
  ASSERT_TRUE(window && !window->empty()) << "no XSCREENSAVER_WINDOW given";
  EXPECT_TRUE(std::all_of(window->begin(), window->end(), [](unsigned char c) { return std::isdigit(c); }))
      << *window << " is not the decimal id xsecurelock gives";

  ScreenLook seen;
  waitFor(
      [&] {
        const auto screen = shownPicture(*server, "-root", scratch / "root.png");
        seen = screen ? look(*screen) : ScreenLook{};
        return seen.bright > 300 && seen.hues >= 2;
      },
      60s);
  EXPECT_GT(seen.darkShare, 0.8) << "the background is not dark";
  EXPECT_GT(seen.bright, 300) << "too few particles";
  EXPECT_GE(seen.hues, 2) << "the particles are all of one colour";

  // A key press calls up the authentication module, which unlocks.
  ASSERT_TRUE(waitFor(
      [&] {
        server->run("xdotool key shift");
        return lock.wait(1s).has_value();
      },
      60s))
      << "still locked: " << lock.errors();
  EXPECT_EQ(lock.wait(0s), 0) << lock.errors();
  EXPECT_TRUE(waitFor([&] { return shellOutput("pgrep -f '^" + program + " '").empty(); }, 5s))
      << "a saver is left after the lock ended";
  // The saver's messages, which would begin its lines, reach xsecurelock's
  // stderr.
  const std::string errors = "\n" + lock.errors();
  EXPECT_EQ(errors.find("\nswirlmote"), std::string::npos) << errors;
}

}  // namespace
