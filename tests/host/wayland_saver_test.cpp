// The saver as a native Wayland client, under a headless sway of the test's
// own with two outputs, under weston, which has no input seat (beside an X
// server where the saver falls back to one), and under GNOME's mutter.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/drawing_cost.h"
#include "host/wayland_session.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kStore = "number of cyclones=3\nnumber of particles=100\nparticle scale=1.0\n";

struct Output {
  const char* name;
  int width;
  int height;
};
constexpr Output kOutputs[] = {{"HEADLESS-1", 1280, 720}, {"HEADLESS-2", 800, 600}};

class SaverOnWayland : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_OR_SKIP(haveProgram("sway"), "sway");
    REQUIRE_OR_SKIP(haveProgram("grim"), "grim");
    writeStore(scratch_ / "config", kStore);
  }

  void startSway(const std::string& extraConfig = "", int outputs = 2) {
    session_ = WaylandSession::startSway(extraConfig, outputs);
    ASSERT_TRUE(session_) << "sway did not start";
  }

  std::vector<std::string> environment() const {
    std::vector<std::string> environment = session_->clientEnvironment();
    environment.push_back("XDG_CONFIG_HOME=" + scratch_ / "config");
    return environment;
  }

  std::unique_ptr<Process> saver(const std::vector<std::string>& args) {
    std::vector<std::string> argv{SWIRLMOTE_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<Process>(argv, environment(), scratch_ / "saver.err");
  }

  // `swirlmote idle` on this seat, with no session bus.
  std::unique_ptr<Process> idleHost(const std::string& after) {
    std::vector<std::string> idleEnvironment = environment();
    idleEnvironment.insert(idleEnvironment.end(), {"DBUS_SESSION_BUS_ADDRESS=", "GSETTINGS_BACKEND=memory"});
    return std::make_unique<Process>(std::vector<std::string>{SWIRLMOTE_BINARY, "idle", "--after", after},
                                     idleEnvironment, scratch_ / "idle.err");
  }

  int saverWindows() const {
    return std::atoi(session_->run("swaymsg -t get_tree | grep -c '\"name\": \"Swirlmote\"'").c_str());
  }

  // Whether the output shows particles: the saver has drawn on it.
  bool showsParticles(const Output& output) const {
    const auto shot = session_->screenshot(output.name);
    return shot && brightPixels(*shot, 0, 0, shot->pixelsWide(), shot->pixelsHigh()) > 50;
  }
  bool everyOutputShowsParticles() const {
    return std::all_of(std::begin(kOutputs), std::end(kOutputs),
                       [&](const Output& output) { return showsParticles(output); });
  }

  // Why the output does not show the saver edge to edge, or nothing when it
  // does: its dark background along every edge (no title bar, border or
  // compositor colour) and particles.
  std::optional<std::string> notFilledBySaver(const Output& output) const {
    const auto shot = session_->screenshot(output.name);
    if (!shot) {
      return "no screenshot";
    }
    if (shot->pixelsWide() != output.width || shot->pixelsHigh() != output.height) {
      return "screenshot of " + std::to_string(shot->pixelsWide()) + "x" + std::to_string(shot->pixelsHigh());
    }
    const PixelColor background = shot->colorAtX(0, 0);
    if (std::max({background.red, background.green, background.blue}) >= 0.1) {
      return "a corner that is not dark";
    }
    const int w = output.width;
    const int h = output.height;
    const struct {
      const char* edge;
      int x0, y0, dx, dy, length;
    } edges[] = {{"top", 0, 0, 1, 0, w},
                 {"bottom", 0, h - 1, 1, 0, w},
                 {"left", 0, 0, 0, 1, h},
                 {"right", w - 1, 0, 0, 1, h}};
    for (const auto& edge : edges) {
      int same = 0;
      for (int i = 0; i < edge.length; ++i) {
        const PixelColor c = shot->colorAtX(edge.x0 + i * edge.dx, edge.y0 + i * edge.dy);
        same += c.red == background.red && c.green == background.green && c.blue == background.blue;
      }
      if (same <= edge.length * 3 / 4) {
        return std::string(edge.edge) + " edge: " + std::to_string(same) + " of " +
               std::to_string(edge.length) + " pixels of the background";
      }
    }
    if (brightPixels(*shot, 0, 0, w, h) <= 50) {
      return "no particles";
    }
    return std::nullopt;
  }

  // A particle near the camera may cover part of an edge in one frame, so
  // the saver has a few seconds of frames to show a clear picture; a title
  // bar or border would stay in every one of them.
  void expectSaverOnEveryOutput() {
    for (const Output& output : kOutputs) {
      std::optional<std::string> why;
      EXPECT_TRUE(waitFor([&] { return !(why = notFilledBySaver(output)); }, 10s))
          << output.name << ": " << why.value_or("");
    }
  }

  // A screenshot of the first output, taken while a run of the mode with
  // seed 7 draws its kExactFrames frames, once it shows particles; the run
  // is to end by itself after its frames.
  std::unique_ptr<PngImage> shotOfARun(std::vector<std::string> mode) {
    mode.insert(mode.end(), {"--seed", "7", "--frames", std::to_string(kExactFrames)});
    auto run = saver(mode);
    EXPECT_TRUE(waitFor([&] { return showsParticles(kOutputs[0]); }, 30s)) << run->errors();
    auto shot = session_->screenshot(kOutputs[0].name);
    EXPECT_FALSE(run->wait(0ms)) << "ended before the screenshot: " << run->errors();
    EXPECT_EQ(run->wait(60s), 0) << run->errors();
    return shot;
  }

  // The screen shows one of the first frames that headless rendering draws
  // for the seed, settings and the picture's size.
  void expectSomeRenderedFrameIs(const PngImage& shot, const std::string& seed, int frames) {
    const std::string size = std::to_string(shot.pixelsWide()) + "x" + std::to_string(shot.pixelsHigh());
    Process render({SWIRLMOTE_BINARY, "render", "--seed", seed, "--frames", std::to_string(frames), "--size",
                    size, "--every", "1", "--out", scratch_ / "render"},
                   {"XDG_CONFIG_HOME=" + scratch_ / "config"}, scratch_ / "render.err");
    ASSERT_EQ(render.wait(300s), 0) << render.errors();
    int matching = 0;
    long fewestDiffering = -1;
    for (int frame = 1; frame <= frames && matching == 0; ++frame) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
      const auto headless = PngImage::load(scratch_ / "render" + name);
      ASSERT_TRUE(headless) << name;
      const PictureDifference difference = comparePictures(*headless, shot);
      ASSERT_TRUE(difference.sameSize);
      if (difference.channelsDiffering == 0) {
        matching = frame;
      } else if (fewestDiffering < 0 || difference.channelsDiffering < fewestDiffering) {
        fewestDiffering = difference.channelsDiffering;
      }
    }
    std::printf("the screen shows frame %d\n", matching);
    EXPECT_GT(matching, 0) << "no frame matches; the closest differs in " << fewestDiffering
                           << " channel values";
  }

  static constexpr int kExactFrames = 150;
  ScratchDir scratch_;
  std::unique_ptr<WaylandSession> session_;
};

