#include <cmath>

#include "simulation/field.h"

namespace {

// Normalises v unless it has no length; a zero vector has no direction, and
// dividing by zero would bring NaN into the field.
bool normaliseIfPossible(Vector3F* v) {
  const float length = v_len(v);
  if (length == 0.0f) {
    return false;
  }
  v_div(v, length);
  return true;
}

}  // namespace

void Field::model_handle_particles() {
  const int32_t k = no_cyclones;
  const int32_t n = no_particles;
  for (int32_t p = 0; p < n; ++p) {
    prevLoc[p] = loc[p];

    Vector3F d;
    v_sub(&d, loc[p], eye[p]);
    if (normaliseIfPossible(&d)) {
      const float c = cosine[p];
      const float s = sine[p];
      const Vector3F r{d.x * c - (dir * d.y) * s, d.y * c + (dir * d.x) * s, d.z};
      const auto radius =
          static_cast<float>(static_cast<double>(rad) * (static_cast<double>(vel[p]) * -20.0 + 160.0));
      Vector3F t{radius * r.x + eye[p].x - loc[p].x, radius * r.y + eye[p].y - loc[p].y,
                 radius * r.z + eye[p].z - loc[p].z};
      if (normaliseIfPossible(&t)) {
        Vector3F heading;
        v_add(&heading, ve[p], t);
        if (normaliseIfPossible(&heading)) {
          v_mult(&heading, vel[p]);
          ve[p] = heading;
        }
      }
    }

    v_add(&loc[p], loc[p], ve[p]);

    const float dy = prevLoc[p].y - loc[p].y;
    const float dx = prevLoc[p].x - loc[p].x;
    yrp[p] = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180.0 /
                                3.141592653589793);

    const CycloneStatus& status = statusCount[p % k];
    color[p].a = static_cast<float>(
        std::sin(static_cast<double>(tick) * 6.283185307179586 * status.pulseRate / 123.4) * 0.3 + 0.7);

    if (color_mode_particle == 0) {
      auto depth = static_cast<float>(static_cast<double>(loc[p].z) / -500.0);
      if (depth > 0.5f) {
        depth = 0.5f;
      }
      if (depth < 0.0f) {
        depth = 0.0f;
      }
      HSVtoRGB(&color[p].r, &color[p].g, &color[p].b, status.hue, status.saturation,
               static_cast<float>(1.0 - static_cast<double>(depth)));
    }
  }
}
