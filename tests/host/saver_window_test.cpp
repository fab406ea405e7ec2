// The saver in a window of its own on Xvfb: what it draws, how it follows a
// resize, and how it ends.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

// A dark green, below brightPixels' threshold.
constexpr const char* kGuestBackground = "004000";

constexpr const char* kStore = "number of cyclones=3\nnumber of particles=100\nparticle scale=1.0\n";

class SaverWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ =
        XServer::start({"Xvfb", "-screen", "0", "1280x1024x24", "+extension", "GLX", "-nolisten", "tcp"});
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    REQUIRE_OR_SKIP(server_, "Xvfb");
    writeStore(scratch_ / "config", kStore);
  }

  std::unique_ptr<Process> saver(const std::vector<std::string>& args, const std::string& configHome = "") {
    return startSwirlmote(args, server_->display(), configHome.empty() ? scratch_ / "config" : configHome,
                          scratch_ / "saver.err");
  }

  // The window of a running saver, once it is on screen.
  std::string waitForWindow(XServer& server = *server_) {
    std::string window;
    waitFor([&] { return !(window = server.windowNamed("Swirlmote")).empty(); }, 20s);
    return window;
  }

  // Whether the window shows a frame of the guest, which clears to
  // kGuestBackground, not to the owner's cycling hues.
  bool showsTheGuestsFrame(const std::string& window) {
    const auto picture = shownPicture(*server_, window, scratch_ / "window.png");
    if (!picture) {
      return false;
    }
    const PixelColor c = picture->colorAtX(0, 0);
    return std::lround(c.red * 255) == 0 && std::lround(c.green * 255) == 0x40 &&
           std::lround(c.blue * 255) == 0;
  }

  // Renders headless with the same seed and store; the last frame.
  std::unique_ptr<PngImage> render(const std::string& seed, int frames, const std::string& size,
                                   const std::string& configHome, const std::string& renderer) {
    Process render({SWIRLMOTE_BINARY, "render", "--seed", seed, "--frames", std::to_string(frames), "--size",
                    size, "--renderer", renderer, "--out", scratch_ / "render"},
                   {"XDG_CONFIG_HOME=" + configHome}, scratch_ / "render.err");
    EXPECT_EQ(render.wait(120s), 0) << render.errors();
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06d.png", frames);
    return PngImage::load(scratch_ / "render" + name);
  }

  static std::unique_ptr<XServer> server_;
  ScratchDir scratch_;
};

std::unique_ptr<XServer> SaverWindow::server_;