// The window shows exactly a frame that headless rendering draws for the
// same seed, settings and size: opaque, whatever alpha the blending left.
TEST_F(SaverOnWayland, TheWindowShowsExactlyTheFrameDrawn) {
  // Tiled alone without a border, a window of the output's size fills it
  // as it is.
  startSway("default_border none\n");
  const auto shot = shotOfARun({"--size", "1280x720"});
  ASSERT_TRUE(shot);
  expectSomeRenderedFrameIs(*shot, "7", kExactFrames);
  EXPECT_GT(brightPixels(*shot, 0, 0, 1280, 720), 200) << "no particles";
}

TEST_F(SaverOnWayland, FullScreenCoversEveryOutput) {
  startSway();
  auto run = saver({"--fullscreen", "--seed", "11", "--cyclones", "3", "--particles", "100"});
  ASSERT_TRUE(waitFor([&] { return saverWindows() == 2; }, 30s)) << run->errors();
  waitFor([&] { return everyOutputShowsParticles(); }, 30s);
  expectSaverOnEveryOutput();
  EXPECT_FALSE(run->wait(0ms)) << "ended by itself: " << run->errors();
}

// The wallpaper shows exactly a frame that headless rendering draws for the
// same seed, settings and the output's size: rows in order, channels in
// place, opaque. One output: the fields of several draw from the one random
// sequence in turn, so only a lone field follows headless rendering's frame
// for frame.
TEST_F(SaverOnWayland, TheBackgroundShowsExactlyTheFrameDrawn) {
  startSway("", 1);
  const auto shot = shotOfARun({"--background"});
  ASSERT_TRUE(shot);
  expectSomeRenderedFrameIs(*shot, "7", kExactFrames);
}

