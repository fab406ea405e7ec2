#include "host/saver_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::optional<SaverOptions> parse(const std::vector<std::string_view>& args,
                                  const char* environment = nullptr) {
  return parseSaverOptions(args, environment);
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
      {{"--window-id", "zz"}, nullptr, "--window-id takes"},
      {{"--window-id", "0"}, nullptr, "--window-id takes"},
      {{"--window-id", "0x"}, nullptr, "--window-id takes"},
      {{"--window-id", "0x100000000"}, nullptr, "--window-id takes"},
      {{"--window-id"}, nullptr, "--window-id needs a value"},
      {{"--fullscreen", "--preview"}, nullptr, "give one of them"},
      {{"--fullscreen", "--root"}, nullptr, "give one of them"},
      {{"--fullscreen", "--size", "10x10"}, nullptr, "--size is for the window"},
      {{"--root", "--size", "10x10"}, nullptr, "--size is for the window"},
      {{"--root"}, "junk", "XSCREENSAVER_WINDOW holds 'junk'"},
      {{"--cyclones", "11"}, nullptr, "--cyclones takes"},
      {{"--renderer", "fast"}, nullptr, "--renderer takes classic or batched"},
      {{"--renderer"}, nullptr, "--renderer needs a value"},
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

}  // namespace
