#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "simulation/field.h"

// The step runs in two passes. The first moves every particle (its direction
// from the eye copy, the orbit point, the steering and the new heading and
// position), four at a time where SSE2 is there; then come the facing
// angles, which need the maths library's atan2, and the opacity and colour. A particle's step reads only its
// own records and values shared by the whole frame, so splitting the loop changes no result.

namespace {

// Single-precision length and division as v_len and v_div take them. A zero
// vector has no direction, and dividing by zero would bring NaN into the
// field, so it is left as it is and reported.
bool normaliseIfPossible(Vector3F& v) {
  const float length = std::sqrt((v.x * v.x + v.y * v.y) + v.z * v.z);
  if (length == 0.0f) {
    return false;
  }
  v = {v.x / length, v.y / length, v.z / length};
  return true;
}

// One particle moved; a zero-length direction, steering vector or heading
// leaves the heading as it was for this frame.
void steer(Field& f, int32_t p) {
  const Vector3F loc = f.loc[p];
  const Vector3F eye = f.eye[p];
  Vector3F heading = f.ve[p];
  f.prevLoc[p] = loc;

  Vector3F d{loc.x - eye.x, loc.y - eye.y, loc.z - eye.z};
  if (normaliseIfPossible(d)) {
    const float c = f.cosine[p];
    const float s = f.sine[p];
    const Vector3F r{d.x * c - (f.dir * d.y) * s, d.y * c + (f.dir * d.x) * s, d.z};
    const auto radius =
        static_cast<float>(static_cast<double>(f.rad) * (static_cast<double>(f.vel[p]) * -20.0 + 160.0));
    Vector3F t{radius * r.x + eye.x - loc.x, radius * r.y + eye.y - loc.y, radius * r.z + eye.z - loc.z};
    if (normaliseIfPossible(t)) {
      Vector3F sum{heading.x + t.x, heading.y + t.y, heading.z + t.z};
      if (normaliseIfPossible(sum)) {
        heading = {sum.x * f.vel[p], sum.y * f.vel[p], sum.z * f.vel[p]};
      }
    }
  }
  f.ve[p] = heading;
  f.loc[p] = {loc.x + heading.x, loc.y + heading.y, loc.z + heading.z};
}

#if defined(__SSE2__)
// Four particles side by side, one per lane. addps, subps, mulps, divps and
// sqrtps round each lane exactly as the scalar instructions round, so with
// every operation kept in the scalar order each lane is bit for bit what
// steer() gives. The zero-length cases are computed too and then dropped by
// the lane masks, which pick the old heading where steer() keeps it.
struct Lanes {
  __m128 x, y, z;
};
static_assert(sizeof(Vector3F) == 3 * sizeof(float), "records are read and written as rows of floats");

// The lane order (i0, i1, i2, i3) as _mm_shuffle_ps takes it. Unoptimised
// builds make the shuffle a macro over a builtin that needs an immediate: so
// a constant, not a function call, and in parentheses for the macro.
template <int i0, int i1, int i2, int i3>
constexpr int lanes = _MM_SHUFFLE(i3, i2, i1, i0);

// Four records x0 y0 z0 x1 | y1 z1 x2 y2 | z2 x3 y3 z3 turned into one
// register per component, and back; moves only, no arithmetic.
Lanes gather(const Vector3F* v) {
  const __m128 a = _mm_loadu_ps(&v[0].x);
  const __m128 b = _mm_loadu_ps(&v[0].x + 4);
  const __m128 c = _mm_loadu_ps(&v[0].x + 8);
  const __m128 x = _mm_shuffle_ps(a, _mm_shuffle_ps(b, c, (lanes<2, 2, 1, 1>)), (lanes<0, 3, 0, 2>));
  const __m128 y = _mm_shuffle_ps(_mm_shuffle_ps(a, b, (lanes<1, 1, 0, 0>)),
                                  _mm_shuffle_ps(b, c, (lanes<3, 3, 2, 2>)), (lanes<0, 2, 0, 2>));
  const __m128 z = _mm_shuffle_ps(_mm_shuffle_ps(a, b, (lanes<2, 2, 1, 1>)),
                                  _mm_shuffle_ps(c, c, (lanes<0, 0, 3, 3>)), (lanes<0, 2, 0, 2>));
  return {x, y, z};
}

void scatter(Vector3F* v, const Lanes& l) {
  const __m128 xyLow = _mm_unpacklo_ps(l.x, l.y);   // x0 y0 x1 y1
  const __m128 xyHigh = _mm_unpackhi_ps(l.x, l.y);  // x2 y2 x3 y3
  const __m128 a = _mm_shuffle_ps(xyLow, _mm_shuffle_ps(l.z, l.x, (lanes<0, 0, 1, 1>)), (lanes<0, 1, 0, 2>));
  const __m128 b = _mm_shuffle_ps(_mm_shuffle_ps(l.y, l.z, (lanes<1, 1, 1, 1>)), xyHigh, (lanes<0, 2, 0, 1>));
  const __m128 zxy = _mm_shuffle_ps(l.z, xyHigh, (lanes<2, 3, 2, 3>));  // z2 z3 x3 y3
  _mm_storeu_ps(&v[0].x, a);
  _mm_storeu_ps(&v[0].x + 4, b);
  _mm_storeu_ps(&v[0].x + 8, _mm_shuffle_ps(zxy, zxy, (lanes<0, 2, 3, 1>)));
}

__m128 lengthOf(const Lanes& v) {
  return _mm_sqrt_ps(
      _mm_add_ps(_mm_add_ps(_mm_mul_ps(v.x, v.x), _mm_mul_ps(v.y, v.y)), _mm_mul_ps(v.z, v.z)));
}

Lanes dividedBy(const Lanes& v, __m128 s) {
  return {_mm_div_ps(v.x, s), _mm_div_ps(v.y, s), _mm_div_ps(v.z, s)};
}

__m128 pick(__m128 mask, __m128 yes, __m128 no) {
  return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

// rad · (vel · -20 + 160) in double, two lanes per register; the widening is
// exact and the narrowing rounds as a float conversion does.
__m128 orbitRadius(float rad, __m128 vel) {
  const __m128d r = _mm_set1_pd(rad);
  const auto radius = [&r](__m128d v) {
    return _mm_cvtpd_ps(_mm_mul_pd(r, _mm_add_pd(_mm_mul_pd(v, _mm_set1_pd(-20.0)), _mm_set1_pd(160.0))));
  };
  return _mm_movelh_ps(radius(_mm_cvtps_pd(vel)), radius(_mm_cvtps_pd(_mm_movehl_ps(vel, vel))));
}

void steerFour(Field& f, int32_t p) {
  const Lanes loc = gather(&f.loc[p]);
  const Lanes eye = gather(&f.eye[p]);
  const Lanes ve = gather(&f.ve[p]);
  const __m128 c = _mm_loadu_ps(&f.cosine[p]);
  const __m128 s = _mm_loadu_ps(&f.sine[p]);
  const __m128 vel = _mm_loadu_ps(&f.vel[p]);
  const __m128 dir = _mm_set1_ps(f.dir);
  std::memcpy(&f.prevLoc[p], &f.loc[p], 4 * sizeof(Vector3F));

  const Lanes toParticle{_mm_sub_ps(loc.x, eye.x), _mm_sub_ps(loc.y, eye.y), _mm_sub_ps(loc.z, eye.z)};
  const __m128 dLength = lengthOf(toParticle);
  const Lanes d = dividedBy(toParticle, dLength);
  const Lanes r{_mm_sub_ps(_mm_mul_ps(d.x, c), _mm_mul_ps(_mm_mul_ps(dir, d.y), s)),
                _mm_add_ps(_mm_mul_ps(d.y, c), _mm_mul_ps(_mm_mul_ps(dir, d.x), s)), d.z};
  const __m128 radius = orbitRadius(f.rad, vel);
  const Lanes toOrbit{_mm_sub_ps(_mm_add_ps(_mm_mul_ps(radius, r.x), eye.x), loc.x),
                      _mm_sub_ps(_mm_add_ps(_mm_mul_ps(radius, r.y), eye.y), loc.y),
                      _mm_sub_ps(_mm_add_ps(_mm_mul_ps(radius, r.z), eye.z), loc.z)};
  const __m128 tLength = lengthOf(toOrbit);
  const Lanes t = dividedBy(toOrbit, tLength);
  const Lanes sum{_mm_add_ps(ve.x, t.x), _mm_add_ps(ve.y, t.y), _mm_add_ps(ve.z, t.z)};
  const __m128 sumLength = lengthOf(sum);
  const Lanes unit = dividedBy(sum, sumLength);

  // cmpneq is also true for NaN, as "length == 0" is false for it in steer().
  const __m128 zero = _mm_setzero_ps();
  const __m128 steered = _mm_and_ps(_mm_and_ps(_mm_cmpneq_ps(dLength, zero), _mm_cmpneq_ps(tLength, zero)),
                                    _mm_cmpneq_ps(sumLength, zero));
  const Lanes heading{pick(steered, _mm_mul_ps(unit.x, vel), ve.x),
                      pick(steered, _mm_mul_ps(unit.y, vel), ve.y),
                      pick(steered, _mm_mul_ps(unit.z, vel), ve.z)};
  scatter(&f.ve[p], heading);
  scatter(&f.loc[p],
          {_mm_add_ps(loc.x, heading.x), _mm_add_ps(loc.y, heading.y), _mm_add_ps(loc.z, heading.z)});
}
#endif

}  // namespace

void Field::model_handle_particles() {
  const int32_t k = no_cyclones;
  const int32_t n = no_particles;

  int32_t p = 0;
#if defined(__SSE2__)
  for (; p + 4 <= n; p += 4) {
    steerFour(*this, p);
  }
#endif
  for (; p < n; ++p) {
    steer(*this, p);
  }

  // The pulse and the hue's part of the colour depend only on the tick and
  // the cyclone: the same expressions, taken once per cyclone instead of
  // once per particle.
  for (int32_t c = 0; c < k; ++c) {
    const CycloneStatus& status = statusCount[c];
    cycloneShade[c].alpha = static_cast<float>(
        std::sin(static_cast<double>(tick) * 6.283185307179586 * status.pulseRate / 123.4) * 0.3 + 0.7);
    cycloneShade[c].hue = hueTerms(status.hue, status.saturation);
  }

  // atan2 in runs of particles with nothing else in the loop, so that the
  // calls follow one another; the scaling to degrees, the same double
  // multiplication and division, then runs over the whole run.
  constexpr int32_t kRun = 64;
  double angle[kRun];
  for (int32_t first = 0; first < n; first += kRun) {
    const int32_t count = n - first < kRun ? n - first : kRun;
    for (int32_t i = 0; i < count; ++i) {
      const float dy = prevLoc[first + i].y - loc[first + i].y;
      const float dx = prevLoc[first + i].x - loc[first + i].x;
      angle[i] = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    }
    for (int32_t i = 0; i < count; ++i) {
      yrp[first + i] = static_cast<float>(angle[i] * 180.0 / 3.141592653589793);
    }
  }

  // c counts the particle's cyclone, p % k, along.
  int32_t c = 0;
  for (p = 0; p < n; ++p) {
    const CycloneShade& shade = cycloneShade[c];
    color[p].a = shade.alpha;
    if (color_mode_particle == 0) {
      auto depth = static_cast<float>(static_cast<double>(loc[p].z) / -500.0);
      if (depth > 0.5f) {
        depth = 0.5f;
      }
      if (depth < 0.0f) {
        depth = 0.0f;
      }
      applyHueTerms(shade.hue, static_cast<float>(1.0 - static_cast<double>(depth)), &color[p].r, &color[p].g,
                    &color[p].b);
    }
    if (++c == k) {
      c = 0;
    }
  }
}