// An output that comes during the run gets a wallpaper of its own; one that
// is turned off and on again gets it back, and the wallpaper runs on.
TEST_F(SaverOnWayland, TheBackgroundFollowsOutputsComingAndGoing) {
  startSway("", 1);
  auto run = saver({"--background"});
  ASSERT_TRUE(waitFor([&] { return showsParticles(kOutputs[0]); }, 30s)) << run->errors();
  const Output& added = kOutputs[1];
  const auto shown = [&] {
    std::optional<std::string> why;
    EXPECT_TRUE(waitFor([&] { return !(why = notFilledBySaver(added)); }, 30s))
        << added.name << ": " << why.value_or("") << "\n"
        << run->errors();
  };
  session_->run("swaymsg create_output");
  shown();
  session_->run("swaymsg output " + std::string(added.name) + " disable");
  session_->run("swaymsg output " + std::string(added.name) + " enable");
  shown();
  ASSERT_FALSE(run->wait(0ms)) << "ended by itself: " << run->errors();
  run->signal(SIGTERM);
  EXPECT_TRUE(endedBy(*run, SIGTERM, 10s));
}

// The wallpaper lies under an ordinary window, on every output, until a
// termination signal ends it. Each has a background colour of its own.
TEST_F(SaverOnWayland, TheBackgroundLiesUnderOrdinaryWindows) {
  startSway("default_border none\nfor_window [title=\"^Swirlmote$\"] floating enable\n");
  const PixelColor wallpaper{0x20 / 255.0, 0x30 / 255.0, 0x40 / 255.0, 1};
  const PixelColor window{0x40 / 255.0, 0x20 / 255.0, 0x10 / 255.0, 1};
  auto background = saver({"--background", "--background-color", "203040"});
  Process ordinary({SWIRLMOTE_BINARY, "--size", "400x300", "--background-color", "402010"}, environment(),
                   scratch_ / "window.err");
  ASSERT_TRUE(waitFor([&] { return saverWindows() == 1; }, 30s)) << ordinary.errors();
  // The window floats at the middle of the first output.
  const int left = (kOutputs[0].width - 400) / 2;
  const int top = (kOutputs[0].height - 300) / 2;
  const auto shares = [](const PngImage& shot, int x0, int y0, int width, int height, PixelColor color) {
    int same = 0;
    for (int y = y0; y < y0 + height; ++y) {
      for (int x = x0; x < x0 + width; ++x) {
        const PixelColor c = shot.colorAtX(x, y);
        same += channel(c.red) == channel(color.red) && channel(c.green) == channel(color.green) &&
                channel(c.blue) == channel(color.blue);
      }
    }
    return static_cast<double>(same) / (width * height);
  };
  // Particles cover a few pixels of each colour.
  const auto wallpaperAround = [&](const Output& output, const PngImage& shot) {
    return shares(shot, 0, 0, output.width, 40, wallpaper) > 0.75 &&
           shares(shot, 0, output.height - 40, output.width, 40, wallpaper) > 0.75;
  };
  std::string seen;
  EXPECT_TRUE(waitFor(
      [&] {
        const auto first = session_->screenshot(kOutputs[0].name);
        const auto second = session_->screenshot(kOutputs[1].name);
        if (!first || !second) return false;
        const double inWindow = shares(*first, left + 50, top + 50, 300, 200, window);
        seen = "window colour in the window: " + std::to_string(inWindow);
        return wallpaperAround(kOutputs[0], *first) && wallpaperAround(kOutputs[1], *second) &&
               inWindow > 0.75;
      },
      30s))
      << seen << "\n"
      << background->errors() << ordinary.errors();
  ASSERT_FALSE(background->wait(0ms)) << "ended by itself: " << background->errors();
  background->signal(SIGTERM);
  EXPECT_TRUE(endedBy(*background, SIGTERM, 10s));
}