// The same seed and settings give the same animation on screen as headless;
// the settings options stand for the same settings in the store.
TEST_F(SaverWindow, ShowsWhatHeadlessRenderingDraws) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string size;
    std::string store;  // for render; the saver reads kStore
    std::string renderer = "classic";
  };
  const Case cases[] = {
      {"window", {"--size", "640x360"}, "640x360", kStore},
      {"preview", {"--preview"}, "320x200", kStore},
      {"settings options",
       {"--size", "400x300", "--cyclones", "2", "--particles", "60", "--shape", "star_5", "--scale", "1.5",
        "--afterimages", "--particle-color", "ff8000", "--background-color", "102030"},
       "400x300",
       "number of cyclones=2\nnumber of particles=60\nparticle shape=7\nparticle scale=1.5\nshow "
       "afterimage=true\n"
       "particle color mode=1\nparticle color red=1\nparticle color green=0.501960814\nparticle color "
       "blue=0\n"
       "particle color alpha=1\nbackground color mode=1\nbackground color red=0.0627451017\n"
       "background color green=0.125490203\nbackground color blue=0.188235298\nbackground color alpha=1\n"},
      {"batched renderer", {"--size", "400x300", "--renderer", "batched"}, "400x300", kStore, "batched"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string storeBefore = readFile(scratch_ / "config/swirlmote/org.swirlmote.Swirlmote.ini");
    std::vector<std::string> args{"--seed", "7", "--frames", "40", "--screenshot", scratch_ / "screen.png"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto run = saver(args);
    ASSERT_EQ(run->wait(120s), 0) << run->errors();
    EXPECT_EQ(readFile(scratch_ / "config/swirlmote/org.swirlmote.Swirlmote.ini"), storeBefore)
        << "the options must not reach the store";

    writeStore(scratch_ / "render-config", c.store);
    const auto headless = render("7", 40, c.size, scratch_ / "render-config", c.renderer);
    const auto screen = PngImage::load(scratch_ / "screen.png");
    ASSERT_TRUE(headless && screen);
    const PictureDifference difference = comparePictures(*headless, *screen);
    ASSERT_TRUE(difference.sameSize) << screen->pixelsWide() << "x" << screen->pixelsHigh();
    std::printf("%s: %ld of %ld channel values differ, by at most %d\n", c.what, difference.channelsDiffering,
                difference.channels, difference.largest);
    // The window draws into a framebuffer object as headless rendering
    // does, so not one value may differ.
    EXPECT_EQ(difference.channelsDiffering, 0) << "by at most " << difference.largest;
    EXPECT_GT(brightPixels(*screen, 0, 0, screen->pixelsWide(), screen->pixelsHigh()), 200) << "no particles";
  }
}

// What reaches the X server is the frame drawn, row for row, whether the
// server shares our memory (a software renderer's frame is put straight
// from it) or not (copied through the back buffer): neither copy turns it
// over or changes a value. A ten-second pause keeps the first frame on
// screen while it is read; odd sizes give rows whose length is no multiple
// of the 4-pixel groups that a copy may move at once.
TEST_F(SaverWindow, TheWindowShowsTheFrameAsDrawn) {
  const auto unshared = XServer::start({"Xvfb", "-screen", "0", "1280x1024x24", "+extension", "GLX",
                                        "-extension", "MIT-SHM", "-nolisten", "tcp"});
  ASSERT_TRUE(unshared);
  for (XServer* server : {server_.get(), unshared.get()}) {
    for (const char* size : {"640x360", "321x199"}) {
      SCOPED_TRACE(std::string(server == unshared.get() ? "without" : "with") + " shared memory, " + size);
      auto run = startSwirlmote({"--seed", "7", "--size", size, "--delay", "10000000"}, server->display(),
                                scratch_ / "config", scratch_ / "saver.err");
      const std::string window = waitForWindow(*server);
      ASSERT_FALSE(window.empty()) << run->errors();
      const auto headless = render("7", 1, size, scratch_ / "config", "classic");
      ASSERT_TRUE(headless);
      PictureDifference difference;
      EXPECT_TRUE(waitFor(
          [&] {
            const auto shown = shownPicture(*server, window, scratch_ / "shown.png");
            difference = shown ? comparePictures(*headless, *shown) : PictureDifference{};
            return difference.sameSize && difference.channelsDiffering == 0;
          },
          30s))
          << (difference.sameSize ? "" : "another size; ") << difference.channelsDiffering << " of "
          << difference.channels << " values differ, by at most " << difference.largest;
      EXPECT_GT(brightPixels(*headless, 0, 0, headless->pixelsWide(), headless->pixelsHigh()), 50);
      run->signal(SIGTERM);
      EXPECT_TRUE(endedBy(*run, SIGTERM, 10s)) << run->errors();
      // The next run's window is not this one.
      EXPECT_TRUE(waitFor([&] { return server->windowNamed("Swirlmote").empty(); }, 10s));
    }
  }
}

// A resize while running restarts the field at the new size: the last frame
// has the new size, and particles fill the part that the old size did not
// have, which only a new viewport and projection give.
// Particles outside the old viewport, the bottom left 320x240 of the
// resized 800x600 picture: the frame is drawn at the new size. The clusters
// wander, so any part of the rest may be the one they are in.
bool drawnAtTheResizedSize(const Image& picture) {
  if (picture.pixelsWide() != 800 || picture.pixelsHigh() != 600) {
    return false;
  }
  return brightPixels(picture, 0, 0, 800, 600) - brightPixels(picture, 0, 360, 320, 600) > 50;
}

TEST_F(SaverWindow, FollowsAResize) {
  auto run = saver({"--size", "320x240", "--seed", "11", "--screenshot", scratch_ / "resized.png"});
  const std::string window = waitForWindow();
  ASSERT_FALSE(window.empty()) << run->errors();
  server_->run("xdotool windowsize " + window + " 800 600");
  EXPECT_TRUE(waitFor(
      [&] {
        const auto picture = shownPicture(*server_, window, scratch_ / "shown.png");
        return picture && drawnAtTheResizedSize(*picture);
      },
      60s))
      << "the window shows no frame drawn at the new size";
  server_->run("xdotool key --window " + window + " Escape");
  ASSERT_EQ(run->wait(20s), 0) << run->errors();
  const auto screen = PngImage::load(scratch_ / "resized.png");
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->pixelsWide(), 800);
  EXPECT_EQ(screen->pixelsHigh(), 600);
  EXPECT_TRUE(drawnAtTheResizedSize(*screen)) << "nothing outside the old size";
}

