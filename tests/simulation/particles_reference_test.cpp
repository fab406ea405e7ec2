#include <gtest/gtest.h>

#include <cmath>

#include "seeded_field.h"

namespace {

// The motion step worked out a particle at a time, in the precision each
// quantity is taken in: vectors in single precision, the radius, the facing
// angle, the pulse and the depth in double, rounded once when stored.
struct Particle {
  Vector3F loc, ve;
  float yrp;
  ColorRGBA color;
};

Vector3F normalised(Vector3F v) {
  const float length = std::sqrt((v.x * v.x + v.y * v.y) + v.z * v.z);
  return {v.x / length, v.y / length, v.z / length};
}

Particle referenceStep(const Field& f, int p) {
  const Vector3F loc = f.loc[p];
  const Vector3F eye = f.eye[p];
  const CycloneStatus& s = f.statusCount[p % f.no_cyclones];
  const float c = f.cosine[p], sn = f.sine[p];

  const Vector3F d = normalised({loc.x - eye.x, loc.y - eye.y, loc.z - eye.z});
  const Vector3F r{d.x * c - (f.dir * d.y) * sn, d.y * c + (f.dir * d.x) * sn, d.z};
  const auto radius =
      static_cast<float>(static_cast<double>(f.rad) * (static_cast<double>(f.vel[p]) * -20.0 + 160.0));
  const Vector3F t = normalised(
      {(radius * r.x + eye.x) - loc.x, (radius * r.y + eye.y) - loc.y, (radius * r.z + eye.z) - loc.z});
  Vector3F heading = normalised({f.ve[p].x + t.x, f.ve[p].y + t.y, f.ve[p].z + t.z});
  heading = {heading.x * f.vel[p], heading.y * f.vel[p], heading.z * f.vel[p]};

  Particle out;
  out.ve = heading;
  out.loc = {loc.x + heading.x, loc.y + heading.y, loc.z + heading.z};
  const float dy = loc.y - out.loc.y;
  const float dx = loc.x - out.loc.x;
  out.yrp = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180.0 /
                               3.141592653589793);
  out.color = f.color[p];
  out.color.a = static_cast<float>(
      std::sin(static_cast<double>(f.tick) * 6.283185307179586 * static_cast<double>(s.pulseRate) / 123.4) *
          0.3 +
      0.7);
  if (f.color_mode_particle == 0) {
    auto k = static_cast<float>(static_cast<double>(out.loc.z) / -500.0);
    k = k > 0.5f ? 0.5f : (k < 0.0f ? 0.0f : k);
    HSVtoRGB(&out.color.r, &out.color.g, &out.color.b, s.hue, s.saturation,
             static_cast<float>(1.0 - static_cast<double>(k)));
  }
  return out;
}

struct ReferenceCase {
  FieldShape shape;
  float dir;
  float rad;
};

class MotionReference : public ::testing::TestWithParam<ReferenceCase> {};

// Whole frames of a seeded field, every particle compared bit for bit.
TEST_P(MotionReference, MatchesTheStepBitForBit) {
  const ReferenceCase& c = GetParam();
  Field field;
  seedField(field, c.shape, 90);
  field.dir = c.dir;
  field.rad = c.rad;
  const int n = c.shape.particles;
  for (int frame = 0; frame < 40; ++frame) {
    field.model_handle_events();
    std::vector<Particle> expected;
    for (int p = 0; p < n; ++p) {
      expected.push_back(referenceStep(field, p));
    }
    const std::vector<Vector3F> before(field.loc.get(), field.loc.get() + n);
    field.model_handle_particles();
    for (int p = 0; p < n; ++p) {
      const Particle& e = expected[p];
      ASSERT_TRUE(field.loc[p].x == e.loc.x && field.loc[p].y == e.loc.y && field.loc[p].z == e.loc.z)
          << "frame " << frame << " particle " << p;
      ASSERT_TRUE(field.ve[p].x == e.ve.x && field.ve[p].y == e.ve.y && field.ve[p].z == e.ve.z)
          << "frame " << frame << " particle " << p;
      ASSERT_TRUE(field.prevLoc[p].x == before[p].x && field.prevLoc[p].y == before[p].y &&
                  field.prevLoc[p].z == before[p].z);
      ASSERT_EQ(field.yrp[p], e.yrp) << "frame " << frame << " particle " << p;
      ASSERT_TRUE(field.color[p].r == e.color.r && field.color[p].g == e.color.g &&
                  field.color[p].b == e.color.b && field.color[p].a == e.color.a)
          << "frame " << frame << " particle " << p;
    }
    ++field.tick;
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, MotionReference,
                         ::testing::Values(ReferenceCase{{3, 300, 0, false}, 1.0f, 0.8f},
                                           ReferenceCase{{3, 300, 0, false}, -1.0f, 3.2f},
                                           ReferenceCase{{5, 250, 1, false}, -1.0f, 0.1f},
                                           ReferenceCase{{1, 200, 0, false}, 1.0f, 6.4f}));

}  // namespace