// The wallpaper draws only where it can be seen: sway asks for no frames of
// a background under a full-screen window. With one of the two outputs
// covered only the other is drawn; with both covered nothing is, and the
// wallpaper comes back when the windows go. Measured in the frame log's
// frames and in CPU time from /proc. With one output covered the CPU time
// is only printed: each draw has costs that do not follow its pixels, and
// the frame rate that both outputs keep up depends on the machine's load.
// Small outputs keep the test light.
TEST_F(SaverOnWayland, TheBackgroundDrawsNothingUnderFullScreenWindows) {
  constexpr auto kPeriod = 10s;
  startSway(
      "default_border none\n"
      "output HEADLESS-1 resolution 640x360 position 0 0\n"
      "output HEADLESS-2 resolution 400x300 position 640 0\n");
  std::vector<std::string> logged = environment();
  logged.push_back("SWIRLMOTE_FRAME_LOG=" + scratch_ / "frames.log");
  Process background({SWIRLMOTE_BINARY, "--background"}, logged, scratch_ / "saver.err");
  ASSERT_TRUE(waitFor([&] { return everyOutputShowsParticles(); }, 30s)) << background.errors();
  std::this_thread::sleep_for(1s);
  const long long seenFrom = monotonicNanoseconds();
  const double visible = cpuSecondsOver(background.pid(), kPeriod);
  const long long seenTo = monotonicNanoseconds();

  // Windows of the program's own that draw a frame every 5 s, so that they
  // take next to no CPU from the wallpaper: one made full screen
  // on the first output, then one on each output.
  const std::vector<std::string> light{"--delay", "5000000"};
  const auto covered = [&](std::vector<std::string> args, int windows, long long& from, long long& to) {
    session_->run("swaymsg focus output HEADLESS-1");
    args.insert(args.begin(), SWIRLMOTE_BINARY);
    args.insert(args.end(), light.begin(), light.end());
    Process cover(args, environment(), scratch_ / "cover.err");
    EXPECT_TRUE(waitFor([&] { return saverWindows() == windows; }, 30s)) << cover.errors();
    session_->run("swaymsg '[title=\"^Swirlmote$\"] fullscreen enable'");
    std::this_thread::sleep_for(1s);
    from = monotonicNanoseconds();
    const double used = cpuSecondsOver(background.pid(), kPeriod);
    to = monotonicNanoseconds();
    cover.signal(SIGTERM);
    EXPECT_TRUE(endedBy(cover, SIGTERM, 10s));
    return used;
  };
  long long oneFrom = 0, oneTo = 0, bothFrom = 0, bothTo = 0;
  const double oneCovered = covered({"--size", "320x240"}, 1, oneFrom, oneTo);
  const double bothCovered = covered({"--fullscreen"}, 2, bothFrom, bothTo);
  const long long uncovered = monotonicNanoseconds();
  std::this_thread::sleep_for(2s);
  ASSERT_FALSE(background.wait(0ms)) << "ended by itself: " << background.errors();
  background.signal(SIGTERM);
  ASSERT_TRUE(endedBy(background, SIGTERM, 10s));

  const auto frames = loggedFrames(readFile(scratch_ / "frames.log"));
  const auto oneOutput = framesBetween(frames, oneFrom, oneTo);
  EXPECT_FALSE(oneOutput.empty()) << "the output left uncovered was not drawn";
  EXPECT_TRUE(std::all_of(oneOutput.begin(), oneOutput.end(), [](const LoggedFrame& frame) {
    return frame.surfaces == 1;
  })) << "the covered output was drawn";
  EXPECT_TRUE(framesBetween(frames, bothFrom, bothTo).empty());
  const auto after = framesBetween(frames, uncovered, monotonicNanoseconds());
  EXPECT_TRUE(std::any_of(after.begin(), after.end(), [](const LoggedFrame& frame) {
    return frame.surfaces == 2;
  })) << "not drawn on both outputs again";
  const auto draws = [&](long long from, long long to) {
    int drawn = 0;
    for (const LoggedFrame& frame : framesBetween(frames, from, to)) drawn += frame.surfaces;
    return drawn;
  };
  std::printf(
      "over %lld s: both outputs seen %.2f s CPU, %d draws; one covered %.2f s, %d draws; both covered %.2f "
      "s, "
      "%d draws\n",
      static_cast<long long>(kPeriod.count()), visible, draws(seenFrom, seenTo), oneCovered,
      draws(oneFrom, oneTo), bothCovered, draws(bothFrom, bothTo));
  ASSERT_GT(visible, 0);
  EXPECT_LE(bothCovered, 0.05 * visible);
}

