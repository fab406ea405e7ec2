#include "host/frame_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "host/test_surface.h"
#include "support/config_home.h"

namespace {

constexpr Size kSize{48, 32};

LoopOptions unpaced(int64_t frames) {
  LoopOptions options;
  options.paced = false;
  options.frameLimit = frames;
  return options;
}

// Adds a test surface to the loop; the surface, which the loop owns.
TestSurface& addSurface(FrameLoop& loop, Size size = kSize) {
  auto surface = std::make_unique<TestSurface>(size);
  TestSurface& added = *surface;
  BringUpFailure failure;
  EXPECT_TRUE(loop.add(std::move(surface), failure)) << failure.message;
  return added;
}

class FrameLoopTest : public ::testing::Test {
 protected:
  TempConfigHome home_;
};

// A surface that cannot be seen is given no frame, and its field does not
// move on, while the others' do.
TEST_F(FrameLoopTest, ASurfaceThatCannotBeSeenIsNotDrawn) {
  FrameLoop loop({}, unpaced(5), nullptr);
  TestSurface& seen = addSurface(loop);
  TestSurface& hidden = addSurface(loop);
  hidden.seen_ = false;
  EXPECT_EQ(loop.run(), 5);
  EXPECT_EQ(seen.presented_, 5);
  EXPECT_EQ(hidden.presented_, 0);
  EXPECT_EQ(loop.screens()[0]->view().field().tick, 5u);
  EXPECT_EQ(loop.screens()[1]->view().field().tick, 0u);
}

// An event source that runs a test's step each time the loop looks at it
// between frames, and counts the waits for events, which return at once,
// with monitors that a test turns off.
class FakeDisplay : public EventSource {
 public:
  bool handlePending() override {
    if (onLook_) onLook_();
    return false;
  }
  void waitForEvents(std::chrono::milliseconds) override { ++waits_; }
  bool monitorsOn() override { return monitorsOn_; }

