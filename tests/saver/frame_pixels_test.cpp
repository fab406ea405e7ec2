#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/egl_context.h"
#include "render/classic_sprites.h"
#include "render/frame.h"
#include "render/gl_setup.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// An image of one colour; each shape gets its own so the drawn texture can
// be told from the pixels.
class SolidImage : public Image {
 public:
  explicit SolidImage(PixelColor color) : color_(color) {}
  int pixelsWide() const override { return 8; }
  int pixelsHigh() const override { return 8; }
  PixelColor colorAtX(int, int) const override { return color_; }

 private:
  PixelColor color_;
};

struct Pixel {
  int r, g, b;
};

class FramePixels : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = EglContextFactory().createContext(PixelFormat{0, true, true, 24, 8, 16, 8, true});
    ASSERT_NE(context_, nullptr) << "no headless GL renderer";
    context_->setSurfaceSize(kWidth, kHeight);
    context_->makeCurrentContext();
    for (int i = 0; i < 10; ++i) {
      // Shape i is white in its alpha and tinted by i in red.
      images_[i] = std::make_unique<SolidImage>(PixelColor{i / 10.0, 1.0, 1.0, 1.0});
    }
    initGLView(kWidth, kHeight, textures_, [this](const char* name) { return imageFor(name); });
  }
  void TearDown() override {
    if (context_) {
      context_->makeCurrentContext();
      glDeleteTextures(10, textures_);
    }
  }

  const Image* imageFor(const char* name) {
    const std::string n(name);
    static const std::array<const char*, 10> names{"circle.png", "face.png",  "flower.png", "heart.png",
                                                   "note.png",   "spark.png", "square.png", "star_5.png",
                                                   "star_6.png", "gn.png"};
    for (int i = 0; i < 10; ++i) {
      if (n == names[i]) return missing_ == i ? nullptr : images_[i].get();
    }
    return nullptr;
  }

  // A field of `count` particles, all at the point the camera looks at,
  // with timers that do not fire during a test.
  void seed(int count, int8_t showAfterimages = 0, float grey = 0.25f) {
    field_.model_init([&](Settings& s) {
      s.isRotationOn = 1;
      s.no_cyclones = 1;
      s.no_particles = count;
      s.color_mode_particle = 1;
      s.color_particle = ColorRGBA{grey, grey, grey, 1.0f};
      s.color_mode_background = 1;
      s.color_background = ColorRGBA{0.0f, 0.0f, 0.0f, 1.0f};
      s.particle_shape = 0;
      s.particle_scale = 2.0f;
      s.show_ai = showAfterimages;
    });
    field_.statusCount[0] = {1000, 1000, 1000, 1, 0.0f, 0.5f};
    for (int p = 0; p < count; ++p) {
      field_.loc[p] = {0.0f, 0.0f, -500.0f};
      field_.eye[p] = {0.0f, 0.0f, -500.0f};
      field_.ve[p] = {1.0f, 0.0f, 0.0f};
    }
  }

  std::vector<uint8_t> draw() {
    drawFrame(field_, textures_, classic_);
    std::vector<uint8_t> rgba;
    int w = 0;
    int h = 0;
    EXPECT_TRUE(context_->readPixels(rgba, w, h));
    EXPECT_EQ(w, kWidth);
    EXPECT_EQ(h, kHeight);
    return rgba;
  }

  static Pixel at(const std::vector<uint8_t>& rgba, int x, int y) {
    const uint8_t* p = rgba.data() + 4 * (y * kWidth + x);
    return {p[0], p[1], p[2]};
  }
  static int brightest(const std::vector<uint8_t>& rgba) {
    int best = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
      best = std::max(best, rgba[i] + rgba[i + 1] + rgba[i + 2]);
    return best;
  }
  // The sprite's middle, where its green is strongest.
  static Pixel brightestPixel(const std::vector<uint8_t>& rgba) {
    Pixel best{0, 0, 0};
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
      if (rgba[i + 1] > best.g) best = {rgba[i], rgba[i + 1], rgba[i + 2]};
    }
    return best;
  }
  static int litPixels(const std::vector<uint8_t>& rgba) {
    int lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) lit += rgba[i] + rgba[i + 1] + rgba[i + 2] > 30;
    return lit;
  }

  std::unique_ptr<OpenGLContext> context_;
  std::array<std::unique_ptr<Image>, 10> images_;
  int missing_ = -1;
  SpriteTextures textures_ = {};
  ClassicSprites classic_;
  Field field_;
};