// A window that a full-screen window covers is asked for no frames, and so
// draws none until the cover goes.
TEST_F(SaverOnWayland, AWindowUnderAFullScreenWindowDrawsNothing) {
  constexpr auto kPeriod = 10s;
  startSway("output HEADLESS-1 resolution 640x360\n", 1);
  std::vector<std::string> logged = environment();
  logged.push_back("SWIRLMOTE_FRAME_LOG=" + scratch_ / "frames.log");
  Process window({SWIRLMOTE_BINARY, "--size", "640x360"}, logged, scratch_ / "saver.err");
  ASSERT_TRUE(waitFor([&] { return showsParticles(kOutputs[0]); }, 30s)) << window.errors();
  std::this_thread::sleep_for(1s);
  const double visible = cpuSecondsOver(window.pid(), kPeriod);

  Process cover({SWIRLMOTE_BINARY, "--fullscreen", "--delay", "5000000"}, environment(),
                scratch_ / "cover.err");
  ASSERT_TRUE(waitFor([&] { return saverWindows() == 2; }, 30s)) << cover.errors();
  std::this_thread::sleep_for(1s);
  const long long coveredFrom = monotonicNanoseconds();
  const double covered = cpuSecondsOver(window.pid(), kPeriod);
  const long long coveredTo = monotonicNanoseconds();
  cover.signal(SIGTERM);
  ASSERT_TRUE(endedBy(cover, SIGTERM, 10s));
  const long long uncovered = monotonicNanoseconds();
  std::this_thread::sleep_for(2s);
  ASSERT_FALSE(window.wait(0ms)) << "ended by itself: " << window.errors();
  window.signal(SIGTERM);
  ASSERT_TRUE(endedBy(window, SIGTERM, 10s));

  const auto frames = loggedFrames(readFile(scratch_ / "frames.log"));
  EXPECT_TRUE(framesBetween(frames, coveredFrom, coveredTo).empty());
  EXPECT_FALSE(framesBetween(frames, uncovered, monotonicNanoseconds()).empty()) << "no frame once uncovered";
  std::printf("CPU over %lld s: %.2f s seen, %.2f s covered\n", static_cast<long long>(kPeriod.count()),
              visible, covered);
  ASSERT_GT(visible, 0);
  EXPECT_LE(covered, 0.05 * visible);
}

