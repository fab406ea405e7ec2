#include <gtest/gtest.h>

#include "seeded_field.h"

namespace {

struct FadeCase {
  int32_t count;
  float fade;
};

class Fade : public ::testing::TestWithParam<FadeCase> {};

TEST_P(Fade, FallsByOneTwentiethPerFrame) {
  EXPECT_EQ(afterimageFade(GetParam().count), GetParam().fade);
}

INSTANTIATE_TEST_SUITE_P(Counts, Fade,
                         ::testing::Values(FadeCase{0, 0.95f}, FadeCase{1, 0.9f}, FadeCase{6, 0.65f},
                                           FadeCase{11, 0.4f}, FadeCase{16, 0.15f}, FadeCase{19, 0.0f},
                                           FadeCase{20, 0.95f}, FadeCase{39, 0.0f}));

class Afterimages : public ::testing::Test {
 protected:
  void SetUp() override {
    seedField(field_, {2, 100, 0, true}, 120);
    seeded_.assign(field_.loc.get(), field_.loc.get() + 100);
    seededColor_.assign(field_.color.get(), field_.color.get() + 100);
  }
  void frame() {
    field_.step();
    ++field_.tick;
  }
  static bool same(const Vector3F& a, const Vector3F& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

  Field field_;
  std::vector<Vector3F> seeded_;
  std::vector<ColorRGBA> seededColor_;
};

TEST_F(Afterimages, FirstFrameAgesTheSeededPointsWithoutMovingThem) {
  frame();
  const int32_t counts[4] = {1, 6, 11, 16};
  const float fades[4] = {0.9f, 0.65f, 0.4f, 0.15f};
  for (int p = 0; p < 100; ++p) {
    for (int m = 0; m < 4; ++m) {
      const int i = 4 * p + m;
      EXPECT_EQ(field_.ai_cnt[i], counts[m]);
      EXPECT_EQ(afterimageFade(field_.ai_cnt[i]), fades[m]);
      EXPECT_TRUE(same(field_.ai_loc[i], seeded_[p])) << p;
      EXPECT_EQ(field_.ai_color[i].a, seededColor_[p].a) << p;
      EXPECT_EQ(field_.ai_color[i].r, seededColor_[p].r) << p;
    }
  }
}

// Point m is first dropped at the particle 20 - 5m frames after seeding, then
// every 20 frames, with the particle's colour at half its opacity.
TEST_F(Afterimages, EachPointIsDroppedEveryTwentiethFrameStaggeredByFive) {
  std::vector<Vector3F> dropped(400);
  std::vector<ColorRGBA> colour(400);
  for (int p = 0; p < 100; ++p) {
    for (int m = 0; m < 4; ++m) {
      dropped[4 * p + m] = seeded_[p];
      colour[4 * p + m] = seededColor_[p];
    }
  }
  for (int f = 1; f <= 65; ++f) {
    frame();
    for (int p = 0; p < 100; ++p) {
      for (int m = 0; m < 4; ++m) {
        const int i = 4 * p + m;
        const bool refresh = (5 * m + f) % 20 == 0;
        ASSERT_EQ(field_.ai_cnt[i] % 20, (5 * m + f) % 20) << "frame " << f;
        if (refresh) {
          dropped[i] = field_.loc[p];
          colour[i] = field_.color[p];
          colour[i].a = field_.color[p].a * 0.5f;
          EXPECT_EQ(afterimageFade(field_.ai_cnt[i]), 0.95f);
        }
        ASSERT_TRUE(same(field_.ai_loc[i], dropped[i]))
            << "frame " << f << " particle " << p << " point " << m;
        const ColorRGBA& c = field_.ai_color[i];
        ASSERT_TRUE(c.r == colour[i].r && c.g == colour[i].g && c.b == colour[i].b && c.a == colour[i].a)
            << "frame " << f << " particle " << p << " point " << m;
      }
    }
  }
}

}  // namespace
