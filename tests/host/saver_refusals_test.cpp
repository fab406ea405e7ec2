// How the saver refuses to start: no display, and command lines that make no
// sense.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

TEST(SaverRefusals, WithoutADisplayPointsToHeadlessRendering) {
  ScratchDir scratch;
  for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                               {"--fullscreen"},
                                               {"--root"},
                                               {"--frames", "3", "--screenshot", "x.png"}}) {
    std::vector<std::string> argv{SWIRLMOTE_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    Process run(argv, {"DISPLAY=", "WAYLAND_DISPLAY=", "XSCREENSAVER_WINDOW="}, scratch / "err");
    EXPECT_EQ(run.wait(30s), 1) << testing::PrintToString(args);
    EXPECT_NE(run.errors().find("'swirlmote render'"), std::string::npos) << run.errors();
    EXPECT_NE(run.errors().find("WAYLAND_DISPLAY nor DISPLAY"), std::string::npos) << run.errors();
  }
}

// The wallpaper needs a Wayland compositor's background layer: an X display
// alone does not do.
TEST(SaverRefusals, TheBackgroundNeedsAWaylandCompositor) {
  ScratchDir scratch;
  for (const char* display : {"DISPLAY=", "DISPLAY=:0"}) {
    Process run({SWIRLMOTE_BINARY, "--background"}, {display, "WAYLAND_DISPLAY=", "XSCREENSAVER_WINDOW="},
                scratch / "err");
    EXPECT_EQ(run.wait(30s), 1) << display;
    EXPECT_NE(run.errors().find("--background needs a Wayland compositor with the layer-shell protocol"),
              std::string::npos)
        << run.errors();
    std::filesystem::remove(scratch / "err");
  }
}

TEST(SaverRefusals, NonsenseIsRefusedWithStatusTwo) {
  ScratchDir scratch;
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},         {"--size", "0x0"}, {"--frames", "-1"}, {"--frames"}, {"--fullscreen", "--preview"},
      {"--shape", "blob"},
  };
  for (const auto& args : cases) {
    std::vector<std::string> argv{SWIRLMOTE_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    Process run(argv, {"XSCREENSAVER_WINDOW="}, scratch / "err");
    EXPECT_EQ(run.wait(30s), 2) << testing::PrintToString(args);
  }
}

}  // namespace
