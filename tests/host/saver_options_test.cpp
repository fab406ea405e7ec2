#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "host/option_table.h"
#include "host/run_options.h"

namespace {

std::optional<RunOptions> parse(const std::vector<std::string_view>& args,
                                const char* environment = nullptr) {
  return parseRunOptions(kSaver, args, environment);
}

struct ModeCase {
  std::vector<std::string_view> args;
  const char* environment;
  SaverMode mode;
  std::optional<unsigned long> window;
};

TEST(SaverOptions, ChoosesTheModeAndTheWindow) {
  const ModeCase cases[] = {
      {{}, nullptr, SaverMode::Window, std::nullopt},
      {{}, "", SaverMode::Window, std::nullopt},
      {{"--fullscreen"}, nullptr, SaverMode::FullScreen, std::nullopt},
      {{"--preview"}, nullptr, SaverMode::Preview, std::nullopt},
      {{"--root"}, nullptr, SaverMode::ForeignWindow, std::nullopt},
      {{"-root"}, nullptr, SaverMode::ForeignWindow, std::nullopt},
      {{"--window-id", "0x400E23"}, nullptr, SaverMode::ForeignWindow, 0x400E23},
      {{"-window-id", "4197923"}, nullptr, SaverMode::ForeignWindow, 4197923},
      // XScreenSaver's own launch: the window comes in the environment.
      {{"--root"}, "0x1a00007", SaverMode::ForeignWindow, 0x1a00007},
      {{}, "0x1a00007", SaverMode::ForeignWindow, 0x1a00007},
      // xsecurelock's launch: the window id in decimal.
      {{"-root"}, "27262983", SaverMode::ForeignWindow, 27262983},
      // Its settings dialog's preview adds the window to the command line,
      // which wins.
      {{"--root", "--window-id", "0x400E23"}, "0x1a00007", SaverMode::ForeignWindow, 0x400E23},
      {{"--fullscreen"}, "0x1a00007", SaverMode::FullScreen, std::nullopt},
      {{"--background"}, "0x1a00007", SaverMode::Background, std::nullopt},
  };
  for (const ModeCase& c : cases) {
    const auto options = parse(c.args, c.environment);
    ASSERT_TRUE(options) << testing::PrintToString(c.args);
    EXPECT_EQ(options->mode, c.mode) << testing::PrintToString(c.args);
    EXPECT_EQ(options->windowId, c.window) << testing::PrintToString(c.args);
  }
}

TEST(SaverOptions, ReadsTheRunOptions) {
  const auto options =
      parse({"--seed", "4294967295", "--frames", "12", "--screenshot", "/tmp/a.png", "--size", "640x360",
             "--cyclones", "4", "--no-afterimages", "--renderer", "batched"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->seed, 4294967295u);
  EXPECT_EQ(options->frames, 12);
  EXPECT_EQ(options->screenshot, "/tmp/a.png");
  ASSERT_TRUE(options->size);
  EXPECT_EQ(options->size->width, 640);
  EXPECT_EQ(options->size->height, 360);
  EXPECT_EQ(options->overrides.cyclones, 4);
  EXPECT_EQ(options->overrides.afterimages, false);
  EXPECT_EQ(options->renderer, Renderer::Batched);
  EXPECT_EQ(parse({})->renderer, Renderer::Classic);
}

TEST(SaverOptions, RefusesCommandLinesThatMakeNoSense) {
  struct Case {
    std::vector<std::string_view> args;
    const char* environment;
    const char* message;
  };
  const Case cases[] = {
      {{"--bogus"}, nullptr, "unknown option '--bogus'"},
      {{"render"}, nullptr, "unknown option 'render'"},
      {{"--size", "0x0"}, nullptr, "--size takes"},
      {{"--size", "640"}, nullptr, "--size takes"},
      {{"--frames", "-1"}, nullptr, "--frames takes"},
      {{"--frames", "0"}, nullptr, "--frames takes"},
      {{"--frames"}, nullptr, "--frames needs a value"},
      {{"--seed", "x"}, nullptr, "--seed takes"},
      {{"--screenshot", ""}, nullptr, "--screenshot needs a file name"},
      {{"--fullscreen", "--preview"}, nullptr, "give one of them"},
      {{"--background", "--fullscreen"}, nullptr, "give one of them"},
      {{"--preview", "--configure"}, nullptr, "give one of them"},
      {{"--fullscreen", "--size", "10x10"}, nullptr, "--size is for the window"},
      {{"--background", "--size", "10x10"}, nullptr, "--size is for the window"},
      {{"--cyclones", "11"}, nullptr, "--cyclones takes"},
      {{"--renderer", "fast"}, nullptr, "--renderer takes classic or batched"},
      {{"--renderer"}, nullptr, "--renderer needs a value"},
      {{"-delay", "-1"}, nullptr, "-delay takes"},
      {{"--visual"}, nullptr, "--visual needs a value"},
      {{"--fullscreen", "--cyclones", "banana"}, "0x1a00007", "--cyclones takes"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const auto options = parse(c.args, c.environment);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(options) << testing::PrintToString(c.args);
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_EQ(message.rfind("swirlmote: ", 0), 0u) << message;
  }
}

// The options every hack of XScreenSaver's takes, with one dash or two.
TEST(SaverOptions, TakesTheHacksOptions) {
  struct Case {
    std::vector<std::string_view> args;
    bool showFrameRate;
    std::chrono::microseconds delay;
  };
  using std::chrono::microseconds;
  const Case cases[] = {
      {{}, false, microseconds(0)},
      {{"-fps"}, true, microseconds(0)},
      {{"--fps", "-delay", "10000"}, true, microseconds(10000)},
      {{"-fps", "--no-fps", "--delay", "0"}, false, microseconds(0)},
      {{"-install", "-noinstall", "-visual", "default", "--mono", "-window", "-no-fps"},
       false,
       microseconds(0)},
  };
  for (const Case& c : cases) {
    const auto options = parse(c.args);
    ASSERT_TRUE(options) << testing::PrintToString(c.args);
    EXPECT_EQ(options->hacks.showFrameRate, c.showFrameRate) << testing::PrintToString(c.args);
    EXPECT_EQ(options->hacks.delay, c.delay) << testing::PrintToString(c.args);
  }
}

// Run by a host, whatever comes before or after --root or --window-id, the
// saver warns once about each word it cannot use, keeps the stored setting
// and draws into the host's window.
TEST(SaverOptions, RunByAHostItWarnsInsteadOfRefusing) {
  struct Case {
    std::vector<std::string_view> args;
    const char* environment;
    std::vector<const char*> warnings;
    std::optional<unsigned long> window;
  };
  const Case cases[] = {
      {{"--root", "--cyclones", "banana"}, nullptr, {"--cyclones takes"}, std::nullopt},
      {{"--bogus", "--root"}, nullptr, {"unknown option '--bogus'"}, std::nullopt},
      {{"stray", "--window-id", "0x400E23"}, nullptr, {"unknown option 'stray'"}, 0x400E23},
      {{"--bogus"}, "0x1a00007", {"unknown option '--bogus'"}, 0x1a00007},
      {{"--root", "--cyclones", "banana", "--particle-color", "notacolour"},
       nullptr,
       {"--cyclones takes", "--particle-color takes"},
       std::nullopt},
      // A window id that cannot be read leaves the environment's, or the
      // root.
      {{"--window-id", "zz"}, "0x1a00007", {"--window-id takes"}, 0x1a00007},
      {{"--window-id", "zz"}, nullptr, {"--window-id takes"}, std::nullopt},
      {{"--window-id", "0"}, nullptr, {"--window-id takes"}, std::nullopt},
      {{"--window-id", "0x"}, nullptr, {"--window-id takes"}, std::nullopt},
      {{"--window-id", "0x100000000"}, nullptr, {"--window-id takes"}, std::nullopt},
      {{"--window-id"}, "0x1a00007", {"--window-id needs a value"}, 0x1a00007},
      {{"--root"}, "junk", {"XSCREENSAVER_WINDOW holds 'junk'"}, std::nullopt},
      {{}, "junk", {"XSCREENSAVER_WINDOW holds 'junk'"}, std::nullopt},
      {{"--root", "--size", "10x10"}, nullptr, {"--size is for the window"}, std::nullopt},
      {{"--fullscreen", "--root"}, nullptr, {"--fullscreen, --background, --preview"}, std::nullopt},
      {{"--background", "--root"}, nullptr, {"--fullscreen, --background, --preview"}, std::nullopt},
      {{"--root", "-delay", "-5"}, nullptr, {"-delay takes"}, std::nullopt},
      {{"--root", "--frames"}, nullptr, {"--frames needs a value"}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    testing::internal::CaptureStderr();
    const auto options = parse(c.args, c.environment);
    const std::string message = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(options) << message;
    EXPECT_EQ(options->mode, SaverMode::ForeignWindow);
    EXPECT_EQ(options->windowId, c.window);
    EXPECT_FALSE(options->size);
    EXPECT_FALSE(options->frames);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), static_cast<long>(c.warnings.size()))
        << message;
    std::size_t at = 0;
    for (const char* warning : c.warnings) {
      at = message.find(std::string("swirlmote: warning: ") + warning, at);
      ASSERT_NE(at, std::string::npos) << message;
      EXPECT_NE(message.find("; ignored\n", at), std::string::npos) << message;
    }
  }
}

// An unusable value leaves the stored setting; the words around it are read
// as ever.
TEST(SaverOptions, RunByAHostTheStoredSettingStaysForAnUnusableValue) {
  testing::internal::CaptureStderr();
  const auto options = parse({"--root", "--cyclones", "3", "--cyclones", "banana", "--shape", "ring",
                              "--shape", "blob", "--particles", "60", "-fps"});
  testing::internal::GetCapturedStderr();
  ASSERT_TRUE(options);
  EXPECT_FALSE(options->overrides.cyclones);
  EXPECT_FALSE(options->overrides.shape);
  EXPECT_EQ(options->overrides.particlesPerCyclone, 60);
  EXPECT_TRUE(options->hacks.showFrameRate);
}

}  // namespace
