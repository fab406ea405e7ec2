#include "render/sprite_batches.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/egl_context.h"

namespace {

// A headless context current for the batches' GL calls.
class SpriteBatchesOnHeadlessGl : public ::testing::Test {
 protected:
  void SetUp() override {
    PixelFormat format;
    format.colorSize = 24;
    context_ = egl_.createContext(format);
    ASSERT_TRUE(context_);
    context_->setSurfaceSize(16, 16);
    context_->makeCurrentContext();
  }

 private:
  EglContextFactory egl_;
  std::unique_ptr<OpenGLContext> context_;
};

// The headless renderer is the one whose queue grows without the bound, so
// it must have the sync objects the bound needs; batches of fences, waited
// on and deleted, leave GL without an error, whether the frame ends on a
// batch's edge or inside one.
TEST_F(SpriteBatchesOnHeadlessGl, BoundTheHeadlessQueueWithoutGlErrors) {
  for (const unsigned sprites :
       {3 * SpriteBatches::kSpritesPerBatch, 3 * SpriteBatches::kSpritesPerBatch + 7}) {
    {
      SpriteBatches batches(nullptr);
      EXPECT_TRUE(batches.bounding());
      for (unsigned sprite = 0; sprite < sprites; ++sprite) EXPECT_TRUE(batches.spriteDrawn());
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << sprites << " sprites";
  }
}

bool stopAlways() {
  return true;
}

// A stop request is looked at once a batch has been handed over, not after
// every sprite and not only at the frame's end.
TEST_F(SpriteBatchesOnHeadlessGl, GiveTheFrameUpAtTheFirstBatchEdgeWhenAsked) {
  SpriteBatches batches(stopAlways);
  for (unsigned sprite = 1; sprite < SpriteBatches::kSpritesPerBatch; ++sprite) {
    ASSERT_TRUE(batches.spriteDrawn()) << "sprite " << sprite;
  }
  EXPECT_FALSE(batches.spriteDrawn());
}

}  // namespace
