#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "host/drawing_cost.h"
#include "host/x_session.h"
#include "platform/png_image.h"
#include "support/config_home.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    // Headless means headless: no display may be needed.
    unsetenv("DISPLAY");
    writeStore(home_.dir(), "number of cyclones=3\nnumber of particles=60\nshow afterimage=true\n");
  }
  ProgramResult render(const std::vector<std::string>& args) { return runSwirlmote(args); }
  std::string out(const std::string& name) const { return home_.dir() + "/" + name; }

  TempConfigHome home_;
};

TEST_F(RenderCommand, WritesEveryKthFrameAndTheLast) {
  const auto result = render({"render", "--frames", "7", "--every", "3", "--size", "64x48", "--out", out("a"),
                              "--screenshot", out("last.png")});
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(out("a")))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"frame-000003.png", "frame-000006.png", "frame-000007.png"}));

  testing::internal::CaptureStderr();
  const auto image = PngImage::load(out("a/frame-000007.png"));
  testing::internal::GetCapturedStderr();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixelsWide(), 64);
  EXPECT_EQ(image->pixelsHigh(), 48);
  EXPECT_EQ(readFile(out("last.png")), readFile(out("a/frame-000007.png"))) << "--screenshot: the last frame";
}

// Paced, frames are due a frame interval (1/60 s and the delay) apart and
// none begins before it is due; unpaced, each begins as soon as the last
// has ended, whatever the delay. A
// termination signal still ends a paced wait at once, by the signal.
TEST_F(RenderCommand, PacedFramesComeAFrameIntervalApart) {
  constexpr long long kInterval = 16666666 + 100000000;  // nanoseconds, with --delay 100000
  for (const bool paced : {true, false}) {
    SCOPED_TRACE(paced ? "paced" : "unpaced");
    std::vector<std::string> args{SWIRLMOTE_BINARY, "render",  "--frames", "4",     "--size",
                                  "64x48",          "--delay", "100000",   "--out", out("frames")};
    if (paced) args.push_back("--paced");
    Process run(args, {"SWIRLMOTE_FRAME_LOG=" + out("frames.log")}, out("render.err"));
    ASSERT_EQ(run.finish(), 0) << run.errors();
    const auto frames = loggedFrames(readFile(out("frames.log")));
    ASSERT_EQ(frames.size(), 4u);
    for (std::size_t i = 1; i < frames.size(); ++i) {
      if (paced) {
        EXPECT_GE(frames[i].due - frames[i - 1].due, kInterval) << "frame " << i;
        EXPECT_GE(frames[i].began, frames[i].due) << "frame " << i;
      } else {
        EXPECT_LT(frames[i].began - frames[i - 1].ended.value_or(0), kInterval) << "frame " << i;
      }
    }
  }

  Process waiting({SWIRLMOTE_BINARY, "render", "--paced", "--delay", "10000000", "--frames", "3", "--size",
                   "64x48", "--out", out("waiting")},
                  {}, out("waiting.err"));
  // Into the wait after the first frame.
  ASSERT_TRUE(waitFor([&] { return fs::exists(out("waiting")); }, 10s));
  std::this_thread::sleep_for(500ms);
  waiting.signal(SIGTERM);
  EXPECT_TRUE(endedBy(waiting, SIGTERM, 3s)) << waiting.errors();
}

TEST_F(RenderCommand, TheSameSeedAndStoreGiveIdenticalFiles) {
  for (const char* dir : {"a", "b"}) {
    const auto result =
        render({"render", "--frames", "30", "--size", "96x64", "--seed", "1234", "--out", out(dir)});
    ASSERT_EQ(result.status, 0) << result.err;
  }
  const std::string first = readFile(out("a/frame-000030.png"));
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(first, readFile(out("b/frame-000030.png")));

  ASSERT_EQ(
      render({"render", "--frames", "30", "--size", "96x64", "--seed", "1235", "--out", out("c")}).status, 0);
  EXPECT_NE(first, readFile(out("c/frame-000030.png"))) << "another seed, another field";
}

// The pixels of two frames that differ, as the smallest rectangle holding
// them; empty when the frames are the same.
struct Differences {
  int left = 0;
  int top = 0;
  int right = 0;  // past the last column that differs
  int bottom = 0;
};

Differences differences(const Image& a, const Image& b) {
  Differences found{a.pixelsWide(), a.pixelsHigh(), 0, 0};
  for (int y = 0; y < a.pixelsHigh(); ++y) {
    for (int x = 0; x < a.pixelsWide(); ++x) {
      const PixelColor p = a.colorAtX(x, y);
      const PixelColor q = b.colorAtX(x, y);
      if (p.red != q.red || p.green != q.green || p.blue != q.blue || p.alpha != q.alpha) {
        found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                 std::max(found.bottom, y + 1)};
      }
    }
  }
  return found;
}

