#include "render/sprite_fences.h"

#include <gtest/gtest.h>

#include "saver/egl_context.h"

namespace {

// The headless renderer is the one whose queue grows without the bound, so
// it must have the sync objects the bound needs; batches of fences, waited
// on and deleted, leave GL without an error, whether the frame ends on a
// batch's edge or inside one.
TEST(SpriteFences, BoundTheHeadlessQueueWithoutGlErrors) {
  EglContextFactory egl;
  PixelFormat format;
  format.colorSize = 24;
  const auto context = egl.createContext(format);
  ASSERT_TRUE(context);
  context->setSurfaceSize(16, 16);
  context->makeCurrentContext();

  for (const unsigned sprites :
       {3 * SpriteFences::kSpritesPerBatch, 3 * SpriteFences::kSpritesPerBatch + 7}) {
    {
      SpriteFences fences;
      EXPECT_TRUE(fences.bounding());
      for (unsigned sprite = 0; sprite < sprites; ++sprite) fences.spriteDrawn();
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << sprites << " sprites";
  }
}

}  // namespace