// A window asked larger than the display opens at the display's size, with
// one line saying so.
TEST_F(SaverWindow, AWindowLargerThanTheDisplayIsMadeDisplaySized) {
  auto run = saver({"--size", "16384x16384", "--frames", "3", "--screenshot", scratch_ / "large.png"});
  ASSERT_EQ(run->wait(120s), 0) << run->errors();
  const auto screen = PngImage::load(scratch_ / "large.png");
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->pixelsWide(), 1280);
  EXPECT_EQ(screen->pixelsHigh(), 1024);
  EXPECT_EQ(run->errors(),
            "swirlmote: a 16384x16384 window is larger than the display; it opens at 1280x1024\n");
}

TEST_F(SaverWindow, EscAndQEndIt) {
  for (const char* key : {"Escape", "q"}) {
    auto run = saver({"--size", "320x240"});
    const std::string window = waitForWindow();
    ASSERT_FALSE(window.empty()) << run->errors();
    server_->run("xdotool key --window " + window + " " + key);
    EXPECT_EQ(run->wait(10s), 0) << key << ": " << run->errors();
  }
}

// Another client destroying the window (xdotool windowclose) leaves nothing
// to draw into: the saver ends quietly instead of drawing into a window of
// no size.
TEST_F(SaverWindow, EndsWhenItsWindowIsDestroyed) {
  auto run = saver({"--size", "320x240"});
  const std::string window = waitForWindow();
  ASSERT_FALSE(window.empty()) << run->errors();
  // Soon after it appears, while the saver is still setting up.
  server_->run("xdotool windowclose " + window);
  EXPECT_EQ(run->wait(10s), 0) << run->errors();
  EXPECT_EQ(run->errors(), "");

  // And while it draws.
  auto drawing = saver({"--size", "320x240"});
  const std::string second = waitForWindow();
  ASSERT_FALSE(second.empty()) << drawing->errors();
  EXPECT_TRUE(waitFor(
      [&] {
        const auto picture = shownPicture(*server_, second, scratch_ / "drawing.png");
        return picture && brightPixels(*picture, 0, 0, picture->pixelsWide(), picture->pixelsHigh()) > 50;
      },
      30s))
      << "no particles in the window";
  server_->run("xdotool windowclose " + second);
  EXPECT_EQ(drawing->wait(10s), 0) << drawing->errors();
  EXPECT_EQ(drawing->errors(), "");
}

TEST_F(SaverWindow, FTogglesFullScreen) {
  auto run = saver({"--size", "320x240"});
  const std::string window = waitForWindow();
  ASSERT_FALSE(window.empty()) << run->errors();
  const std::string windowed = windowGeometry(*server_, window);
  server_->run("xdotool key --window " + window + " f");
  EXPECT_TRUE(waitFor([&] { return windowGeometry(*server_, window) == "1280x1024+0+0"; }, 10s))
      << windowGeometry(*server_, window);
  server_->run("xdotool key --window " + window + " f");
  EXPECT_TRUE(waitFor([&] { return windowGeometry(*server_, window) == windowed; }, 10s))
      << windowGeometry(*server_, window) << " instead of " << windowed;
  run->signal(SIGTERM);
  EXPECT_TRUE(endedBy(*run, SIGTERM, 10s));
}