// With the frame rate overlay off, not one pixel changes; with it on, each
// frame differs from the plain one only in a small box in its bottom-left
// corner: what the overlay changed of the GL state does not reach the next
// frame.
TEST_F(RenderCommand, TheFrameRateOverlayChangesOnlyItsCorner) {
  for (const char* renderer : {"classic", "batched"}) {
    SCOPED_TRACE(renderer);
    const std::string name(renderer);
    const auto run = [&](const std::string& dir, const std::vector<std::string>& more) {
      std::vector<std::string> args{"render", "--frames", "3",      "--every", "1",
                                    "--size", "320x200",  "--seed", "7",       "--renderer",
                                    renderer, "--out",    out(dir)};
      args.insert(args.end(), more.begin(), more.end());
      const auto result = render(args);
      EXPECT_EQ(result.status, 0) << result.err;
    };
    run(name + "-plain", {});
    run(name + "-off", {"-no-fps"});
    run(name + "-on", {"-fps", "-delay", "10000"});
    for (const char* frame : {"/frame-000001.png", "/frame-000002.png", "/frame-000003.png"}) {
      SCOPED_TRACE(frame);
      EXPECT_EQ(readFile(out(name + "-plain") + frame), readFile(out(name + "-off") + frame));
      testing::internal::CaptureStderr();
      const auto plain = PngImage::load(out(name + "-plain") + frame);
      const auto shown = PngImage::load(out(name + "-on") + frame);
      testing::internal::GetCapturedStderr();
      ASSERT_TRUE(plain && shown);
      const Differences box = differences(*plain, *shown);
      EXPECT_EQ(box.left, 0);
      EXPECT_EQ(box.bottom, 200);
      EXPECT_GT(box.right, 20);
      EXPECT_LT(box.right, 160);
      EXPECT_GT(box.top, 150);
      EXPECT_LT(box.top, 190);
    }
  }
}

TEST_F(RenderCommand, RefusesCommandLinesThatMakeNoSense) {
  const std::vector<std::vector<std::string>> cases{
      {"render", "--frames", "-1", "--size", "64x48", "--out", out("x")},
      {"render", "--frames", "5", "--size", "0x0", "--out", out("x")},
      {"render", "--frames", "5", "--size", "64", "--out", out("x")},
      {"render", "--frames", "5", "--size", "64x48"},
      {"render", "--frames", "5", "--size", "64x48", "--out", out("x"), "--every", "0"},
      {"render", "--frames", "5", "--size", "64x48", "--out", out("x"), "--bogus"},
      {"render", "--frames"},
      {"render", "--frames", "5", "--size", "64x48", "--out", out("x"), "-delay", "x"},
  };
  for (const auto& args : cases) {
    const auto result = render(args);
    EXPECT_EQ(result.status, 2) << args.back();
    EXPECT_NE(result.err.find("swirlmote render:"), std::string::npos) << result.err;
  }
  EXPECT_FALSE(fs::exists(out("x"))) << "nothing is written for a refused command";
}

TEST_F(RenderCommand, AnOutputPathThatIsAFileFails) {
  writeFile(out("file"), "x");
  const auto result = render({"render", "--frames", "1", "--size", "8x8", "--out", out("file")});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(out("file")), std::string::npos) << result.err;
}

// Runs render in this process's place with at most 3 GB of address space,
// as `ulimit -v 3000000` gives it.
[[noreturn]] void renderUnderAddressLimit(const std::string& size, const std::string& out) {
  const rlimit limit{3000000ul * 1024, RLIM_INFINITY};
  setrlimit(RLIMIT_AS, &limit);
  execl(SWIRLMOTE_BINARY, SWIRLMOTE_BINARY, "render", "--frames", "1", "--size", size.c_str(), "--out",
        out.c_str(), static_cast<char*>(nullptr));
  std::_Exit(127);
}

// A size whose buffers do not fit the memory left is refused with a
// message, before anything is drawn; one that fits is drawn.
TEST_F(RenderCommand, ASizeBeyondTheMemoryLeftIsRefused) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "the address sanitizer does not run under an address-space limit";
  }
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(renderUnderAddressLimit("16384x16384", out("large")), ::testing::ExitedWithCode(1),
              "swirlmote render: cannot draw that size: 16384x16384 needs .* GiB for its buffers");
  EXPECT_FALSE(fs::exists(out("large/frame-000001.png")));
  EXPECT_EXIT(renderUnderAddressLimit("4096x4096", out("fits")), ::testing::ExitedWithCode(0),
              "wrote 1 frame");
}

}  // namespace
