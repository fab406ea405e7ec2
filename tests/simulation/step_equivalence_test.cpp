#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "seeded_field.h"

// The particle and afterimage steps against the straightforward loop they
// replace: one particle after another, the vector functions called as they
// are, HSVtoRGB worked out in one piece. Whole states are compared bit for
// bit after every frame.

namespace {

// What the two steps write.
struct StepState {
  std::vector<Vector3F> loc, prevLoc, ve, ai_loc;
  std::vector<float> yrp;
  std::vector<ColorRGBA> color, ai_color;
  std::vector<int32_t> ai_cnt;
};

template <typename T>
std::vector<T> copyOf(const HeapArray<T>& a, std::size_t n) {
  return a ? std::vector<T>(a.get(), a.get() + n) : std::vector<T>();
}

StepState stateOf(const Field& f) {
  const auto n = static_cast<std::size_t>(f.no_particles);
  return {copyOf(f.loc, n), copyOf(f.prevLoc, n), copyOf(f.ve, n),           copyOf(f.ai_loc, 4 * n),
          copyOf(f.yrp, n), copyOf(f.color, n),   copyOf(f.ai_color, 4 * n), copyOf(f.ai_cnt, 4 * n)};
}

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  // memcmp must not see the null data of an empty vector (a field without
  // afterimages).
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void hsvToRgbInOnePiece(float* r, float* g, float* b, float h, float s, float v) {
  if (s == 0.0f) {
    *r = *g = *b = v;
    return;
  }
  const float hh = h / 360.0f * 6.0f;
  const float i = std::floor(hh);
  const float f = hh - i;
  const auto p = static_cast<float>((1.0 - static_cast<double>(s)) * static_cast<double>(v));
  const auto q = static_cast<float>((1.0 - static_cast<double>(s * f)) * static_cast<double>(v));
  const auto t = static_cast<float>((1.0 - static_cast<double>(s) * (1.0 - static_cast<double>(f))) *
                                    static_cast<double>(v));
  if (!(i >= 0.0f && i <= 5.0f)) {
    return;
  }
  switch (static_cast<int>(i)) {
    case 0: *r = v, *g = t, *b = p; break;
    case 1: *r = q, *g = v, *b = p; break;
    case 2: *r = p, *g = v, *b = t; break;
    case 3: *r = p, *g = q, *b = v; break;
    case 4: *r = t, *g = p, *b = v; break;
    case 5: *r = v, *g = p, *b = q; break;
  }
}

// A zero-length vector leaves the heading unchanged for the frame.
bool normalised(Vector3F* v) {
  const float length = v_len(v);
  if (length == 0.0f) {
    return false;
  }
  v_div(v, length);
  return true;
}

void straightforwardStep(const Field& f, StepState& s) {
  const int32_t n = f.no_particles;
  for (int32_t p = 0; p < n; ++p) {
    s.prevLoc[p] = s.loc[p];
    Vector3F d;
    v_sub(&d, s.loc[p], f.eye[p]);
    if (normalised(&d)) {
      const float c = f.cosine[p];
      const float sn = f.sine[p];
      const Vector3F r{d.x * c - (f.dir * d.y) * sn, d.y * c + (f.dir * d.x) * sn, d.z};
      const auto radius =
          static_cast<float>(static_cast<double>(f.rad) * (static_cast<double>(f.vel[p]) * -20.0 + 160.0));
      Vector3F t{radius * r.x + f.eye[p].x - s.loc[p].x, radius * r.y + f.eye[p].y - s.loc[p].y,
                 radius * r.z + f.eye[p].z - s.loc[p].z};
      if (normalised(&t)) {
        Vector3F heading;
        v_add(&heading, s.ve[p], t);
        if (normalised(&heading)) {
          v_mult(&heading, f.vel[p]);
          s.ve[p] = heading;
        }
      }
    }
    v_add(&s.loc[p], s.loc[p], s.ve[p]);
    const float dy = s.prevLoc[p].y - s.loc[p].y;
    const float dx = s.prevLoc[p].x - s.loc[p].x;
    s.yrp[p] = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180.0 /
                                  3.141592653589793);
    const CycloneStatus& status = f.statusCount[p % f.no_cyclones];
    s.color[p].a = static_cast<float>(
        std::sin(static_cast<double>(f.tick) * 6.283185307179586 * status.pulseRate / 123.4) * 0.3 + 0.7);
    if (f.color_mode_particle == 0) {
      auto k = static_cast<float>(static_cast<double>(s.loc[p].z) / -500.0);
      k = k > 0.5f ? 0.5f : (k < 0.0f ? 0.0f : k);
      hsvToRgbInOnePiece(&s.color[p].r, &s.color[p].g, &s.color[p].b, status.hue, status.saturation,
                         static_cast<float>(1.0 - static_cast<double>(k)));
    }
  }
  for (std::size_t i = 0; i < s.ai_cnt.size(); ++i) {
    s.ai_cnt[i] = (s.ai_cnt[i] + 1) % 20;
    if (s.ai_cnt[i] == 0) {
      const ColorRGBA& c = s.color[i / 4];
      s.ai_loc[i] = s.loc[i / 4];
      s.ai_color[i] = {c.r, c.g, c.b, c.a * 0.5f};
    }
  }
}

