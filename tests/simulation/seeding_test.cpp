#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "seeded_field.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct DrawCountCase {
  FieldShape shape;
  std::size_t draws;
};

class SeedingDrawCount : public ::testing::TestWithParam<DrawCountCase> {};

// The generator continues exactly where the seeding's last draw left it.
TEST_P(SeedingDrawCount, ConsumesOneDrawPerSeededValue) {
  const DrawCountCase& c = GetParam();
  const std::vector<long> reference = drawsAfter(4242, c.draws + 3);
  Field field;
  seedField(field, c.shape, 4242);
  ASSERT_TRUE(field.loc);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(random(), reference[c.draws + i]) << "draw " << c.draws + i;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, SeedingDrawCount,
                         ::testing::Values(DrawCountCase{{3, 300, 1, false}, 2425},
                                           DrawCountCase{{3, 300, 0, false}, 3325},
                                           DrawCountCase{{1, 50, 0, true}, 1 + 8 + 550},
                                           DrawCountCase{{2, 100, -1, true}, 1 + 16 + 800},
                                           DrawCountCase{{10, 2000, 0, true}, 1 + 80 + 22000}));

// The whole seeded field, worked out from the recorded draws in the order
// the field consumes them.
struct ExpectedField {
  std::vector<CycloneStatus> cyclones;
  std::vector<Vector3F> eye, loc, ve;
  std::vector<ColorRGBA> color;
  std::vector<float> vel;
  float sine, cosine;
};

ExpectedField expectedSeeding(const FieldShape& shape, DrawSequence draws) {
  const int k = shape.cyclones;
  const int n = shape.particles;
  ExpectedField e;
  const auto theta = static_cast<float>(draws.unit() * 10.0 + 5.0);
  for (int c = 0; c < k; ++c) {
    CycloneStatus s;
    s.moveTimer = static_cast<int32_t>(draws.next() % 2300);
    s.effectTimer = static_cast<int32_t>(draws.next() % 2000);
    s.depthTimer = static_cast<int32_t>(draws.next() % 2700);
    s.pulseRate = static_cast<int32_t>(draws.next() % 5 + 1);
    s.hue = static_cast<float>(draws.next() % 360);
    s.saturation = static_cast<float>(static_cast<double>(draws.next() % 50) / 100.0 + 0.5);
    e.cyclones.push_back(s);
  }
  e.eye.resize(n);
  for (int c = 0; c < k; ++c) {
    const auto x = static_cast<float>(draws.unit() * 1000.0 - 500.0);
    const auto y = static_cast<float>(draws.unit() * 1000.0 - 500.0);
    for (int p = c; p < n; p += k) {
      e.eye[p] = {x, y, static_cast<float>(draws.unit() * -270.0 - 30.0)};
    }
  }
  const double radians = static_cast<double>(theta) * kPi / 180.0;
  e.sine = static_cast<float>(std::sin(radians));
  e.cosine = static_cast<float>(std::cos(radians));
  for (int p = 0; p < n; ++p) {
    Vector3F l;
    l.x = static_cast<float>(draws.unit() * 1000.0 - 500.0);
    l.y = static_cast<float>(draws.unit() * 1000.0 - 500.0);
    l.z = static_cast<float>(draws.unit() * -430.0 - 20.0);
    e.loc.push_back(l);
    ColorRGBA col{shape.chosen.r, shape.chosen.g, shape.chosen.b, 0.0f};
    if (shape.colorMode == 0) {
      col.r = static_cast<float>(draws.unit() * 0.5 + 0.5);
      col.g = static_cast<float>(draws.unit() * 0.5 + 0.5);
      col.b = static_cast<float>(draws.unit() * 0.5 + 0.5);
    }
    col.a = static_cast<float>(draws.unit() * 0.5 + 0.5);
    e.color.push_back(col);
    const auto hx = static_cast<float>(draws.unit() * 2.0 - 1.0);
    const auto hy = static_cast<float>(draws.unit() * 2.0 - 1.0);
    e.vel.push_back(static_cast<float>(draws.unit() * 4.0 + 4.0));
    const float length = std::sqrt((hx * hx + hy * hy) + 0.0f * 0.0f);
    e.ve.push_back({hx / length, hy / length, 0.0f / length});
  }
  return e;
}

