#include <gtest/gtest.h>

#include <array>

#include "seeded_field.h"

namespace {

// Two cyclones of two particles: 0 and 2 belong to cyclone 0, 1 and 3 to
// cyclone 1. Particle 0 heads along +x, particle 2 along (3, -2).
class Effects : public ::testing::Test {
 protected:
  void SetUp() override {
    seedField(field_, {2, 4, 0, false}, 60);
    field_.ve[0] = {1, 0, 0.5f};
    field_.ve[2] = {3, -2, -1};
    field_.ve[1] = {5, 6, 7};
    field_.ve[3] = {-8, 9, 10};
  }
  void expectHeading(int p, float x, float y, float z) {
    EXPECT_EQ(field_.ve[p].x, x) << p;
    EXPECT_EQ(field_.ve[p].y, y) << p;
    EXPECT_EQ(field_.ve[p].z, z) << p;
  }
  void expectOtherCycloneUntouched() {
    expectHeading(1, 5, 6, 7);
    expectHeading(3, -8, 9, 10);
  }

  Field field_;
};

struct HeadingCase {
  int effect;
  float dirBefore;
  float dirAfter;
  float radAfter;
  std::array<float, 2> first;   // heading (1, 0) afterwards
  std::array<float, 2> second;  // heading (3, -2) afterwards
};

class HeadingEffects : public Effects, public ::testing::WithParamInterface<HeadingCase> {};

TEST_P(HeadingEffects, TurnOrMirrorTheCyclonesHeadingsOnly) {
  const HeadingCase& c = GetParam();
  field_.dir = c.dirBefore;
  field_.doEffectNumber(c.effect, 0);
  EXPECT_EQ(field_.dir, c.dirAfter);
  EXPECT_EQ(field_.rad, c.radAfter);
  expectHeading(0, c.first[0], c.first[1], 0.5f);
  expectHeading(2, c.second[0], c.second[1], -1);
  expectOtherCycloneUntouched();
}

INSTANTIATE_TEST_SUITE_P(Numbers, HeadingEffects,
                         ::testing::Values(HeadingCase{0, 1, -1, 0.8f, {0, -1}, {-2, -3}},
                                           HeadingCase{0, -1, 1, 0.8f, {0, 1}, {2, 3}},
                                           HeadingCase{4, 1, -1, 0.8f, {0, 1}, {2, 3}},
                                           HeadingCase{4, -1, 1, 0.8f, {0, -1}, {-2, -3}},
                                           HeadingCase{1, 1, 1, 0.8f, {-1, 0}, {-3, -2}},
                                           HeadingCase{2, -1, -1, 0.8f, {1, -0.0f}, {3, 2}},
                                           HeadingCase{3, 1, 1, 0.8f, {-1, -0.0f}, {-3, 2}},
                                           HeadingCase{7, 1, 1, 0.8f, {1, 0}, {3, -2}},
                                           HeadingCase{-1, -1, -1, 0.8f, {1, 0}, {3, -2}},
                                           HeadingCase{5, 1, 1, 1.6f, {1, 0}, {3, -2}},
                                           HeadingCase{6, 1, 1, 0.4f, {1, 0}, {3, -2}}));

TEST_F(Effects, TurningTwiceWithTheSenseRestoresEverything) {
  field_.doEffectNumber(0, 0);
  field_.doEffectNumber(0, 0);
  EXPECT_EQ(field_.dir, 1.0f);
  expectHeading(0, 1, 0, 0.5f);
  expectHeading(2, 3, -2, -1);
}

TEST_F(Effects, TurningWithThenAgainstTheSenseReversesTheHeadings) {
  field_.doEffectNumber(0, 0);
  field_.doEffectNumber(4, 0);
  EXPECT_EQ(field_.dir, 1.0f);
  expectHeading(0, -1, 0, 0.5f);
  expectHeading(2, -3, 2, -1);
}

TEST_F(Effects, ActOnTheCycloneNamed) {
  field_.doEffectNumber(3, 1);
  expectHeading(0, 1, 0, 0.5f);
  expectHeading(1, -5, -6, 7);
  expectHeading(3, 8, -9, 10);
}

struct RadiusCase {
  int effect;
  std::array<float, 4> radii;
};

class RadiusEffects : public Effects, public ::testing::WithParamInterface<RadiusCase> {};

TEST_P(RadiusEffects, DoubleOrHalveWithinTheLimits) {
  const RadiusCase& c = GetParam();
  for (const float expected : c.radii) {
    field_.doEffectNumber(c.effect, 1);
    EXPECT_EQ(field_.rad, expected);
  }
  EXPECT_EQ(field_.dir, 1.0f);
  expectHeading(0, 1, 0, 0.5f);
  expectOtherCycloneUntouched();
}

INSTANTIATE_TEST_SUITE_P(Numbers, RadiusEffects,
                         ::testing::Values(RadiusCase{5, {1.6f, 3.2f, 6.4f, 6.4f}},
                                           RadiusCase{6, {0.4f, 0.2f, 0.1f, 0.1f}}));

TEST_F(Effects, WidenAndNarrowStopAtTheLimits) {
  field_.rad = 5.0f;
  field_.doEffectNumber(5, 0);
  EXPECT_EQ(field_.rad, 6.4f);
  field_.rad = 0.15f;
  field_.doEffectNumber(6, 0);
  EXPECT_EQ(field_.rad, 0.1f);
}

}  // namespace