// swayidle starts the saver after the seat has been idle, on every output,
// and input on the seat ends it: a key, or the pointer moved with sway's own
// cursor command. A headless seat has neither keyboard nor pointer, so each
// case gives it the device first, and the saver's client binds it before the
// input comes.
TEST_F(SaverOnWayland, SwayidleRunsItAsTheScreenSaver) {
  REQUIRE_OR_SKIP(haveProgram("swayidle"), "swayidle");
  REQUIRE_OR_SKIP(haveProgram("wtype"), "wtype");
  struct Input {
    const char* name;
    void (*send)(const WaylandSession& session, const std::vector<std::string>& environment,
                 const std::string& scratch);
  };
  const Input inputs[] = {
      {"a key on a virtual keyboard", [](const WaylandSession& session, const std::vector<std::string>&,
                                         const std::string&) { session.run("wtype -s 500 -k space"); }},
      {"the cursor moved on a virtual pointer",
       [](const WaylandSession& session, const std::vector<std::string>& environment,
          const std::string& scratch) {
         // Holds a pointer on the seat, without moving it, while the cursor
         // moves.
         Process pointer({VIRTUAL_POINTER_BINARY, "10"}, environment, scratch + "/pointer.err");
         const bool seatHasPointer = waitFor(
             [&] { return session.run("swaymsg -t get_inputs | grep -c '\"type\": \"pointer\"'") != "0\n"; },
             10s);
         ASSERT_TRUE(seatHasPointer) << pointer.errors();
         session.run("sh -c 'sleep 0.5; swaymsg seat - cursor move 50 50'");
       }},
  };
  for (const Input& input : inputs) {
    SCOPED_TRACE(input.name);
    startSway();
    const std::string status = scratch_ / "status";
    std::filesystem::remove(status);
    Process idle({"swayidle", "-w", "timeout", "1",
                  std::string(SWIRLMOTE_BINARY) + " --fullscreen --seed 11; echo $? > '" + status + "'"},
                 environment(), scratch_ / "swayidle.err");
    ASSERT_TRUE(waitFor([&] { return saverWindows() == 2; }, 30s)) << idle.errors();
    waitFor([&] { return everyOutputShowsParticles(); }, 30s);
    expectSaverOnEveryOutput();
    ASSERT_FALSE(std::filesystem::exists(status)) << "ended before any input";

    input.send(*session_, environment(), scratch_.path());
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(status); }, 10s))
        << "still running after the input";
    std::ifstream statusFile(status);
    int code = -1;
    statusFile >> code;
    EXPECT_EQ(code, 0);
  }
}

// `swirlmote idle` on sway: a player's idle inhibitor keeps the saver away;
// once it goes, the saver covers every output without inhibiting idleness
// itself, a key ends it, it comes back at the next idle period, and a
// termination signal ends the host by that signal.
TEST_F(SaverOnWayland, TheIdleHostShowsItWheneverTheSeatIdles) {
  REQUIRE_OR_SKIP(haveProgram("wtype"), "wtype");
  startSway();
  Process inhibitor({IDLE_INHIBITOR_BINARY, "60"}, session_->clientEnvironment(), scratch_ / "inhibitor.log",
                    scratch_ / "inhibitor.log");
  ASSERT_TRUE(waitFor([&] { return readFile(scratch_ / "inhibitor.log") == "inhibiting\n"; }, 10s))
      << readFile(scratch_ / "inhibitor.log");
  auto idle = idleHost("2");
  const auto shown = [&] {
    ASSERT_TRUE(waitFor([&] { return saverWindows() == 2; }, 30s)) << idle->errors();
    waitFor([&] { return everyOutputShowsParticles(); }, 30s);
    expectSaverOnEveryOutput();
  };

  // Twice the idle time.
  EXPECT_FALSE(waitFor([&] { return saverWindows() > 0; }, 4s)) << "shown while inhibited";
  inhibitor.signal(SIGTERM);
  shown();
  // Each of its windows, as sway lists it, holds no idle inhibitor.
  EXPECT_EQ(session_->run("swaymsg -t get_tree | grep -c '\"inhibit_idle\": false'"), "2");
  session_->run("wtype -s 500 -k space");
  EXPECT_TRUE(waitFor([&] { return saverWindows() == 0; }, 10s)) << "still shown after a key";
  ASSERT_FALSE(idle->wait(0ms)) << "the host ended: " << idle->errors();
  shown();
  idle->signal(SIGTERM);
  EXPECT_TRUE(endedBy(*idle, SIGTERM, 10s));
}

