#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "seeded_field.h"

namespace {

constexpr int kCyclones = 10;
constexpr int kParticles = 2000;
constexpr int kFrames = 3000;
// The widest orbit (rad 6.4, speed 4) and room for a particle to swing round
// after its orbit point jumps.
constexpr float kOrbit = 6.4f * 80.0f;
constexpr float kSwing = 200.0f;

bool finite(const Vector3F& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
bool finite(const ColorRGBA& c) {
  return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}
bool within(float v, float low, float high) {
  return v >= low && v <= high;
}
bool unitRange(const ColorRGBA& c) {
  return within(c.r, 0, 1) && within(c.g, 0, 1) && within(c.b, 0, 1) && within(c.a, 0, 1);
}
float distance(const Vector3F& a, const Vector3F& b) {
  const Vector3F d{a.x - b.x, a.y - b.y, a.z - b.z};
  return v_len(&d);
}

// Returns what is wrong with the field after `frames` frames, or nothing.
std::string faultIn(const Field& f, int frames, const std::vector<float>& vel, float sine, float cosine) {
  std::ostringstream out;
  static const float kRadii[] = {0.1f, 0.2f, 0.4f, 0.8f, 1.6f, 3.2f, 6.4f};
  if (std::find(std::begin(kRadii), std::end(kRadii), f.rad) == std::end(kRadii)) {
    out << "rad " << f.rad;
  }
  if (f.dir != 1.0f && f.dir != -1.0f) {
    out << "dir " << f.dir;
  }
  for (int c = 0; c < kCyclones; ++c) {
    const CycloneStatus& s = f.statusCount[c];
    if (!within(s.hue, 0, 359.999f) || !within(s.saturation, 0.5f, 0.99f) || s.moveTimer < 0 ||
        s.moveTimer >= 2300 || s.effectTimer < 0 || s.effectTimer >= 2000 || s.depthTimer < 0 ||
        s.depthTimer >= 2700 || !within(static_cast<float>(s.pulseRate), 1, 5)) {
      out << " cyclone " << c;
    }
  }
  const float drift = 0.01f * static_cast<float>(frames) + 1e-3f;
  for (int p = 0; p < kParticles; ++p) {
    const Vector3F& e = f.eye[p];
    const Vector3F& l = f.loc[p];
    const bool eyeOk = finite(e) && within(e.x, -500, 500) && within(e.y, -500, 500) &&
                       within(e.z, -450 - drift, -20 + drift) && e.x == f.eye[p % kCyclones].x &&
                       e.y == f.eye[p % kCyclones].y;
    const float reach = kOrbit + kSwing;
    const bool locOk = finite(l) && finite(f.prevLoc[p]) && within(l.x, -500 - reach, 500 + reach) &&
                       within(l.y, -500 - reach, 500 + reach) && within(l.z, -450 - reach, -20 + reach);
    const bool stepOk = finite(f.ve[p]) && std::fabs(v_len(&f.ve[p]) - vel[p]) <= 1e-5f * vel[p] &&
                        std::fabs(distance(l, f.prevLoc[p]) - vel[p]) <= 1e-3f && f.vel[p] == vel[p] &&
                        f.sine[p] == sine && f.cosine[p] == cosine;
    const bool lookOk = within(f.yrp[p], -180, 180) && finite(f.color[p]) && unitRange(f.color[p]) &&
                        within(f.color[p].a, 0.4f, 1.0f);
    bool trailOk = true;
    for (int m = 0; m < 4; ++m) {
      const int i = 4 * p + m;
      trailOk = trailOk && finite(f.ai_loc[i]) && finite(f.ai_color[i]) && unitRange(f.ai_color[i]) &&
                f.ai_cnt[i] >= 0 && f.ai_cnt[i] < 20;
    }
    if (!(eyeOk && locOk && stepOk && lookOk && trailOk)) {
      out << " particle " << p << (eyeOk ? "" : " eye") << (locOk ? "" : " loc") << (stepOk ? "" : " step")
          << (lookOk ? "" : " look") << (trailOk ? "" : " trail");
      break;
    }
  }
  return out.str();
}

// Thousands of frames of the largest field with every event firing many
// times: nothing leaves the ranges the orbits allow, nothing becomes NaN.
TEST(Soak, LargestFieldStaysFiniteAndBounded) {
  Field field;
  seedField(field, {kCyclones, kParticles, 0, true}, 2024);
  const std::vector<float> vel(field.vel.get(), field.vel.get() + kParticles);
  const float sine = field.sine[0], cosine = field.cosine[0];
  int dirFlips = 0, radChanges = 0;
  for (int frame = 1; frame <= kFrames; ++frame) {
    const float dir = field.dir, rad = field.rad;
    field.step();
    ++field.tick;
    dirFlips += field.dir != dir;
    radChanges += field.rad != rad;
    const std::string fault = faultIn(field, frame, vel, sine, cosine);
    ASSERT_EQ(fault, "") << "frame " << frame;
  }
  EXPECT_GT(dirFlips, 0);
  EXPECT_GT(radChanges, 0);
}

}  // namespace
