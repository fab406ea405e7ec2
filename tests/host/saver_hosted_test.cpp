// The saver as a host such as XScreenSaver or xsecurelock runs it, on the
// root window of Xvfb: it never ends itself over what it is given, and the
// hack options work there.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "host/drawing_cost.h"
#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The part of the screen above any corner overlay.
constexpr int kParticleRows = kScreenHeight * 3 / 4;

// The smallest spacing of the frames' deadlines in a frame log, in
// nanoseconds.
long long shortestFrameSpacing(const std::string& log) {
  const auto frames = loggedFrames(log);
  long long shortest = std::numeric_limits<long long>::max();
  for (std::size_t i = 1; i < frames.size(); ++i) {
    shortest = std::min(shortest, frames[i].due - frames[i - 1].due);
  }
  return shortest;
}

struct HostedCase {
  const char* name;
  std::vector<std::string> args;
  const char* environmentWindow;    // XSCREENSAVER_WINDOW's value, or empty
  std::vector<std::string> warned;  // each named by one warning line
  bool orangeWithFrameRate;         // --particle-color ff8800 -fps -delay 10000
};

TEST(SaverHosted, NeverEndsItselfOverWhatItIsGiven) {
  auto server = XServer::start({"Xvfb", "-screen", "0",
                                std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24",
                                "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  const HostedCase cases[] = {
      {"unusable values",
       {"--root", "--cyclones", "banana", "--particle-color", "notacolour"},
       "",
       {"'banana'", "'notacolour'"},
       false},
      {"a stray word before the window", {"stray", "--root"}, "", {"'stray'"}, false},
      {"a window in the environment that is none", {}, "nonsense", {"XSCREENSAVER_WINDOW"}, false},
      {"the hacks' options",
       {"--root", "-fps", "-delay", "10000", "-install", "-visual", "default", "--particle-color", "ff8800"},
       "",
       {},
       true},
  };
  for (const HostedCase& c : cases) {
    SCOPED_TRACE(c.name);
    // The root keeps the last case's frame until this one draws its first:
    // cleared, so that only this case's particles count.
    server->run("xsetroot -solid black");
    ScratchDir scratch;
    writeStore(scratch / "config", "number of cyclones=3\nnumber of particles=100\n");
    std::vector<std::string> argv{SWIRLMOTE_BINARY};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::vector<std::string> environment{
        "DISPLAY=" + server->display(), "XDG_CONFIG_HOME=" + scratch / "config",
        "WAYLAND_DISPLAY=", std::string("XSCREENSAVER_WINDOW=") + c.environmentWindow,
        "SWIRLMOTE_FRAME_LOG=" + scratch / "frames.log"};
    // A sanitized build's tally of the leaks it overlooks is no warning.
    if (const char* leakOptions = std::getenv("LSAN_OPTIONS")) {
      environment.push_back(std::string("LSAN_OPTIONS=") + leakOptions + ":print_suppressions=0");
    }
    Process run(argv, environment, scratch / "err");

    // Particles on the root, and still running after them.
    std::unique_ptr<PngImage> shown;
    const bool particles = waitFor(
        [&] {
          shown = shownPicture(*server, "-root", scratch / "root.png");
          return shown && brightPixels(*shown, 0, 0, kScreenWidth, kParticleRows) > 0;
        },
        30s);
    EXPECT_TRUE(particles) << run.errors();
    EXPECT_FALSE(run.wait(0ms)) << run.errors();
    run.signal(SIGTERM);
    EXPECT_TRUE(endedBy(run, SIGTERM, 10s));

    const std::string errors = run.errors();
    EXPECT_EQ(static_cast<std::size_t>(std::count(errors.begin(), errors.end(), '\n')), c.warned.size())
        << errors;
    for (const std::string& word : c.warned) {
      EXPECT_NE(errors.find(word), std::string::npos) << errors;
    }
    if (c.orangeWithFrameRate && shown) {
      // Additive blending saturates where orange sprites overlap: red tops
      // out first, so those pixels turn yellow. No pixel may hold blue or
      // more green than red, and some must be plainly orange.
      int orange = 0;
      for (int y = 0; y < kParticleRows; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
          const PixelColor p = shown->colorAtX(x, y);
          if (std::max({p.red, p.green, p.blue}) <= 0.35) continue;
          ASSERT_TRUE(p.red >= p.green && p.blue < 0.2)
              << x << "," << y << " is not orange: " << channel(p.red) << " " << channel(p.green) << " "
              << channel(p.blue);
          if (p.red > p.green + 0.2) ++orange;
        }
      }
      EXPECT_GT(orange, 0);
      // The overlay's dark box in the bottom-left corner.
      const PixelColor corner = shown->colorAtX(0, kScreenHeight - 1);
      EXPECT_EQ(channel(corner.red), 13);
      EXPECT_EQ(channel(corner.green), 13);
      EXPECT_EQ(channel(corner.blue), 13);
      // Deadlines a 60th of a second and the delay apart, or more after a
      // stall.
      EXPECT_GE(shortestFrameSpacing(readFile(scratch / "frames.log")), 16666666 + 10000000);
    }
  }
}

}  // namespace