bool same(const Vector3F& a, const Vector3F& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool same(const ColorRGBA& a, const ColorRGBA& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

class SeedingValues : public ::testing::TestWithParam<FieldShape> {};

TEST_P(SeedingValues, EveryValueFollowsFromItsDraw) {
  const FieldShape& shape = GetParam();
  const ExpectedField e = expectedSeeding(shape, DrawSequence(drawsAfter(777, 1 + 8 * 10 + 11 * 2000)));
  Field field;
  seedField(field, shape, 777);
  const auto n = static_cast<std::size_t>(shape.particles);
  ASSERT_EQ(field.loc.size(), n);
  ASSERT_EQ(field.statusCount.size(), static_cast<std::size_t>(shape.cyclones));

  for (int c = 0; c < shape.cyclones; ++c) {
    const CycloneStatus& s = field.statusCount[c];
    const CycloneStatus& x = e.cyclones[c];
    EXPECT_EQ(s.moveTimer, x.moveTimer) << c;
    EXPECT_EQ(s.effectTimer, x.effectTimer) << c;
    EXPECT_EQ(s.depthTimer, x.depthTimer) << c;
    EXPECT_EQ(s.pulseRate, x.pulseRate) << c;
    EXPECT_EQ(s.hue, x.hue) << c;
    EXPECT_EQ(s.saturation, x.saturation) << c;
  }
  for (std::size_t p = 0; p < n; ++p) {
    EXPECT_TRUE(same(field.eye[p], e.eye[p])) << p;
    EXPECT_TRUE(same(field.loc[p], e.loc[p])) << p;
    EXPECT_TRUE(same(field.prevLoc[p], e.loc[p])) << p;
    EXPECT_TRUE(same(field.color[p], e.color[p])) << p;
    EXPECT_TRUE(same(field.ve[p], e.ve[p])) << p;
    EXPECT_EQ(field.vel[p], e.vel[p]) << p;
    EXPECT_EQ(field.sine[p], e.sine) << p;
    EXPECT_EQ(field.cosine[p], e.cosine) << p;
  }
  EXPECT_EQ(field.tick, 0u);
  EXPECT_EQ(field.dir, 1.0f);
  EXPECT_EQ(field.rad, 0.8f);

  ASSERT_EQ(static_cast<bool>(field.ai_loc), shape.afterimages);
  ASSERT_EQ(static_cast<bool>(field.ai_cnt), shape.afterimages);
  ASSERT_EQ(static_cast<bool>(field.ai_color), shape.afterimages);
  if (shape.afterimages) {
    ASSERT_EQ(field.ai_loc.size(), 4 * n);
    for (std::size_t p = 0; p < n; ++p) {
      for (std::size_t m = 0; m < 4; ++m) {
        EXPECT_TRUE(same(field.ai_loc[4 * p + m], e.loc[p])) << p << "/" << m;
        EXPECT_EQ(field.ai_cnt[4 * p + m], static_cast<int32_t>(5 * m)) << p << "/" << m;
        EXPECT_TRUE(same(field.ai_color[4 * p + m], e.color[p])) << p << "/" << m;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, SeedingValues,
                         ::testing::Values(FieldShape{2, 100, 0, true}, FieldShape{3, 300, 1, false},
                                           FieldShape{1, 50, 0, false}, FieldShape{10, 2000, 3, true}));

TEST(SeedingOrder, LeadAngleIsDrawnBeforeTheSettingsAreRead) {
  const std::vector<long> reference = drawsAfter(99, 2);
  long seenByLoader = -1;
  Field field;
  srandom(99);
  field.model_init([&](Settings& settings) {
    seenByLoader = random();
    loaderFor({1, 50, 0, false})(settings);
  });
  EXPECT_EQ(seenByLoader, reference[1]);
}

// Ranges and shared values over a large field, whatever the seed.
TEST(SeedingRanges, ValuesLieWithinTheirSeededRanges) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    Field field;
    seedField(field, {10, 2000, 0, false}, seed);
    for (int c = 0; c < 10; ++c) {
      const CycloneStatus& s = field.statusCount[c];
      EXPECT_TRUE(s.moveTimer >= 0 && s.moveTimer < 2300);
      EXPECT_TRUE(s.effectTimer >= 0 && s.effectTimer < 2000);
      EXPECT_TRUE(s.depthTimer >= 0 && s.depthTimer < 2700);
      EXPECT_TRUE(s.pulseRate >= 1 && s.pulseRate <= 5);
      EXPECT_TRUE(s.hue >= 0.0f && s.hue < 360.0f && s.hue == std::floor(s.hue));
      EXPECT_TRUE(s.saturation >= 0.5f && s.saturation <= 0.99f);
    }
    const double lead = std::atan2(field.sine[0], field.cosine[0]) * 180.0 / kPi;
    EXPECT_TRUE(lead >= 5.0 - 1e-4 && lead <= 15.0 + 1e-4) << lead;
    for (int p = 0; p < 2000; ++p) {
      const Vector3F& e = field.eye[p];
      EXPECT_EQ(e.x, field.eye[p % 10].x);
      EXPECT_EQ(e.y, field.eye[p % 10].y);
      EXPECT_TRUE(e.x >= -500 && e.x <= 500 && e.y >= -500 && e.y <= 500 && e.z >= -300 && e.z <= -30) << p;
      const Vector3F& l = field.loc[p];
      EXPECT_TRUE(l.x >= -500 && l.x <= 500 && l.y >= -500 && l.y <= 500 && l.z >= -450 && l.z <= -20) << p;
      const ColorRGBA& col = field.color[p];
      EXPECT_TRUE(col.r >= 0.5f && col.r <= 1 && col.g >= 0.5f && col.g <= 1 && col.b >= 0.5f && col.b <= 1);
      EXPECT_TRUE(col.a >= 0.5f && col.a <= 1);
      EXPECT_NEAR(v_len(&field.ve[p]), 1.0f, 1e-6f);
      EXPECT_EQ(field.ve[p].z, 0.0f);
      EXPECT_TRUE(field.vel[p] >= 4.0f && field.vel[p] <= 8.0f);
      EXPECT_EQ(field.sine[p], field.sine[0]);
      EXPECT_EQ(field.cosine[p], field.cosine[0]);
    }
  }
}

TEST(SeedingChosenColour, NonZeroModeTakesTheChosenColourButDrawsTheOpacity) {
  for (const int mode : {1, 5, -2}) {
    Field field;
    seedField(field, {2, 100, mode, false, {0.1f, 0.2f, 0.3f, 0.0f}}, 5);
    for (int p = 0; p < 100; ++p) {
      EXPECT_EQ(field.color[p].r, 0.1f);
      EXPECT_EQ(field.color[p].g, 0.2f);
      EXPECT_EQ(field.color[p].b, 0.3f);
      EXPECT_TRUE(field.color[p].a >= 0.5f && field.color[p].a <= 1.0f);
    }
  }
}

TEST(Reseeding, ReplacesTheWholeFieldForTheNewSettings) {
  Field field;
  seedField(field, {3, 300, 0, true}, 11);
  ASSERT_TRUE(field.ai_loc);
  field.tick = 777;
  field.dir = -1.0f;
  field.rad = 6.4f;

  seedField(field, {2, 100, 1, false}, 12);
  EXPECT_EQ(field.tick, 0u);
  EXPECT_EQ(field.dir, 1.0f);
  EXPECT_EQ(field.rad, 0.8f);
  EXPECT_FALSE(field.ai_loc);
  EXPECT_FALSE(field.ai_cnt);
  EXPECT_FALSE(field.ai_color);
  for (const std::size_t size :
       {field.loc.size(), field.prevLoc.size(), field.yrp.size(), field.color.size(), field.ve.size(),
        field.sine.size(), field.cosine.size(), field.vel.size(), field.eye.size()}) {
    EXPECT_EQ(size, 100u);
  }
  EXPECT_EQ(field.statusCount.size(), 2u);

  seedField(field, {1, 60, 0, true}, 13);
  ASSERT_TRUE(field.ai_loc && field.ai_cnt && field.ai_color);
  EXPECT_EQ(field.ai_cnt.size(), 240u);
}

TEST(Release, LeavesEveryArrayEmpty) {
  Field field;
  seedField(field, {2, 100, 0, true}, 3);
  field.releaseArrays();
  EXPECT_FALSE(field.loc || field.prevLoc || field.yrp || field.color || field.ve || field.sine ||
               field.cosine || field.vel || field.eye || field.statusCount || field.ai_loc || field.ai_cnt ||
               field.ai_color);
}

}  // namespace