// Full screen ends on a key, a click, or a pointer movement of more than a
// few pixels, whether the device reports it as a movement or as a new place
// (an XTest move, as tablets and virtual machines' pointers give); it leaves
// the pointer where it was.
TEST_F(SaverWindow, FullScreenEndsOnInputAndLeavesThePointerAlone) {
  const struct {
    const char* input;  // xdotool's command, with the pointer at 100,100
    bool ends;
  } cases[] = {
      {"mousemove 102 101", false}, {"mousemove_relative -- -1 2", false},
      {"mousemove 260 100", true},  {"mousemove 900 100", true},
      {"mousemove 100 900", true},  {"mousemove_relative 0 200", true},
      {"key space", true},          {"click 1", true},
  };
  const auto pointer = [&] { return server_->run("xdotool getmouselocation | cut -d' ' -f1-2"); };
  // A client of the test's own holds the server, which would otherwise reset
  // when its last client leaves, putting the pointer back in the middle and
  // dropping a client that came in meanwhile: the holder is started again
  // when that happened to it.
  std::unique_ptr<Process> holder;
  const auto pointerPlaced = [&] {
    if (!holder || holder->wait(0ms)) {
      holder = std::make_unique<Process>(std::vector<std::string>{"xdotool", "sleep", "600"},
                                         std::vector<std::string>{"DISPLAY=" + server_->display()},
                                         scratch_ / "holder.err");
    }
    server_->run("xdotool mousemove 100 100");
    return pointer() == "x:100 y:100";
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(waitFor(pointerPlaced, 10s)) << pointer();
    auto run = saver({"--fullscreen"});
    const std::string window = waitForWindow();
    ASSERT_FALSE(window.empty()) << run->errors();
    // Particles on the screen: the saver is past its start.
    EXPECT_TRUE(waitFor(
        [&] {
          const auto screen = shownPicture(*server_, "-root", scratch_ / "root.png");
          return screen && brightPixels(*screen, 0, 0, screen->pixelsWide(), screen->pixelsHigh()) > 50;
        },
        30s))
        << c.input;
    EXPECT_EQ(pointer(), "x:100 y:100") << "the pointer moved at start";
    server_->run("xdotool " + std::string(c.input));
    if (c.ends) {
      EXPECT_EQ(run->wait(10s), 0) << c.input << ": " << run->errors();
    } else {
      EXPECT_FALSE(run->wait(2s)) << c.input << " ended it";
      run->signal(SIGTERM);
      EXPECT_TRUE(endedBy(*run, SIGTERM, 10s));
    }
  }
}

// --configure shows its preview and its sheet side by side, neither
// covering the other, both on the screen.
TEST_F(SaverWindow, ConfigureShowsThePreviewBesideTheSheet) {
  struct Rectangle {
    int x = 0, y = 0, width = 0, height = 0;
  };
  const auto rectangleOf = [&](const std::string& window) {
    Rectangle r;
    std::sscanf(windowGeometry(*server_, window).c_str(), "%dx%d+%d+%d", &r.width, &r.height, &r.x, &r.y);
    return r;
  };
  const auto onScreen = [](const Rectangle& r) {
    return r.width > 0 && r.height > 0 && r.x >= 0 && r.y >= 0 && r.x + r.width <= 1280 &&
           r.y + r.height <= 1024;
  };
  const auto apart = [](const Rectangle& a, const Rectangle& b) {
    return a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y;
  };
  auto run = saver({"--configure"});
  std::string sheet;
  ASSERT_TRUE(waitFor(
      [&] {
        return !(sheet = server_->run("xdotool search --onlyvisible --name '^Swirlmote Settings$' | head -1"))
                    .empty();
      },
      30s))
      << run->errors();
  const std::string preview = waitForWindow();
  ASSERT_FALSE(preview.empty()) << run->errors();
  Rectangle previewArea;
  Rectangle sheetArea;
  waitFor(
      [&] {
        previewArea = rectangleOf(preview);
        sheetArea = rectangleOf(sheet);
        return apart(previewArea, sheetArea);
      },
      10s);
  EXPECT_TRUE(apart(previewArea, sheetArea))
      << windowGeometry(*server_, preview) << " and " << windowGeometry(*server_, sheet) << " overlap";
  EXPECT_TRUE(onScreen(previewArea)) << windowGeometry(*server_, preview);
  EXPECT_TRUE(onScreen(sheetArea)) << windowGeometry(*server_, sheet);
  run->signal(SIGTERM);
  EXPECT_TRUE(endedBy(*run, SIGTERM, 10s));
}