  bool monitorsOn_ = true;
  std::function<void()> onLook_;
  int waits_ = 0;
};

// While the monitors are off, or no surface can be seen, there is no frame:
// none is drawn or counted towards the limit, and every field waits, so
// that the frames come later but the same.
TEST_F(FrameLoopTest, NothingToBeSeenMeansNoFrame) {
  const struct {
    const char* what;
    bool monitorsOff;
    bool surfaceHidden;
  } cases[] = {{"monitors off", true, false}, {"surface hidden", false, true}, {"both", true, true}};
  for (const auto& c : cases) {
    FakeDisplay display;
    FrameLoop loop({}, unpaced(5), &display);
    TestSurface& surface = addSurface(loop);
    const auto hide = [&](bool hidden) {
      display.monitorsOn_ = !(hidden && c.monitorsOff);
      surface.seen_ = !(hidden && c.surfaceHidden);
    };
    // Hidden for the 3rd to the 6th look.
    int looks = 0;
    display.onLook_ = [&] {
      ++looks;
      hide(looks >= 3 && looks <= 6);
    };
    int drawnWhileHidden = 0;
    surface.afterFrame_ = [&](int) { drawnWhileHidden += looks >= 3 && looks <= 6; };
    EXPECT_EQ(loop.run(), 5) << c.what;
    EXPECT_EQ(surface.presented_, 5) << c.what;
    EXPECT_EQ(drawnWhileHidden, 0) << c.what;
    EXPECT_EQ(looks, 9) << c.what;
    EXPECT_EQ(loop.screens()[0]->view().field().tick, 5u) << c.what;
  }
}

// A paced loop waiting for a screen to come into sight draws as soon as
// the events it handles show one, without waiting out the rest of its
// wait slice.
TEST_F(FrameLoopTest, AScreenComingIntoSightIsDrawnAtOnce) {
  FakeDisplay display;
  LoopOptions options;
  options.frameLimit = 1;
  FrameLoop loop({}, options, &display);
  TestSurface& surface = addSurface(loop);
  surface.seen_ = false;
  int looks = 0;
  int waitsBeforeSeen = 0;
  display.onLook_ = [&] {
    if (++looks == 3) {
      surface.seen_ = true;
      waitsBeforeSeen = display.waits_;
    }
  };
  EXPECT_EQ(loop.run(), 1);
  EXPECT_EQ(surface.presented_, 1);
  EXPECT_EQ(display.waits_, waitsBeforeSeen) << "it waited on after the screen came into sight";
}

// A surface whose window goes is dropped, or ends the run where the run
// says so.
TEST_F(FrameLoopTest, ASurfaceThatClosesIsDroppedOrEndsTheRun) {
  const struct {
    bool endsTheRun;
    int64_t frames;
    std::size_t screensLeft;
  } cases[] = {{false, 6, 1}, {true, 2, 2}};
  for (const auto& c : cases) {
    LoopOptions options = unpaced(6);
    options.endWhenASurfaceCloses = c.endsTheRun;
    FrameLoop loop({}, options, nullptr);
    TestSurface& goes = addSurface(loop);
    goes.afterFrame_ = [&goes](int shown) { goes.closed_ = shown == 2; };
    TestSurface& stays = addSurface(loop);
    EXPECT_EQ(loop.run(), c.frames) << c.endsTheRun;
    EXPECT_EQ(stays.presented_, c.frames) << c.endsTheRun;
    EXPECT_EQ(loop.screens().size(), c.screensLeft) << c.endsTheRun;
  }
}

// A surface added before the window system sized it is drawn from the first
// frame after it has a size; one never sized is never drawn.
TEST_F(FrameLoopTest, AnUnsizedSurfaceJoinsOnceSized) {
  FrameLoop loop({}, unpaced(5), nullptr);
  TestSurface& first = addSurface(loop);
  auto pending = std::make_unique<TestSurface>(Size{});
  TestSurface& late = *pending;
  loop.addWhenSized(std::move(pending));
  auto never = std::make_unique<TestSurface>(Size{});
  TestSurface& unsized = *never;
  loop.addWhenSized(std::move(never));
  first.afterFrame_ = [&late](int shown) {
    if (shown == 2) late.size_ = kSize;
  };
  EXPECT_EQ(loop.run(), 5);
  EXPECT_EQ(late.presented_, 3);
  EXPECT_EQ(unsized.presented_, 0);
  ASSERT_EQ(loop.screens().size(), 2u);
  EXPECT_EQ(loop.screens()[1]->view().field().tick, 3u);
}

TEST_F(FrameLoopTest, ASurfaceThatCannotShowAFrameEndsTheRunAsFailed) {
  FrameLoop loop({}, unpaced(5), nullptr);
  TestSurface& surface = addSurface(loop);
  surface.failPresent_ = true;
  EXPECT_EQ(loop.run(), 0);
  EXPECT_TRUE(loop.presentFailed());
  EXPECT_EQ(surface.presented_, 1);
}

// A new drawable size starts the view over at that size; the first
// surface keeps its last frame when asked to.
TEST_F(FrameLoopTest, TheViewFollowsItsSurfacesSize) {
  LoopOptions options = unpaced(3);
  options.keepLastFrame = true;
  FrameLoop loop({}, options, nullptr);
  TestSurface& surface = addSurface(loop);
  surface.size_ = Size{64, 40};
  EXPECT_EQ(loop.run(), 3);
  EXPECT_EQ(loop.screens()[0]->view().screenSize().width, 64);
  EXPECT_EQ(loop.screens()[0]->view().screenSize().height, 40);
  EXPECT_TRUE(surface.kept_);
  std::vector<uint8_t> rgba;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(surface.shownFrame(loop.screens()[0]->context(), rgba, width, height));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 40);
}

// A size the GL implementation cannot draw is refused before anything is
// added.
TEST_F(FrameLoopTest, ASizeBeyondTheImplementationIsRefused) {
  FrameLoop loop({}, unpaced(1), nullptr);
  std::vector<std::unique_ptr<FrameSurface>> surfaces;
  surfaces.push_back(std::make_unique<TestSurface>(kSize));
  surfaces.push_back(std::make_unique<TestSurface>(Size{1 << 20, 8}));
  BringUpFailure failure;
  EXPECT_FALSE(loop.add(std::move(surfaces), failure));
  EXPECT_NE(failure.message.find("cannot draw that size: 1048576x8"), std::string::npos) << failure.message;
  EXPECT_TRUE(loop.screens().empty());
}

}  // namespace
