#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <memory>

#include "platform/egl_context.h"
#include "platform/png_image.h"
#include "saver/swirlmote.h"
#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"
#include "support/config_home.h"

namespace {

// A context factory that can never meet the pixel format.
class NoContexts : public OpenGLContextFactory {
 public:
  std::unique_ptr<OpenGLContext> createContext(const PixelFormat&) override { return nullptr; }
};

class SwirlmoteLifecycle : public ::testing::Test {
 protected:
  ScreenSaverDefaults& store() {
    return ScreenSaverDefaults::defaultsForModuleWithName(std::string(kBundleIdentifier));
  }
  std::unique_ptr<Swirlmote> create(OpenGLContextFactory& contexts) {
    return Swirlmote::initWithFrame(Rect{{}, {64, 48}}, false, {contexts, png_});
  }

  // An empty store of the test's own.
  TempConfigHome home_;
  EglContextFactory egl_;
  PngDecoder png_;
};

TEST_F(SwirlmoteLifecycle, CreationHoldsProvisionalSettingsAndNoField) {
  auto view = create(egl_);
  ASSERT_NE(view->glView(), nullptr);
  const Field& f = view->field();
  EXPECT_EQ(f.no_cyclones, 3);
  EXPECT_EQ(f.no_particles, 300);
  EXPECT_EQ(f.color_mode_particle, 1);
  ASSERT_TRUE(f.color_particle.has_value());
  EXPECT_EQ(f.color_particle->r, 1.0f);
  EXPECT_EQ(f.color_particle->g, 0.0f);
  EXPECT_EQ(f.color_particle->b, 1.0f);
  EXPECT_FALSE(f.loc);
  EXPECT_FALSE(f.statusCount);
  EXPECT_EQ(view->screenSize().width, 0.0);
  EXPECT_FALSE(store().hasValueForKey("number of cyclones")) << "creation reads no setting";
}

TEST_F(SwirlmoteLifecycle, FixedAnswers) {
  auto view = create(egl_);
  EXPECT_TRUE(view->hasConfigureSheet());
  EXPECT_FALSE(Swirlmote::performGammaFade());
  EXPECT_EQ(view->animationTimeInterval(), 1.0 / 60.0);
  EXPECT_EQ(view->configureSheet(), view->configureSheet());
}

TEST_F(SwirlmoteLifecycle, SizingSeedsWithTheStoreAndStartReseeds) {
  store().setInteger(4, "number of cyclones");
  store().setInteger(120, "number of particles");
  auto view = create(egl_);
  view->setFrameSize({64, 48});
  EXPECT_EQ(view->field().no_particles, 480);
  EXPECT_FALSE(view->isAnimating());

  view->startAnimation();
  EXPECT_TRUE(view->isAnimating());
  for (int i = 0; i < 3; ++i) view->animateOneFrame();
  EXPECT_EQ(view->field().tick, 3u);

  store().setInteger(2, "number of cyclones");
  view->setFrameSize({80, 40});
  EXPECT_TRUE(view->isAnimating()) << "a running view stays running";
  EXPECT_EQ(view->field().tick, 0u);
  EXPECT_EQ(view->field().no_particles, 240) << "the resize reads the store again";
}

TEST_F(SwirlmoteLifecycle, StopFreesTheFieldAndColoursAndCanRestart) {
  auto view = create(egl_);
  view->stopAnimation();
  EXPECT_FALSE(view->field().color_particle.has_value());
  EXPECT_FALSE(view->field().color_background.has_value());
  view->stopAnimation();

  view->setFrameSize({64, 48});
  view->startAnimation();
  view->animateOneFrame();
  view->stopAnimation();
  EXPECT_FALSE(view->isAnimating());
  EXPECT_FALSE(view->field().loc);
  EXPECT_FALSE(view->field().statusCount);
  EXPECT_EQ(view->field().no_cyclones, 1) << "the settings scalars stay";

  view->animateOneFrame();
  EXPECT_FALSE(view->field().loc) << "a frame outside the animation does nothing";
  view->startAnimation();
  EXPECT_TRUE(view->field().color_particle.has_value());
  view->animateOneFrame();
  EXPECT_EQ(view->field().tick, 1u);
}

TEST_F(SwirlmoteLifecycle, FramesNeedASizeFirst) {
  auto view = create(egl_);
  view->startAnimation();
  view->animateOneFrame();
  EXPECT_EQ(view->field().tick, 0u) << "no graphics state before the first sizing";
  view->setFrameSize({64, 48});
  view->animateOneFrame();
  EXPECT_EQ(view->field().tick, 1u);
}

TEST_F(SwirlmoteLifecycle, ManyResizesWhileRunning) {
  auto view = create(egl_);
  view->setFrameSize({64, 48});
  view->startAnimation();
  for (int i = 0; i < 100; ++i) {
    view->setFrameSize({static_cast<double>(16 + i), static_cast<double>(8 + i / 2)});
    view->animateOneFrame();
  }
  EXPECT_EQ(view->field().tick, 1u);
  EXPECT_EQ(view->screenSize().width, 115.0);
  view->stopAnimation();
}

TEST_F(SwirlmoteLifecycle, WithoutAGlViewTheViewStillRuns) {
  NoContexts none;
  auto view = create(none);
  EXPECT_EQ(view->glView(), nullptr);
  EXPECT_TRUE(view->subviews().empty());
  view->setFrameSize({64, 48});
  view->startAnimation();
  EXPECT_TRUE(view->field().loc) << "seeding does not need a context";
  view->animateOneFrame();
  view->stopAnimation();
}

TEST_F(SwirlmoteLifecycle, DestroyingTakesTheGlViewAndAnUnstoppedField) {
  auto view = create(egl_);
  ASSERT_EQ(view->subviews().size(), 1u);
  view->setFrameSize({64, 48});
  view->startAnimation();
  view.reset();
}

TEST_F(SwirlmoteLifecycle, SeveralViewsInOneProcess) {
  store().setInteger(2, "number of cyclones");
  auto first = create(egl_);
  auto second = Swirlmote::initWithFrame(Rect{{}, {32, 32}}, true, {egl_, png_});
  EXPECT_TRUE(second->isPreview());
  first->setFrameSize({64, 48});
  second->setFrameSize({32, 32});
  first->startAnimation();
  second->startAnimation();
  for (int i = 0; i < 5; ++i) {
    first->animateOneFrame();
    second->animateOneFrame();
  }
  EXPECT_EQ(first->field().tick, 5u);
  EXPECT_EQ(second->field().tick, 5u);
  first->stopAnimation();
  first.reset();
  second->animateOneFrame();
  EXPECT_EQ(second->field().tick, 6u) << "one view's end leaves the other drawing";
}

TEST_F(SwirlmoteLifecycle, ViewsCreatedInOneSecondSeedTheGeneratorAlike) {
  long afterFirst = 0;
  long afterSecond = 0;
  // Retry if the clock ticked over between the two creations.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const time_t before = time(nullptr);
    auto a = create(egl_);
    afterFirst = random();
    auto b = create(egl_);
    afterSecond = random();
    if (time(nullptr) == before) break;
  }
  EXPECT_EQ(afterFirst, afterSecond);
}

}  // namespace