// --configure's preview follows a change in the sheet at once, before it is
// stored, and Cancel then leaves the store byte for byte as it was. The
// controls are reached by the sheet's mnemonics: the background pop-up
// moves to its well's colour, the two count sliders to their ends.
TEST_F(SaverWindow, ConfigureThePreviewFollowsTheSheetAndCancelStoresNothing) {
  constexpr const char* kFewParticles =
      "number of cyclones=1\nnumber of particles=50\nparticle scale=1.0\nbackground color mode=0\n"
      "background color red=0.5\nbackground color green=0.25\nbackground color blue=0\n"
      "background color alpha=1\n";
  const auto wellColourInTheCorner = [](const PngImage& shot) {
    const PixelColor c = shot.colorAtX(0, 0);
    return std::abs(channel(c.red) - 128) <= 1 && std::abs(channel(c.green) - 64) <= 1 &&
           channel(c.blue) == 0;
  };
  const auto particles = [](const PngImage& shot) {
    return brightPixels(shot, 0, 0, shot.pixelsWide(), shot.pixelsHigh());
  };
  struct Case {
    const char* what;
    const char* keys;
    // Whether the preview shows the change, given a picture from before it.
    std::function<bool(const PngImage& before, const PngImage& now)> changed;
  };
  const Case cases[] = {
      {"background pop-up", "alt+b Down",
       [&](const PngImage&, const PngImage& now) { return wellColourInTheCorner(now); }},
      {"count sliders", "alt+y End alt+p End",
       [&](const PngImage& before, const PngImage& now) { return particles(now) > 4 * particles(before); }},
  };
  const std::string store = scratch_ / "config/swirlmote/org.swirlmote.Swirlmote.ini";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeStore(scratch_ / "config", kFewParticles);
    const std::string before = readFile(store);
    auto run = saver({"--configure"});
    std::string sheet;
    ASSERT_TRUE(waitFor(
        [&] {
          return !(sheet =
                       server_->run("xdotool search --onlyvisible --name '^Swirlmote Settings$' | head -1"))
                      .empty();
        },
        30s))
        << run->errors();
    const std::string preview = waitForWindow();
    ASSERT_FALSE(preview.empty()) << run->errors();
    std::unique_ptr<PngImage> unchanged;
    ASSERT_TRUE(waitFor(
        [&] {
          unchanged = shownPicture(*server_, preview, scratch_ / "before.png");
          return unchanged && particles(*unchanged) > 0;
        },
        20s));
    EXPECT_FALSE(wellColourInTheCorner(*unchanged)) << "the stored mode shows the cycling hues";

    server_->run("xdotool windowfocus --sync " + sheet + " key --delay 100 " + c.keys);
    EXPECT_TRUE(waitFor(
        [&] {
          const auto now = shownPicture(*server_, preview, scratch_ / "after.png");
          return now && c.changed(*unchanged, *now);
        },
        10s))
        << "the preview did not follow the sheet";
    EXPECT_EQ(readFile(store), before) << "a change in the sheet stores nothing";

    server_->run("xdotool windowfocus --sync " + sheet + " key Escape");
    EXPECT_EQ(run->wait(10s), 0) << "Cancel ends --configure: " << run->errors();
    EXPECT_EQ(readFile(store), before);
  }
}

// Also while it waits out a pause between frames far longer than the
// time it is given to end (-delay of 10 s): every wait looks at the request.
TEST_F(SaverWindow, TerminationSignalsEndItAtOnce) {
  const std::vector<std::string> pauses[] = {{}, {"-delay", "10000000"}};
  for (const auto& pause : pauses) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
      std::vector<std::string> args{"--size", "320x240"};
      args.insert(args.end(), pause.begin(), pause.end());
      auto run = saver(args);
      ASSERT_FALSE(waitForWindow().empty()) << run->errors();
      const auto sent = std::chrono::steady_clock::now();
      run->signal(number);
      EXPECT_TRUE(endedBy(*run, number, 5s)) << pause.size();
      const auto took =
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
      std::printf("%s%s: ended %lld ms after the signal\n", strsignal(number),
                  pause.empty() ? "" : " in a pause", static_cast<long long>(took.count()));
    }
  }
}