// --configure on Wayland is one window, the sheet with the preview inside
// it to the left of the controls, which no compositor can make cover each
// other (two windows cannot be placed side by side there). The compositor
// closing the sheet ends the program as Cancel does, leaving the store as
// it was. (A virtual keyboard's keys do not reach the sheet on headless
// sway: the X11 tests drive its controls.)
TEST_F(SaverOnWayland, TheSheetHoldsItsPreviewOnWayland) {
  startSway();
  const std::string store = scratch_ / "config/swirlmote/org.swirlmote.Swirlmote.ini";
  const std::string before = readFile(store);
  auto run = saver({"--configure"});
  const auto sheets = [&] {
    return std::atoi(
        session_->run("swaymsg -t get_tree | grep -c '\"name\": \"Swirlmote Settings\"'").c_str());
  };
  ASSERT_TRUE(waitFor([&] { return sheets() == 1; }, 30s)) << run->errors();
  EXPECT_EQ(saverWindows(), 0) << "the preview has no window of its own";

  // What the sheet's window shows: how many pixels are the preview's dark
  // background in its left part, where the preview lies, and in the rest,
  // where the controls are.
  struct Counts {
    int width = 0;
    int left = 0;
    int right = 0;
  };
  const auto count = [&] {
    Counts counts;
    const std::string region = session_->run(
        "swaymsg -t get_tree | jq -r '.. | select(.name? == \"Swirlmote Settings\") | .rect | "
        "\"\\(.x),\\(.y) \\(.width)x\\(.height)\"'");
    const auto shot = session_->screenshot("", region);
    if (!shot) {
      return counts;
    }
    counts.width = shot->pixelsWide();
    for (int y = 0; y < shot->pixelsHigh(); ++y) {
      for (int x = 0; x < shot->pixelsWide(); ++x) {
        const PixelColor c = shot->colorAtX(x, y);
        (x < 400 ? counts.left : counts.right) += std::max({c.red, c.green, c.blue}) < 0.1;
      }
    }
    return counts;
  };
  constexpr int kPreviewPixels = 320 * 200;
  Counts shown;
  EXPECT_TRUE(waitFor([&] { return (shown = count()).left > kPreviewPixels * 8 / 10; }, 20s))
      << shown.left << " dark pixels: the preview does not show its frames in the sheet";
  EXPECT_GT(shown.width, 400 + 300) << "room for the controls beside the preview";
  EXPECT_LT(shown.right, kPreviewPixels / 10) << "the preview spills over the controls";

  ASSERT_FALSE(run->wait(0ms)) << "ended before the sheet was closed: " << run->errors();

  session_->run("swaymsg '[title=\"^Swirlmote Settings$\"] kill'");
  EXPECT_EQ(run->wait(10s), 0) << run->errors();
  EXPECT_EQ(run->errors(), "") << "the window's widgets go without warnings";
  EXPECT_EQ(readFile(store), before);
}

// The compositor ending under the saver ends it as the X server's end does:
// status 0 and one line, in every mode that opens windows or surfaces of its
// own.
TEST_F(SaverOnWayland, TheCompositorEndingEndsItWithAMessage) {
  const std::vector<std::string> modes[] = {
      {"--size", "320x240"}, {"--fullscreen"}, {"--background"}, {"--configure"}};
  for (const auto& mode : modes) {
    SCOPED_TRACE(testing::PrintToString(mode));
    startSway();
    std::filesystem::remove(scratch_ / "saver.err");
    auto run = saver(mode);
    ASSERT_TRUE(waitFor([&] { return showsParticles(kOutputs[0]); }, 30s)) << run->errors();
    session_->kill();
    EXPECT_EQ(run->wait(10s), 0) << run->errors();
    EXPECT_EQ(run->errors(), "swirlmote: lost the connection to the Wayland compositor\n");
  }
}

// The compositor ending while the idle host shows the saver ends the host
// too, with a message and status 0.
TEST_F(SaverOnWayland, TheCompositorEndingEndsTheIdleHost) {
  startSway();
  auto idle = idleHost("1");
  ASSERT_TRUE(waitFor([&] { return showsParticles(kOutputs[0]); }, 30s)) << idle->errors();
  session_->kill();
  EXPECT_EQ(idle->wait(10s), 0) << idle->errors();
  EXPECT_EQ(idle->errors(), "swirlmote idle: lost the connection to the Wayland compositor\n");
}

