// Full screen over two monitors of different sizes: one view on each, of
// that monitor's size. The monitors are one wide X screen split with
// `xrandr --setmonitor`. Xvfb accepts such a split without keeping it, so
// the test uses Xorg's dummy driver when Xvfb's list stays as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

// The two monitors, as --setmonitor takes them and xwininfo shows windows.
constexpr const char* kLeft = "1920/508x1080/286+0+0";
constexpr const char* kRight = "1280/338x1024/270+1920+0";
const std::set<std::string> kMonitorGeometries{"1920x1080+0+0", "1280x1024+1920+0"};

// The active monitors' "WxH+X+Y", from xrandr's list ("0: L 1920/508x1080/286+0+0 screen").
std::set<std::string> activeMonitors(const XServer& server) {
  std::set<std::string> geometries;
  std::istringstream lines(server.run("xrandr --listactivemonitors 2>/dev/null"));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string index, name, geometry;
    if (words >> index >> name >> geometry && index.back() == ':') {
      std::string plain;
      // Drops the millimetre sizes: 1920/508x1080/286+0+0 -> 1920x1080+0+0.
      for (std::size_t i = 0; i < geometry.size(); ++i) {
        if (geometry[i] == '/') {
          while (i + 1 < geometry.size() && std::isdigit(static_cast<unsigned char>(geometry[i + 1]))) ++i;
        } else {
          plain += geometry[i];
        }
      }
      geometries.insert(plain);
    }
  }
  return geometries;
}

// Splits the server's screen into the two monitors; false when the server
// does not keep the split.
bool splitScreen(const XServer& server) {
  server.run("xrandr --fb 3200x1080 2>/dev/null");
  const std::string output = server.run("xrandr --query | awk '/ connected/{print $1; exit}'");
  server.run("xrandr --setmonitor left " + std::string(kLeft) + " " + output + " >/dev/null 2>&1");
  server.run("xrandr --setmonitor right " + std::string(kRight) + " none >/dev/null 2>&1");
  return activeMonitors(server) == kMonitorGeometries;
}

// Xorg with the dummy driver and a screen wide enough for both monitors.
std::unique_ptr<XServer> dummyXorg(const ScratchDir& scratch) {
  if (!std::filesystem::exists("/usr/lib/xorg/modules/drivers/dummy_drv.so")) {
    return nullptr;
  }
  std::ofstream(scratch / "xorg.conf")
      << "Section \"Device\"\n Identifier \"d\"\n Driver \"dummy\"\n VideoRam 65536\n"
         "EndSection\nSection \"Monitor\"\n Identifier \"m\"\n HorizSync 5-1000\n"
         " VertRefresh 5-200\nEndSection\nSection \"Screen\"\n Identifier \"s\"\n"
         " Device \"d\"\n Monitor \"m\"\n DefaultDepth 24\n SubSection \"Display\"\n"
         "  Depth 24\n  Virtual 3200 1080\n EndSubSection\nEndSection\n";
  return XServer::start({"Xorg", "-config", scratch / "xorg.conf", "-logfile", scratch / "xorg.log",
                         "-noreset", "-nolisten", "tcp", "-novtswitch", "-sharevts"});
}

// Our windows' "WxH+X+Y", from the server's window tree.
std::set<std::string> saverWindows(const XServer& server) {
  std::set<std::string> geometries;
  std::istringstream lines(server.run("xwininfo -root -tree"));
  std::string line;
  while (std::getline(lines, line)) {
    const auto named = line.find("\"Swirlmote\": (");
    if (named == std::string::npos) continue;
    std::istringstream rest(line.substr(line.find(')', named) + 1));
    std::string geometry;
    rest >> geometry;
    geometries.insert(geometry);
  }
  return geometries;
}

TEST(SaverFullScreen, GivesEveryMonitorAViewOfItsOwnSize) {
  ScratchDir scratch;
  auto server = XServer::start({"Xvfb", "-screen", "0", "3200x1080x24", "+extension", "GLX", "+extension",
                                "RANDR", "-nolisten", "tcp"});
  if (!server || !splitScreen(*server)) {
    server = dummyXorg(scratch);
    REQUIRE_OR_SKIP(server && splitScreen(*server),
                    "an X server that keeps a screen split with xrandr --setmonitor (Xvfb, or Xorg's dummy "
                    "driver, xserver-xorg-video-dummy)");
  }
  writeStore(scratch / "config", "number of cyclones=3\nnumber of particles=100\n");
  auto run = startSwirlmote({"--fullscreen", "--seed", "5", "--screenshot", scratch / "first.png"},
                            server->display(), scratch / "config", scratch / "saver.err");

  EXPECT_TRUE(waitFor([&] { return saverWindows(*server) == kMonitorGeometries; }, 20s))
      << testing::PrintToString(saverWindows(*server)) << run->errors();
  // The whole screen as the server shows it, once both monitors show
  // particles.
  std::unique_ptr<PngImage> root;
  const auto bothDrawn = [&] {
    root = shownPicture(*server, "-root", scratch / "root.png");
    return root && brightPixels(*root, 0, 0, 1920, 1080) > 50 &&
           brightPixels(*root, 1920, 0, 3200, 1024) > 50;
  };
  waitFor(bothDrawn, 30s);
  run->signal(SIGTERM);
  ASSERT_TRUE(endedBy(*run, SIGTERM, 10s));

  ASSERT_TRUE(root);
  EXPECT_GT(brightPixels(*root, 0, 0, 1920, 1080), 50) << "no particles on the left monitor";
  EXPECT_GT(brightPixels(*root, 1920, 0, 3200, 1024), 50) << "no particles on the right monitor";
  // The view of the first monitor draws at that monitor's size.
  const auto first = PngImage::load(scratch / "first.png");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->pixelsWide(), 1920);
  EXPECT_EQ(first->pixelsHigh(), 1080);
}

}  // namespace