// The frame loop's log: whether its last frame was given up.
bool lastFrameGivenUp(const std::string& log) {
  const auto cpu = log.find("\n# cpu");
  return cpu != std::string::npos && log.substr(0, cpu).ends_with(" given-up");
}

// At the heaviest settings a frame takes hundreds of milliseconds on the
// software renderer. A signal during one gives it up: the log shows the
// frame in progress unfinished, and the program ends by the signal. A signal
// that lands while a finished frame is shown ends the program after it, so
// each signal has a few tries, each later in the run, to land inside a frame.
TEST(SaverTermination, ASignalGivesUpTheFrameInProgress) {
  auto server =
      XServer::start({"Xvfb", "-screen", "0", "1920x1080x24", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  ScratchDir scratch;
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(strsignal(number));
    bool givenUp = false;
    std::string log;
    for (int attempt = 0; attempt < 4 && !givenUp; ++attempt) {
      Process run(
          {SWIRLMOTE_BINARY, "--size", "1920x1080", "--cyclones", "10", "--particles", "200", "--afterimages",
           "--scale", "2"},
          {"DISPLAY=" + server->display(), "XDG_CONFIG_HOME=" + scratch / "config",
           "WAYLAND_DISPLAY=", "XSCREENSAVER_WINDOW=", "SWIRLMOTE_FRAME_LOG=" + scratch / "frames.log"},
          scratch / "err");
      ASSERT_TRUE(waitFor([&] { return !server->windowNamed("Swirlmote").empty(); }, 60s)) << run.errors();
      // Some frames in: the window shows before the first of them, and the
      // first one also builds the renderer's code, so each try waits twice
      // as long as the one before.
      std::this_thread::sleep_for(2s * (1 << attempt));
      const auto sent = std::chrono::steady_clock::now();
      run.signal(number);
      ASSERT_TRUE(endedBy(run, number, 60s));
      std::printf("%s: ended %lld ms after the signal\n", strsignal(number),
                  static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now() - sent)
                                             .count()));
      log = readFile(scratch / "frames.log");
      givenUp = lastFrameGivenUp(log);
    }
    EXPECT_TRUE(givenUp) << "the frame in progress was finished every time; the last log:\n" << log;
  }
}

// The server going away at any moment of start-up, before SDL or the GL
// driver are up or while they come up, never ends the saver with a signal.
// Once our handlers are in place it ends with status 0 and its one line; a
// server gone before the first connection ends it with status 1 and the
// message that there is no display. GTK, which would end it with status 1
// and no word of ours, is not up: nothing asked for the sheet.
TEST(SaverXConnection, LosingTheServerDuringStartUpIsNeverACrash) {
  std::srand(static_cast<unsigned>(getpid()));
  for (int attempt = 0; attempt < 16; ++attempt) {
    auto server =
        XServer::start({"Xvfb", "-screen", "0", "640x480x24", "+extension", "GLX", "-nolisten", "tcp"});
    REQUIRE_OR_SKIP(server, "Xvfb");
    ScratchDir scratch;
    auto run = startSwirlmote({"--size", "320x240"}, server->display(), scratch / "config", scratch / "err");
    const int delay = std::rand() % 160;
    SCOPED_TRACE("server ended " + std::to_string(delay) + " ms after the start");
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    server.reset();
    const auto status = run->wait(10s);
    ASSERT_TRUE(status.has_value()) << "still running";
    ASSERT_NE(*status, -1) << "ended by a signal: " << run->errors();
    if (*status == 0) {
      EXPECT_NE(run->errors().find("lost the connection to the X server"), std::string::npos)
          << run->errors();
    } else {
      EXPECT_EQ(*status, 1) << run->errors();
      EXPECT_NE(run->errors().find("no display to show the saver on"), std::string::npos) << run->errors();
    }
  }
}