// weston's headless back end has no input seat, on which SDL's start-up
// would crash, and no layer-shell protocol: every mode refuses with one
// message of ours, and no library adds warnings of its own.
TEST(SaverOnWaylandWithoutASeat, EveryModeEndsWithAMessage) {
  REQUIRE_OR_SKIP(haveProgram("weston"), "weston");
  const auto session = WaylandSession::startWeston();
  ASSERT_TRUE(session) << "weston did not start";
  ScratchDir scratch;
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {{{}, "no input seat"},
                        {{"--fullscreen"}, "no input seat"},
                        {{"--preview"}, "no input seat"},
                        {{"--configure"}, "no input seat"},
                        {{"--root"}, "needs an X display"},
                        {{"--background"}, "layer-shell protocol"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    std::vector<std::string> argv{SWIRLMOTE_BINARY, "--frames", "5"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::vector<std::string> environment = session->clientEnvironment();
    environment.push_back("XDG_CONFIG_HOME=" + scratch / "config");
    Process run(argv, environment, scratch / "err");
    EXPECT_EQ(run.wait(30s), 1) << run.errors();
    const std::string errors = run.errors();
    EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    EXPECT_TRUE(errors.starts_with("swirlmote: ") && errors.find('\n') == errors.size() - 1) << errors;
    std::filesystem::remove(scratch / "err");
  }
}

// Left for the X display by a compositor without a seat, the saver opens
// its sheet there too, not on the compositor that GTK would take first.
TEST(SaverOnWaylandWithoutASeat, TheSheetOpensWhereTheSaverIs) {
  REQUIRE_OR_SKIP(haveProgram("weston"), "weston");
  REQUIRE_OR_SKIP(haveProgram("Xvfb"), "Xvfb");
  REQUIRE_OR_SKIP(haveProgram("xdotool"), "xdotool");
  const auto session = WaylandSession::startWeston();
  ASSERT_TRUE(session) << "weston did not start";
  const auto server =
      XServer::start({"Xvfb", "-screen", "0", "1280x1024x24", "+extension", "GLX", "-nolisten", "tcp"});
  ASSERT_TRUE(server) << "Xvfb did not start";
  ScratchDir scratch;
  std::vector<std::string> environment = session->clientEnvironment();
  std::replace(environment.begin(), environment.end(), std::string("DISPLAY="),
               "DISPLAY=" + server->display());
  environment.push_back("XDG_CONFIG_HOME=" + scratch / "config");
  Process run({SWIRLMOTE_BINARY, "--configure"}, environment, scratch / "err");
  EXPECT_TRUE(waitFor(
      [&] { return !server->run("xdotool search --onlyvisible --name '^Swirlmote Settings$'").empty(); },
      30s))
      << run.errors();
  EXPECT_FALSE(run.wait(0ms)) << run.errors();
}

// mutter leaves title bars to its clients and warns of window geometry that
// no buffer covers, which it says will end the client in future: the
// full-screen saver sends none, neither when it starts nor when it ends.
TEST(SaverOnMutter, FullScreenSendsNoInvalidWindowGeometry) {
  REQUIRE_OR_SKIP(haveProgram("mutter") && haveProgram("dbus-run-session"),
                  "mutter and dbus-run-session (tools/install-packages.sh test)");
  const auto session = WaylandSession::startMutter();
  ASSERT_TRUE(session) << "mutter did not start";
  ScratchDir scratch;
  writeStore(scratch / "config", kStore);
  std::vector<std::string> environment = session->clientEnvironment();
  environment.push_back("XDG_CONFIG_HOME=" + scratch / "config");
  Process run({SWIRLMOTE_BINARY, "--fullscreen", "--frames", "30"}, environment, scratch / "err");
  EXPECT_EQ(run.wait(60s), 0) << run.errors() << session->log();
  // mutter may handle the client's last requests after the client has
  // ended: a moment for the warning to come.
  constexpr const char* kInvalid = "Invalid window geometry";
  waitFor([&] { return session->log().find(kInvalid) != std::string::npos; }, 2s);
  EXPECT_EQ(session->log().find(kInvalid), std::string::npos) << session->log();
}

}  // namespace
