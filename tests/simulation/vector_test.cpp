#include "simulation/vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct HsvCase {
  float hue, saturation, value;
  float r, g, b;
};

class HsvToRgb : public ::testing::TestWithParam<HsvCase> {};

TEST_P(HsvToRgb, ConvertsToTheSectorColour) {
  const HsvCase& c = GetParam();
  float r = -1.0f, g = -1.0f, b = -1.0f;
  HSVtoRGB(&r, &g, &b, c.hue, c.saturation, c.value);
  EXPECT_NEAR(r, c.r, 1e-6f);
  EXPECT_NEAR(g, c.g, 1e-6f);
  EXPECT_NEAR(b, c.b, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(Hues, HsvToRgb,
                         ::testing::Values(HsvCase{0, 1, 1, 1, 0, 0}, HsvCase{60, 1, 1, 1, 1, 0},
                                           HsvCase{120, 1, 1, 0, 1, 0}, HsvCase{180, 1, 1, 0, 1, 1},
                                           HsvCase{240, 1, 1, 0, 0, 1}, HsvCase{300, 1, 1, 1, 0, 1},
                                           HsvCase{359, 1, 1, 1, 0, 1.0f / 60.0f},
                                           HsvCase{30, 1, 1, 1, 0.5f, 0},
                                           HsvCase{90, 0.5f, 0.8f, 0.6f, 0.8f, 0.4f},
                                           HsvCase{210, 0.5f, 0.5f, 0.25f, 0.375f, 0.5f}));

TEST(HsvToRgbGrey, ZeroSaturationGivesTheValueForAnyHue) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const float hue : {0.0f, 123.0f, 360.0f, -1.0f, 720.5f, nan}) {
    for (const float saturation : {0.0f, -0.0f}) {
      float r = -1.0f, g = -1.0f, b = -1.0f;
      HSVtoRGB(&r, &g, &b, hue, saturation, 0.3f);
      EXPECT_EQ(r, 0.3f) << hue;
      EXPECT_EQ(g, 0.3f) << hue;
      EXPECT_EQ(b, 0.3f) << hue;
    }
  }
}

TEST(HsvToRgbOutOfRange, HueOutsideTheCircleWritesNothing) {
  for (const float hue : {360.0f, -1.0f, 1000.0f, std::numeric_limits<float>::quiet_NaN()}) {
    float r = 0.125f, g = 0.25f, b = 0.375f;
    HSVtoRGB(&r, &g, &b, hue, 0.5f, 1.0f);
    EXPECT_EQ(r, 0.125f) << hue;
    EXPECT_EQ(g, 0.25f) << hue;
    EXPECT_EQ(b, 0.375f) << hue;
  }
}

// q takes s*f rounded to single precision before widening; for several of
// these hues that gives another last bit than a product in double.
TEST(HsvToRgbRounding, MatchesTheSinglePrecisionSteps) {
  for (float hue = 0.5f; hue < 360.0f; hue += 7.25f) {
    const float s = 0.7f, v = 0.9f;
    const float hh = hue / 360.0f * 6.0f;
    const float i = std::floor(hh);
    const float f = hh - i;
    const auto p = static_cast<float>((1.0 - static_cast<double>(s)) * static_cast<double>(v));
    const float sf = s * f;
    const auto q = static_cast<float>((1.0 - static_cast<double>(sf)) * static_cast<double>(v));
    const auto t = static_cast<float>((1.0 - static_cast<double>(s) * (1.0 - static_cast<double>(f))) *
                                      static_cast<double>(v));
    const float expected[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    float r, g, b;
    HSVtoRGB(&r, &g, &b, hue, s, v);
    const auto& e = expected[static_cast<int>(i)];
    EXPECT_EQ(r, e[0]) << hue;
    EXPECT_EQ(g, e[1]) << hue;
    EXPECT_EQ(b, e[2]) << hue;
  }
}

TEST(VectorFunctions, LengthAndNormalisationOfThreeFourZero) {
  Vector3F v{3, 4, 0};
  EXPECT_EQ(v_len(&v), 5.0f);

  Vector3F divided{3, 4, 0};
  v_div(&divided, 5.0f);
  EXPECT_EQ(divided.x, 3.0f / 5.0f);
  EXPECT_EQ(divided.y, 4.0f / 5.0f);
  EXPECT_EQ(divided.z, 0.0f);

  v_norm(&v);
  EXPECT_EQ(v.x, 0.6f);
  EXPECT_EQ(v.y, 0.8f);
  EXPECT_EQ(v.z, 0.0f);
}

// Division and multiplication by the reciprocal round differently for 1/3.
TEST(VectorFunctions, DivDividesEachComponent) {
  Vector3F v{1, 2, 10};
  v_div(&v, 3.0f);
  EXPECT_EQ(v.x, 1.0f / 3.0f);
  EXPECT_EQ(v.y, 2.0f / 3.0f);
  EXPECT_EQ(v.z, 10.0f / 3.0f);
}

TEST(VectorFunctions, LengthSquaresInSinglePrecision) {
  // 1e40 has no single-precision value; in double the length would be finite.
  Vector3F v{1e20f, 1e20f, 1e20f};
  EXPECT_TRUE(std::isinf(v_len(&v)));
}

TEST(VectorFunctions, AddsWithEveryOperandTheSameRecord) {
  Vector3F v{1, 2, 3};
  v_adds(&v, &v, &v, 2.0f);
  EXPECT_EQ(v.x, 3.0f);
  EXPECT_EQ(v.y, 6.0f);
  EXPECT_EQ(v.z, 9.0f);
}

TEST(VectorFunctions, ArithmeticComponentByComponent) {
  Vector3F r{};
  v_add(&r, {1, 2, 3}, {10, 20, 30});
  EXPECT_EQ(r.x, 11.0f);
  EXPECT_EQ(r.y, 22.0f);
  EXPECT_EQ(r.z, 33.0f);
  v_sub(&r, r, {1, 2, 3});
  EXPECT_EQ(r.x, 10.0f);
  EXPECT_EQ(r.y, 20.0f);
  EXPECT_EQ(r.z, 30.0f);
  v_mult(&r, 0.5f);
  EXPECT_EQ(r.x, 5.0f);
  EXPECT_EQ(r.y, 10.0f);
  EXPECT_EQ(r.z, 15.0f);
  Vector3F copy{};
  v_copy(&copy, &r);
  EXPECT_EQ(copy.x, 5.0f);
  EXPECT_EQ(copy.y, 10.0f);
  EXPECT_EQ(copy.z, 15.0f);
  Vector3F a{1, 1, 1};
  v_adds(&r, &a, &copy, -2.0f);
  EXPECT_EQ(r.x, -9.0f);
  EXPECT_EQ(r.y, -19.0f);
  EXPECT_EQ(r.z, -29.0f);
}

}  // namespace