// Hosts may end a saver the moment they start it. A signal at any moment of
// start-up ends it by that signal, as a later one does, and never breaks the
// connection being made into a false report that no display answers.
TEST(SaverTermination, ASignalDuringStartUpEndsItByTheSignal) {
  auto server =
      XServer::start({"Xvfb", "-screen", "0", "640x480x24", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  std::srand(static_cast<unsigned>(getpid()));
  const std::vector<std::vector<std::string>> modes{{"--size", "320x240"}, {"--root"}};
  for (const auto& mode : modes) {
    for (int attempt = 0; attempt < 8; ++attempt) {
      ScratchDir scratch;
      auto run = startSwirlmote(mode, server->display(), scratch / "config", scratch / "err");
      const int delay = std::rand() % 50;
      SCOPED_TRACE(mode.front() + ": SIGTERM " + std::to_string(delay) + " ms after the start");
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      run->signal(SIGTERM);
      EXPECT_TRUE(endedBy(*run, SIGTERM, 10s));
      EXPECT_EQ(run->errors(), "");
    }
  }
}

}  // namespace

// Another program's window, here a second saver's: the guest follows its
// size and ends quietly when it goes away.
TEST_F(SaverWindow, FollowsAForeignWindowsSize) {
  auto owner = saver({"--size", "320x240"});
  const std::string window = waitForWindow();
  ASSERT_FALSE(window.empty()) << owner->errors();
  auto guest = startSwirlmote({"--window-id", window, "--background-color", kGuestBackground, "--frames",
                               "240", "--screenshot", scratch_ / "guest.png"},
                              server_->display(), scratch_ / "config", scratch_ / "guest.err");
  ASSERT_TRUE(waitFor([&] { return showsTheGuestsFrame(window); }, 30s)) << guest->errors();
  server_->run("xdotool windowsize " + window + " 640 480");
  ASSERT_EQ(guest->wait(120s), 0) << guest->errors();
  const auto screen = PngImage::load(scratch_ / "guest.png");
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->pixelsWide(), 640);
  EXPECT_EQ(screen->pixelsHigh(), 480);
  EXPECT_GT(brightPixels(*screen, 0, 0, 640, 480), 50) << "no particles";
}

TEST_F(SaverWindow, EndsQuietlyWhenItsForeignWindowIsDestroyed) {
  auto owner = saver({"--size", "320x240"});
  const std::string window = waitForWindow();
  ASSERT_FALSE(window.empty()) << owner->errors();
  auto guest = startSwirlmote({"--window-id", window, "--background-color", kGuestBackground},
                              server_->display(), scratch_ / "config", scratch_ / "guest.err");
  ASSERT_TRUE(waitFor([&] { return showsTheGuestsFrame(window); }, 30s)) << guest->errors();
  server_->run("xdotool windowclose " + window);
  EXPECT_EQ(guest->wait(10s), 0) << guest->errors();
  EXPECT_EQ(guest->errors(), "");
}

TEST_F(SaverWindow, RefusesAWindowThatDoesNotExist) {
  auto run = startSwirlmote({"--window-id", "0x7ffffff"}, server_->display(), scratch_ / "config",
                            scratch_ / "missing.err");
  EXPECT_EQ(run->wait(30s), 2);
  EXPECT_NE(run->errors().find("there is no window 0x7ffffff"), std::string::npos) << run->errors();
}

// The X server going away ends the saver with a message, not a crash.
TEST(SaverXConnection, LosingTheServerEndsItWithAMessage) {
  auto server =
      XServer::start({"Xvfb", "-screen", "0", "640x480x24", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  ScratchDir scratch;
  auto run = startSwirlmote({"--size", "320x240"}, server->display(), scratch / "config", scratch / "err");
  // At once, while the saver is still setting up, which is when other
  // libraries' handlers are most likely to be in place.
  ASSERT_TRUE(waitFor([&] { return !server->windowNamed("Swirlmote").empty(); }, 20s)) << run->errors();
  server.reset();
  EXPECT_EQ(run->wait(10s), 0) << run->errors();
  EXPECT_NE(run->errors().find("lost the connection to the X server"), std::string::npos) << run->errors();
}
