// The installed program as XScreenSaver's saver: the real daemon on Xvfb
// starts it into its window, the screen shows particles, and unblanking
// ends it without complaint in the daemon's log. The source tree's
// resources are hidden from both, as on a machine with only the
// installation: this build installed, or the package's (see
// installation.h).
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "host/installation.h"
#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

// The daemon refuses to start savers as root: as root the test runs it as
// nobody, otherwise as the test's own user.
struct DaemonUser {
  std::vector<std::string> prefix;  // what runs a command as the user
  uid_t uid;
  gid_t gid;
};

std::optional<DaemonUser> daemonUser() {
  if (geteuid() != 0) {
    return DaemonUser{{}, geteuid(), getegid()};
  }
  const passwd* nobody = getpwnam("nobody");
  if (!nobody || !haveProgram("runuser")) {
    return std::nullopt;
  }
  return DaemonUser{{"runuser", "-u", "nobody", "--"}, nobody->pw_uid, nobody->pw_gid};
}

// The user's own settings: blank at once on -activate, no lock, no fading,
// one saver until told otherwise.
void writeDaemonSettings(const std::string& path, const std::string& program) {
  std::ofstream(path) << "timeout: 0:30:00\ncycle: 0:10:00\nlock: False\nsplash: False\nfade: False\n"
                         "unfade: False\ndpmsEnabled: False\nmode: one\nselected: 0\nprograms: \\\n"
                         "  GL: "
                      << program << " --root --cyclones 3 \\n\\\n\n";
}

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

// The lines of the daemon's log that tell of trouble with our program: its
// own messages, a crash or an odd end, or an X error.
std::vector<std::string> troubleIn(const std::string& log) {
  const auto has = [](const std::string& line, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const char* word) { return line.find(word) != line.npos; });
  };
  std::vector<std::string> trouble;
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    const bool ownMessage = line.rfind("swirlmote", 0) == 0;
    const bool badEnd = has(line, {"/swirlmote"}) && has(line, {"crashed", "abnormally", "core dumped"});
    if (ownMessage || badEnd || has(line, {"X Error", "BadDrawable", "BadWindow"})) {
      trouble.push_back(line);
    }
  }
  return trouble;
}

TEST(XScreenSaver, RunsTheInstalledProgramInItsWindow) {
  const auto user = daemonUser();
  REQUIRE_OR_SKIP(haveProgram("xscreensaver") && haveProgram("xscreensaver-command"),
                  "XScreenSaver's daemon (tools/install-packages.sh test)");
  REQUIRE_OR_SKIP(user, "runuser and the user nobody, to run the daemon when root");
  ScratchDir scratch;
  // Everything the daemon's user reads lies under the scratch directory,
  // whoever owns the build.
  chmod(scratch.path().c_str(), 0755);
  const Installation installation = installForTest(scratch / "prefix");
  ASSERT_FALSE(installation.prefix.empty()) << installation.failure;
  const std::string program = installation.prefix + "/libexec/xscreensaver/swirlmote";
  ASSERT_TRUE(std::filesystem::exists(program));

  const std::string home = scratch / "home";
  std::filesystem::create_directory(home);
  writeDaemonSettings(home + "/.xscreensaver", program);
  const std::string log = home + "/daemon.log";
  ASSERT_EQ(chown(home.c_str(), user->uid, user->gid), 0);
  ASSERT_EQ(chown((home + "/.xscreensaver").c_str(), user->uid, user->gid), 0);

  auto server =
      XServer::start({"Xvfb", "-screen", "0", "1024x768x24", "-ac", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  // The user's clean environment. A sanitized build's leak check would
  // report GTK's and the GL driver's caches at every exit the daemon sees.
  std::vector<std::string> asUser = user->prefix;
  for (const std::string& word :
       {std::string("env"), std::string("-i"), "HOME=" + home, "DISPLAY=" + server->display(),
        std::string("PATH=/usr/bin:/bin"), std::string("ASAN_OPTIONS=detect_leaks=0")}) {
    asUser.push_back(word);
  }
  const auto command = [&](const std::string& what) {
    std::string line;
    for (const std::string& word : asUser) line += "'" + word + "' ";
    return shellOutput(line + "xscreensaver-command " + what + " >/dev/null 2>&1; echo $?") == "0";
  };
  std::vector<std::string> daemonArgs = asUser;
  for (const char* word : {"xscreensaver", "--no-splash", "--log"}) daemonArgs.push_back(word);
  daemonArgs.push_back(log);
  // The daemon and the saver it starts see none of the source tree's
  // resources, so that a broken installation shows.
  const std::string empty = scratch / "empty";
  std::filesystem::create_directory(empty);
  REQUIRE_OR_SKIP(canHideSourceResources(empty), "unshare and mount permissions (root), to hide the sources");
  Process daemon(withSourceResourcesHidden(daemonArgs, empty), {}, scratch / "daemon.err");
  // Every wait below is for a condition, with a deadline far beyond what an
  // idle machine needs: a full parallel test run may slow each step tenfold.
  ASSERT_TRUE(waitFor([&] { return command("-version"); }, 60s))
      << "the XScreenSaver daemon did not come up: " << daemon.errors() << readText(log);

  const std::string running = "pgrep -f '^" + program + " --root' | head -1";
  ASSERT_TRUE(waitFor([&] { return command("-activate"); }, 30s)) << readText(log);
  ASSERT_TRUE(waitFor([&] { return !shellOutput(running).empty(); }, 60s)) << readText(log);
  // The screen as the server shows it, once particles are up.
  ScreenLook seen;
  waitFor(
      [&] {
        server->run("xwd -root -silent | convert xwd:- " + scratch / "root.png");
        const auto screen = PngImage::load(scratch / "root.png");
        seen = screen ? look(*screen) : ScreenLook{};
        return seen.bright > 300 && seen.hues >= 2;
      },
      60s);
  EXPECT_GT(seen.darkShare, 0.8) << "the background is not dark";
  EXPECT_GT(seen.bright, 300) << "too few particles";
  EXPECT_GE(seen.hues, 2) << "the particles are all of one colour";

  ASSERT_TRUE(waitFor([&] { return command("-deactivate"); }, 30s)) << readText(log);
  EXPECT_TRUE(waitFor([&] { return shellOutput(running).empty(); }, 30s)) << "still running after unblanking";
  waitFor([&] { return command("-exit"); }, 30s);
  daemon.wait(30s);
  const std::string written = readText(log);
  EXPECT_NE(written.find("forked \"" + program + " --root"), std::string::npos) << written;
  EXPECT_EQ(troubleIn(written), std::vector<std::string>{}) << written;
}

}  // namespace
