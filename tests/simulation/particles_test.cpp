#include <gtest/gtest.h>

#include <cmath>

#include "seeded_field.h"

namespace {

constexpr double kPi = 3.141592653589793;

// One particle of one cyclone, set up by hand.
class OneParticle : public ::testing::Test {
 protected:
  void SetUp() override {
    seedField(field_, {1, 1, 1, false}, 70);
    const double lead = 10.0 * kPi / 180.0;
    field_.sine[0] = static_cast<float>(std::sin(lead));
    field_.cosine[0] = static_cast<float>(std::cos(lead));
    place({100, 0, -100}, {0, 0, -100}, {0, 1, 0}, 4.0f);
  }
  void place(Vector3F loc, Vector3F eye, Vector3F ve, float vel) {
    field_.loc[0] = loc;
    field_.eye[0] = eye;
    field_.ve[0] = ve;
    field_.vel[0] = vel;
  }

  Field field_;
};

struct WorkedCase {
  float dir;
  Vector3F heading;
  float facing;
};

class WorkedStep : public OneParticle, public ::testing::WithParamInterface<WorkedCase> {};

TEST_P(WorkedStep, SteersTowardsTheOrbitPoint) {
  const WorkedCase& c = GetParam();
  field_.dir = c.dir;
  field_.model_handle_particles();
  EXPECT_NEAR(field_.ve[0].x, c.heading.x, 2e-5);
  EXPECT_NEAR(field_.ve[0].y, c.heading.y, 2e-5);
  EXPECT_EQ(field_.ve[0].z, 0.0f);
  EXPECT_NEAR(field_.loc[0].x, 100.0f + c.heading.x, 1e-4);
  EXPECT_NEAR(field_.loc[0].y, c.heading.y, 1e-4);
  EXPECT_EQ(field_.loc[0].z, -100.0f);
  EXPECT_NEAR(field_.yrp[0], c.facing, 1e-3);
  EXPECT_EQ(field_.prevLoc[0].x, 100.0f);
  EXPECT_EQ(field_.prevLoc[0].y, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Senses, WorkedStep,
                         ::testing::Values(WorkedCase{1.0f, {-2.38685f, 3.20982f, 0}, -53.365f},
                                           WorkedCase{-1.0f, {-3.20982f, 2.38685f, 0}, -36.635f}));

TEST_F(OneParticle, FastestParticleSteersStraightAtItsEye) {
  for (const float dir : {1.0f, -1.0f}) {
    place({100, 0, -100}, {0, 0, -100}, {0, 1, 0}, 8.0f);
    field_.dir = dir;
    field_.model_handle_particles();
    const double leg = 8.0 / std::sqrt(2.0);
    EXPECT_NEAR(field_.ve[0].x, -leg, 1e-5);
    EXPECT_NEAR(field_.ve[0].y, leg, 1e-5);
  }
}

struct FacingCase {
  Vector3F eye, heading;
  float facing;
};

class Facing : public OneParticle, public ::testing::WithParamInterface<FacingCase> {};

// Speed 8 has no orbit: a heading pointing at the eye stays on that line.
TEST_P(Facing, PointsBackAlongTheStep) {
  const FacingCase& c = GetParam();
  place({0, 0, -100}, c.eye, c.heading, 8.0f);
  field_.model_handle_particles();
  EXPECT_EQ(field_.ve[0].x, 8.0f * c.heading.x);
  EXPECT_EQ(field_.ve[0].y, 8.0f * c.heading.y);
  EXPECT_EQ(field_.yrp[0], c.facing);
}

INSTANTIATE_TEST_SUITE_P(Directions, Facing,
                         ::testing::Values(FacingCase{{1000, 0, -100}, {1, 0, 0}, 180.0f},
                                           FacingCase{{0, 1000, -100}, {0, 1, 0}, -90.0f},
                                           FacingCase{{-1000, 0, -100}, {-1, 0, 0}, 0.0f},
                                           FacingCase{{0, -1000, -100}, {0, -1, 0}, 90.0f}));

struct PulseCase {
  uint32_t tick;
  int32_t pulseRate;
  float alpha;
  float tolerance;
};

class Pulse : public OneParticle, public ::testing::WithParamInterface<PulseCase> {};

TEST_P(Pulse, SetsTheOpacityFromTickAndPulseRate) {
  const PulseCase& c = GetParam();
  field_.tick = c.tick;
  field_.statusCount[0].pulseRate = c.pulseRate;
  field_.model_handle_particles();
  EXPECT_NEAR(field_.color[0].a, c.alpha, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, Pulse,
    ::testing::Values(PulseCase{0, 3, 0.7f, 0.0f}, PulseCase{10, 2, 0.95537f, 1e-5f},
                      PulseCase{4294967295u, 5,
                                static_cast<float>(std::sin(4294967295.0 * 2 * kPi * 5 / 123.4) * 0.3 + 0.7),
                                2e-7f}));

struct DepthCase {
  float z;
  float value;
};

class DepthColour : public OneParticle, public ::testing::WithParamInterface<DepthCase> {};

// Without saturation red, green and blue are all the value.
TEST_P(DepthColour, DarkensWithDepthDownToHalf) {
  const DepthCase& c = GetParam();
  field_.color_mode_particle = 0;
  field_.statusCount[0].saturation = 0.0f;
  place({100, 0, c.z}, {0, 0, c.z}, {0, 1, 0}, 4.0f);
  field_.model_handle_particles();
  ASSERT_EQ(field_.loc[0].z, c.z);
  EXPECT_FLOAT_EQ(field_.color[0].r, c.value);
  EXPECT_FLOAT_EQ(field_.color[0].g, c.value);
  EXPECT_FLOAT_EQ(field_.color[0].b, c.value);
}

INSTANTIATE_TEST_SUITE_P(Depths, DepthColour,
                         ::testing::Values(DepthCase{0, 1.0f}, DepthCase{40, 1.0f}, DepthCase{-100, 0.8f},
                                           DepthCase{-250, 0.5f}, DepthCase{-450, 0.5f}));

TEST_F(OneParticle, HueModeTakesTheCyclonesHueAndSaturation) {
  field_.color_mode_particle = 0;
  field_.statusCount[0].hue = 120.0f;
  field_.statusCount[0].saturation = 1.0f;
  place({100, 0, -100}, {0, 0, -100}, {0, 1, 0}, 4.0f);
  field_.model_handle_particles();
  EXPECT_FLOAT_EQ(field_.color[0].r, 0.0f);
  EXPECT_FLOAT_EQ(field_.color[0].g, 0.8f);
  EXPECT_FLOAT_EQ(field_.color[0].b, 0.0f);
}

TEST_F(OneParticle, OtherColourModesKeepTheSeededColour) {
  for (const int mode : {1, -3, 9}) {
    field_.color_mode_particle = mode;
    field_.color[0] = {0.1f, 0.2f, 0.3f, 0.4f};
    field_.tick = 10;
    field_.statusCount[0].pulseRate = 2;
    field_.model_handle_particles();
    EXPECT_EQ(field_.color[0].r, 0.1f);
    EXPECT_EQ(field_.color[0].g, 0.2f);
    EXPECT_EQ(field_.color[0].b, 0.3f);
    EXPECT_NEAR(field_.color[0].a, 0.95537f, 1e-5f);
  }
}

struct DegenerateCase {
  const char* what;
  Vector3F loc, eye, heading;
  float vel;
  float cosine, sine;
};

class DegenerateStep : public OneParticle, public ::testing::WithParamInterface<DegenerateCase> {};

// A direction of zero length keeps the heading for the frame.
TEST_P(DegenerateStep, KeepsTheHeadingAndStaysFinite) {
  const DegenerateCase& c = GetParam();
  place(c.loc, c.eye, c.heading, c.vel);
  field_.cosine[0] = c.cosine;
  field_.sine[0] = c.sine;
  field_.model_handle_particles();
  EXPECT_EQ(field_.ve[0].x, c.heading.x);
  EXPECT_EQ(field_.ve[0].y, c.heading.y);
  EXPECT_EQ(field_.ve[0].z, c.heading.z);
  EXPECT_EQ(field_.loc[0].x, c.loc.x + c.heading.x);
  EXPECT_EQ(field_.loc[0].y, c.loc.y + c.heading.y);
  EXPECT_EQ(field_.loc[0].z, c.loc.z + c.heading.z);
  EXPECT_TRUE(std::isfinite(field_.yrp[0]));
}

// With no lead angle the orbit point of a particle 64 from its eye (speed 4,
// rad 0.8) is the particle itself.
INSTANTIATE_TEST_SUITE_P(
    Cases, DegenerateStep,
    ::testing::Values(
        DegenerateCase{"on_the_eye", {10, 20, -100}, {10, 20, -100}, {0.6f, 0.8f, 0}, 4.0f, 0.9f, 0.1f},
        DegenerateCase{"on_the_orbit_point", {64, 0, -100}, {0, 0, -100}, {0, 1, 0}, 4.0f, 1.0f, 0.0f},
        DegenerateCase{"pull_opposes_heading", {100, 0, -100}, {0, 0, -100}, {1, 0, 0}, 8.0f, 0.9f, 0.1f}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
