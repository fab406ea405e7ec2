#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "render/batched_sprites.h"
#include "render/sprite_batches.h"
#include "saver/swirlmote.h"
#include "support/config_home.h"

namespace {

constexpr Size kSize{320, 240};
constexpr unsigned kSeed = 777;
// Simulation steps before the frames, so that the effects and afterimages
// are under way, then the frames drawn.
constexpr int kSteps = 120;
constexpr int kFrames = 3;

struct Look {
  const char* name;
  int32_t cyclones;
  int32_t perCyclone;
  bool afterimages;
  float scale;
  int32_t shape;
};

// Colours are the cyclones' hues over the cycling background. The face and
// the note are lopsided, so a turned or mirrored texture shows.
const Look kLooks[] = {
    {"Default", 1, 50, false, 0.5f, 0},        {"Afterimages", 3, 100, true, 0.5f, 0},
    {"Scale2", 1, 50, false, 2.0f, 0},         {"FaceScale2Afterimages", 2, 60, true, 2.0f, 1},
    {"NoteAfterimages", 3, 80, true, 1.0f, 4}, {"Star5", 4, 100, false, 1.5f, 7},
    {"Largest", 10, 200, true, 2.0f, 9},
};

// Where two frames of the same size part.
struct Difference {
  int largest = 0;     // the largest difference of one channel, 0 to 255
  double share = 0.0;  // the share of pixels with any channel different
};

Difference compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  Difference d;
  std::size_t differing = 0;
  for (std::size_t p = 0; p + 3 < a.size(); p += 4) {
    int pixel = 0;
    for (std::size_t c = 0; c < 4; ++c) pixel = std::max(pixel, std::abs(a[p + c] - b[p + c]));
    d.largest = std::max(d.largest, pixel);
    differing += pixel != 0;
  }
  d.share = static_cast<double>(differing) / static_cast<double>(a.size() / 4);
  return d;
}

// The share of pixels well above the dark background: how much a frame
// shows.
double litShare(const std::vector<uint8_t>& rgba) {
  std::size_t lit = 0;
  for (std::size_t p = 0; p + 3 < rgba.size(); p += 4) {
    lit += std::max({rgba[p], rgba[p + 1], rgba[p + 2]}) > 40;
  }
  return static_cast<double>(lit) / static_cast<double>(rgba.size() / 4);
}

// Headless saver views over an empty store of their own.
class BatchedFrames : public ::testing::Test {
 protected:
  // A view seeded with kSeed in the look, run on for kSteps.
  std::unique_ptr<Swirlmote> startedView(const Look& look) {
    std::unique_ptr<Swirlmote> view = Swirlmote::initWithFrame(Rect{{}, kSize}, false, headless_.backends());
    if (!view->glView()) {
      ADD_FAILURE() << "no headless GL renderer";
      return nullptr;
    }
    SettingsOverrides overrides;
    overrides.cyclones = look.cyclones;
    overrides.particlesPerCyclone = look.perCyclone;
    overrides.afterimages = look.afterimages;
    overrides.scale = look.scale;
    overrides.shape = look.shape;
    overrides.particleColor = std::optional<ColorRGBA>();
    overrides.backgroundColor = std::optional<ColorRGBA>();
    view->setOverrides(overrides);
    srandom(kSeed);
    view->setFrameSize(kSize);
    view->startAnimation();
    Field& field = view->field();
    for (int step = 0; step < kSteps; ++step) {
      field.step();
      ++field.tick;
    }
    return view;
  }

  // The last of kFrames frames, the ones before it drawn by `before`, the
  // last by `last`.
  std::vector<uint8_t> lastFrame(const Look& look, Renderer before, Renderer last) {
    const auto view = startedView(look);
    if (!view) return {};
    view->setRenderer(before);
    for (int frame = 1; frame < kFrames; ++frame) view->animateOneFrame();
    view->setRenderer(last);
    view->animateOneFrame();
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    EXPECT_TRUE(view->glView()->openGLContext()->readPixels(rgba, width, height));
    EXPECT_EQ(width, kSize.width);
    EXPECT_EQ(height, kSize.height);
    return rgba;
  }

  // An empty store of the test's own.
  TempConfigHome home_;
  HeadlessPlatform headless_;
};

class BatchedFrameLooks : public BatchedFrames, public ::testing::WithParamInterface<Look> {};

// The corners are placed on the CPU instead of by GL's matrices, so they
// may round differently by a float step, which moves a texel sample by a
// hair: single pixels off by one or two, under one percent of the frame
// where most of it is covered. A corner out of order, a turned or mirrored
// texture, a missing afterimage or fade, or a wrong colour changes whole
// sprites, by far more in both.
TEST_P(BatchedFrameLooks, DrawsWhatTheClassicPathDraws) {
  const Look& look = GetParam();
  const auto classic = lastFrame(look, Renderer::Classic, Renderer::Classic);
  const auto batched = lastFrame(look, Renderer::Batched, Renderer::Batched);
  ASSERT_EQ(classic.size(), batched.size());
  ASSERT_FALSE(classic.empty());
  const double lit = litShare(classic);
  EXPECT_GT(lit, 0.001) << "the frame must show enough sprites to compare";

  const Difference d = compare(classic, batched);
  std::printf("%-22s lit %6.2f%%  largest channel difference %3d  differing pixels %7.4f%%\n", look.name,
              100.0 * lit, d.largest, 100.0 * d.share);
  EXPECT_LE(d.largest, 4);
  EXPECT_LE(d.share, 0.015);
}