TEST_F(FramePixels, CyclingBackgroundFollowsTheTick) {
  struct Case {
    uint32_t tick;
    Pixel expected;
  };
  // 0.05 and 0.1 of full scale, as GL rounds them to bytes.
  const Case cases[] = {{0, {13, 0, 0}}, {900, {0, 26, 26}}, {2700, {0, 0, 0}}};
  for (const Case& c : cases) {
    seed(1);
    field_.color_mode_background = 0;
    field_.tick = c.tick;
    const auto rgba = draw();
    for (const auto& [x, y] : {std::pair{0, 0}, {kWidth - 1, kHeight - 1}}) {
      const Pixel p = at(rgba, x, y);
      EXPECT_EQ(p.r, c.expected.r) << "tick " << c.tick;
      EXPECT_EQ(p.g, c.expected.g) << "tick " << c.tick;
      EXPECT_EQ(p.b, c.expected.b) << "tick " << c.tick;
    }
  }
}

// The last tick wraps to 0: the frame after it starts the background and
// the camera over, and so draws what the first frame after seeding draws.
TEST_F(FramePixels, TheTickWrapsToTheStart) {
  seed(1);
  field_.color_mode_background = 0;
  const auto first = draw();
  seed(1);
  field_.color_mode_background = 0;
  field_.tick = 0xFFFFFFFFu;
  field_.model_handle_events();
  draw();
  EXPECT_EQ(field_.tick, 0u);
  field_.loc[0] = {0.0f, 0.0f, -500.0f};
  field_.ve[0] = {1.0f, 0.0f, 0.0f};
  EXPECT_EQ(draw(), first);
}

TEST(Camera, StartsWithoutRollLookingFromItsHome) {
  const CameraPose start = cameraAt(0);
  EXPECT_EQ(start.roll, 0.0);
  EXPECT_EQ(start.eyeX, 100.0f);
  EXPECT_EQ(start.eyeY, 0.0f);
  EXPECT_EQ(start.eyeZ, 200.0f);
  EXPECT_NEAR(cameraAt(1).roll, 3.7 * 3.141592653589793 / 12.0, 1e-12);
}

TEST_F(FramePixels, FixedBackgroundIgnoresItsAlpha) {
  seed(1);
  field_.color_mode_background = 7;
  field_.color_background = ColorRGBA{0.2f, 0.4f, 0.6f, 0.0f};
  const Pixel p = at(draw(), 0, 0);
  EXPECT_EQ(p.r, 51);
  EXPECT_EQ(p.g, 102);
  EXPECT_EQ(p.b, 153);
}

TEST_F(FramePixels, OverlappingSpritesAddUp) {
  seed(1);
  const int one = brightest(draw());
  seed(2);
  const int two = brightest(draw());
  EXPECT_GT(one, 30);
  EXPECT_GT(two, one + 30);
}

TEST_F(FramePixels, DrawsTheChosenShapesTexture) {
  for (int shape : {0, 3, 9}) {
    seed(1, 0, 1.0f);
    field_.particle_shape = shape;
    const Pixel best = brightestPixel(draw());
    EXPECT_GT(best.g, 100) << "shape " << shape;
    EXPECT_NEAR(static_cast<double>(best.r) / best.g, shape / 10.0, 0.05) << "shape " << shape;
  }
}

// An empty texture is incomplete, so GL draws that shape's sprites in their
// plain colour; the other shapes keep their textures.
TEST_F(FramePixels, MissingImageLeavesOnlyThatShapeUntextured) {
  missing_ = 4;
  context_->makeCurrentContext();
  initGLView(kWidth, kHeight, textures_, [this](const char* name) { return imageFor(name); });
  for (const auto& [shape, tint] : {std::pair{4, 1.0}, {5, 0.5}}) {
    seed(1, 0, 1.0f);
    field_.particle_shape = shape;
    const Pixel p = brightestPixel(draw());
    EXPECT_GT(p.g, 100) << "shape " << shape;
    EXPECT_NEAR(static_cast<double>(p.r) / p.g, tint, 0.05) << "shape " << shape;
  }
}

TEST_F(FramePixels, AfterimagesAreDrawnOnlyWhenOn) {
  int litWithout = 0;
  for (int8_t on : {0, 1}) {
    seed(1, on);
    if (on) {
      // Spread the four points out so each makes its own spot.
      for (int m = 0; m < 4; ++m) {
        field_.ai_loc[m] = {-150.0f + 100.0f * m, 150.0f, -500.0f};
        field_.ai_color[m] = {1.0f, 1.0f, 1.0f, 1.0f};
        field_.ai_cnt[m] = 1;
      }
    }
    const int lit = litPixels(draw());
    if (on) {
      EXPECT_GT(lit, 2 * litWithout) << "afterimages on";
    } else {
      litWithout = lit;
      EXPECT_GT(lit, 0);
    }
  }
}

}  // namespace