// Runs frames with events, each frame's step checked against the
// straightforward one from the same state: the first frame that differs, or
// -1.
int firstDifferingFrame(Field& field, int frames) {
  for (int frame = 0; frame < frames; ++frame) {
    field.model_handle_events();
    StepState expected = stateOf(field);
    straightforwardStep(field, expected);
    field.model_handle_particles();
    if (field.show_ai == 1) {
      field.model_handle_afterimage();
    }
    const StepState actual = stateOf(field);
    const bool same = sameBits(actual.loc, expected.loc) && sameBits(actual.prevLoc, expected.prevLoc) &&
                      sameBits(actual.ve, expected.ve) && sameBits(actual.yrp, expected.yrp) &&
                      sameBits(actual.color, expected.color) && sameBits(actual.ai_loc, expected.ai_loc) &&
                      sameBits(actual.ai_color, expected.ai_color) &&
                      sameBits(actual.ai_cnt, expected.ai_cnt);
    if (!same) {
      return frame;
    }
    ++field.tick;
  }
  return -1;
}

struct EquivalenceCase {
  FieldShape shape;
  unsigned seed;
  int frames;
};

class StepEquivalence : public ::testing::TestWithParam<EquivalenceCase> {};

TEST_P(StepEquivalence, WholeStatesMatchTheStraightforwardLoop) {
  const EquivalenceCase& c = GetParam();
  Field field;
  seedField(field, c.shape, c.seed);
  EXPECT_EQ(firstDifferingFrame(field, c.frames), -1);
}

// Particle counts that leave 0 to 3 particles after the runs of four, both
// colour modes, with and without afterimages; thousands of frames so that
// every effect, orbit sense and radius comes round.
INSTANTIATE_TEST_SUITE_P(Fields, StepEquivalence,
                         ::testing::Values(EquivalenceCase{{10, 2000, 0, true}, 3, 3000},
                                           EquivalenceCase{{1, 50, 0, false}, 7, 6000},
                                           EquivalenceCase{{3, 150, 0, true}, 11, 4000},
                                           EquivalenceCase{{7, 357, 1, true}, 19, 3000},
                                           EquivalenceCase{{2, 101, 1, false}, 23, 4000},
                                           EquivalenceCase{{9, 1803, 0, true}, 29, 1000},
                                           EquivalenceCase{{1, 3, 0, false}, 31, 2000}));

// The three zero-length cases. The fixtures place particle `p` so that the
// direction from its eye copy, its steering vector, or (as in the first step
// after seeding) the sum of its unit heading and steering vector has no
// length.
enum class ZeroLength { Direction, Steering, Heading };

void placeZeroLength(Field& f, int p, ZeroLength which) {
  const Vector3F eye = f.eye[p];
  switch (which) {
    case ZeroLength::Direction: f.loc[p] = eye; break;
    case ZeroLength::Steering:
      // Straight above the eye copy the turn leaves the direction (0, 0, 1),
      // and at speed 4 and radius factor 1 the orbit point is 80 above it.
      f.vel[p] = 4.0f;
      f.loc[p] = {eye.x, eye.y, 80.0f + eye.z};
      break;
    case ZeroLength::Heading:
      // Speed 8 puts the orbit point on the eye copy, straight behind a
      // particle heading away from it.
      f.vel[p] = 8.0f;
      f.loc[p] = {eye.x + 1.0f, eye.y, eye.z};
      f.ve[p] = {1.0f, 0.0f, 0.0f};
      break;
  }
}

// Seven particles: one run of four, then three after it.
TEST(StepEquivalence, ZeroLengthGuardsInEveryLane) {
  for (const ZeroLength which : {ZeroLength::Direction, ZeroLength::Steering, ZeroLength::Heading}) {
    for (int p = 0; p < 7; ++p) {
      Field field;
      seedField(field, {1, 7, 0, false}, 41);
      field.rad = 1.0f;
      placeZeroLength(field, p, which);
      const StepState before = stateOf(field);
      StepState expected = before;
      straightforwardStep(field, expected);
      field.model_handle_particles();
      const StepState actual = stateOf(field);
      const auto where = ::testing::Message() << "case " << static_cast<int>(which) << " particle " << p;
      EXPECT_TRUE(sameBits(actual.loc, expected.loc) && sameBits(actual.ve, expected.ve) &&
                  sameBits(actual.yrp, expected.yrp) && sameBits(actual.color, expected.color))
          << where;
      // The guard took hold: the heading is kept and the particle moves by it.
      const Vector3F v = before.ve[p];
      EXPECT_TRUE(actual.ve[p].x == v.x && actual.ve[p].y == v.y && actual.ve[p].z == v.z) << where;
      EXPECT_EQ(actual.loc[p].x, before.loc[p].x + v.x) << where;
    }
  }
}

}  // namespace