INSTANTIATE_TEST_SUITE_P(Looks, BatchedFrameLooks, ::testing::ValuesIn(kLooks),
                         [](const ::testing::TestParamInfo<Look>& info) {
                           return std::string(info.param.name);
                         });

// Every corner where glTranslatef, glScalef and glRotatef, in that order,
// put the list's corner, with the list's texture coordinates and the colour
// the classic path gives the sprite.
TEST_F(BatchedFrames, CornersFollowTheClassicMatrices) {
  const auto view = startedView({"Corners", 2, 50, true, 1.5f, 0});
  ASSERT_NE(view, nullptr);
  const Field& field = view->field();
  view->glView()->openGLContext()->makeCurrentContext();
  BatchedSprites batched;
  batched.drawSprites(field);

  const auto vertices = batched.vertices();
  const auto indices = batched.indices();
  ASSERT_EQ(vertices.size(), 4u * 5 * 100);
  ASSERT_EQ(indices.size(), 6u * 5 * 100);
  const float q = 0.099999994f;
  const float listCorners[6][4] = {{-q, -q, 0, 0}, {q, -q, 1, 0}, {q, q, 1, 1},
                                   {-q, -q, 0, 0}, {q, q, 1, 1},  {-q, q, 0, 1}};
  const float scale = 200.0f * field.particle_scale;
  glMatrixMode(GL_MODELVIEW);
  for (std::size_t sprite = 0; sprite < vertices.size() / 4; ++sprite) {
    const std::size_t k = sprite / 5;
    const std::size_t m = sprite % 5;
    const Vector3F at = m == 0 ? field.loc[k] : field.ai_loc[4 * k + m - 1];
    ColorRGBA color = field.color[k];
    if (m != 0) {
      color = field.ai_color[4 * k + m - 1];
      color.a = afterimageFade(field.ai_cnt[4 * k + m - 1]) * color.a;
    }
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(at.x, at.y, at.z);
    glScalef(scale, scale, scale);
    glRotatef(field.yrp[k], 0.0f, 0.0f, 1.0f);
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    glPopMatrix();

    for (std::size_t corner = 0; corner < 6; ++corner) {
      SCOPED_TRACE("sprite " + std::to_string(sprite) + " corner " + std::to_string(corner));
      const GLuint index = indices[6 * sprite + corner];
      ASSERT_LT(index, vertices.size());
      ASSERT_EQ(index / 4, sprite) << "a sprite's triangles use its own corners";
      const SpriteVertex& v = vertices[index];
      const float* c = listCorners[corner];
      EXPECT_NEAR(v.x, matrix[0] * c[0] + matrix[4] * c[1] + matrix[12], 1e-3);
      EXPECT_NEAR(v.y, matrix[1] * c[0] + matrix[5] * c[1] + matrix[13], 1e-3);
      EXPECT_NEAR(v.z, matrix[2] * c[0] + matrix[6] * c[1] + matrix[14], 1e-3);
      EXPECT_EQ(v.s, c[2]);
      EXPECT_EQ(v.t, c[3]);
      EXPECT_EQ(v.r, color.r);
      EXPECT_EQ(v.g, color.g);
      EXPECT_EQ(v.b, color.b);
      EXPECT_EQ(v.a, color.a);
    }
  }
}

// A batched frame leaves the client arrays as it found them, so frames
// drawn the classic way after it come out as if it had never been.
TEST_F(BatchedFrames, LeavesTheClientArraysAsTheyWere) {
  const Look look{"Leak", 3, 100, true, 1.0f, 1};
  {
    const auto view = startedView(look);
    ASSERT_NE(view, nullptr);
    view->glView()->openGLContext()->makeCurrentContext();
    const float unused[3] = {};
    glVertexPointer(3, GL_FLOAT, 0, unused);
    BatchedSprites batched;
    batched.drawSprites(view->field());
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    GLvoid* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, unused);
    glGetPointerv(GL_COLOR_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, nullptr);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
  }
  const auto classic = lastFrame(look, Renderer::Classic, Renderer::Classic);
  const auto afterBatched = lastFrame(look, Renderer::Batched, Renderer::Classic);
  ASSERT_FALSE(classic.empty());
  EXPECT_GT(litShare(classic), 0.001);
  EXPECT_TRUE(classic == afterBatched)
      << "largest channel difference " << compare(classic, afterBatched).largest;
}

// How often the stop check was asked, and at which asking it says stop (0:
// never).
int stopAsked = 0;
int stopAtAsking = 0;

bool countedStop() {
  return ++stopAsked == stopAtAsking;
}

// Both drawers look at a stop request while the sprites are handed over, a
// batch at a time, and give the frame up at the first batch edge after it;
// a frame not stopped is asked about after every batch.
TEST_F(BatchedFrames, BothDrawersAskTheStopCheckEveryBatch) {
  const Look look{"Stopped", 3, 100, true, 1.0f, 0};
  const int batches = 3 * 100 * 5 / static_cast<int>(SpriteBatches::kSpritesPerBatch);
  for (const Renderer renderer : {Renderer::Classic, Renderer::Batched}) {
    SCOPED_TRACE(renderer == Renderer::Classic ? "classic" : "batched");
    const auto view = startedView(look);
    ASSERT_NE(view, nullptr);
    view->glView()->openGLContext()->makeCurrentContext();
    const auto drawer = makeSpriteDrawer(renderer);
    for (const int stopAt : {0, 2}) {
      stopAsked = 0;
      stopAtAsking = stopAt;
      EXPECT_EQ(drawer->drawSprites(view->field(), countedStop), stopAt == 0);
      EXPECT_EQ(stopAsked, stopAt == 0 ? batches : stopAt);
    }
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

}  // namespace
