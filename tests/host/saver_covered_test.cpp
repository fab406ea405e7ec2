// A saver window that nothing shows draws nothing: under Xvfb, a window laid
// over the whole of it stops its frames, and taking the window away brings
// them back; so do unmapping it and mapping it again. Measured in CPU time
// from /proc and in the frame log's frames, never in elapsed time.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "host/drawing_cost.h"
#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kPeriod = 10s;

TEST(SaverCovered, AWindowCoveredByAnotherDrawsNothingUntilUncovered) {
  REQUIRE_OR_SKIP(haveProgram("xlogo"), "xlogo");
  REQUIRE_OR_SKIP(haveProgram("xdotool"), "xdotool");
  auto server =
      XServer::start({"Xvfb", "-screen", "0", "1024x768x24", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  ScratchDir scratch;
  Process saver({SWIRLMOTE_BINARY, "--size", "640x480"},
                {"DISPLAY=" + server->display(), "XDG_CONFIG_HOME=" + scratch / "config",
                 "WAYLAND_DISPLAY=", "XSCREENSAVER_WINDOW=", "SWIRLMOTE_FRAME_LOG=" + scratch / "frames.log"},
                scratch / "saver.err");
  ASSERT_TRUE(waitFor([&] { return !server->windowNamed("Swirlmote").empty(); }, 60s)) << saver.errors();
  // Past the first frames, which also build the renderer's code.
  std::this_thread::sleep_for(2s);
  const double visible = cpuSecondsOver(saver.pid(), kPeriod);

  // With no window manager the cover lies where it asks to: over the whole
  // screen.
  Process cover({"xlogo", "-geometry", "1024x768+0+0"}, {"DISPLAY=" + server->display()},
                scratch / "cover.err");
  ASSERT_TRUE(waitFor([&] { return !server->windowNamed("xlogo").empty(); }, 30s)) << cover.errors();
  std::this_thread::sleep_for(500ms);
  const long long coveredFrom = monotonicNanoseconds();
  const double covered = cpuSecondsOver(saver.pid(), kPeriod);
  const long long coveredTo = monotonicNanoseconds();

  cover.signal(SIGTERM);
  ASSERT_TRUE(cover.wait(10s).has_value());
  const long long uncovered = monotonicNanoseconds();
  std::this_thread::sleep_for(2s);
  const std::string window = server->windowNamed("Swirlmote");
  server->run("xdotool windowunmap --sync " + window);
  // Once the server has unmapped it, not as xdotool starts: frames go on
  // until then.
  const long long unmapped = monotonicNanoseconds();
  std::this_thread::sleep_for(3s);
  const long long mapped = monotonicNanoseconds();
  server->run("xdotool windowmap --sync " + window);
  std::this_thread::sleep_for(2s);
  ASSERT_FALSE(saver.wait(0ms)) << "ended by itself: " << saver.errors();
  saver.signal(SIGTERM);
  ASSERT_TRUE(endedBy(saver, SIGTERM, 10s));

  const auto frames = loggedFrames(readFile(scratch / "frames.log"));
  EXPECT_TRUE(framesBetween(frames, coveredFrom, coveredTo).empty());
  EXPECT_FALSE(framesBetween(frames, uncovered, unmapped).empty()) << "no frame once uncovered";
  // The frame under way as the window went may end after it went.
  EXPECT_LE(framesBetween(frames, unmapped, mapped).size(), 1u);
  EXPECT_FALSE(framesBetween(frames, mapped, monotonicNanoseconds()).empty()) << "no frame once mapped again";
  std::printf("CPU over %lld s: %.2f s visible, %.2f s covered\n", static_cast<long long>(kPeriod.count()),
              visible, covered);
  ASSERT_GT(visible, 0);
  EXPECT_LE(covered, 0.05 * visible);
}

}  // namespace
