#include "simulation/vector.h"

#include <cmath>

void v_copy(Vector3F* destination, const Vector3F* source) {
  *destination = *source;
}

void v_add(Vector3F* result, Vector3F a, Vector3F b) {
  result->x = a.x + b.x;
  result->y = a.y + b.y;
  result->z = a.z + b.z;
}

void v_sub(Vector3F* result, Vector3F a, Vector3F b) {
  result->x = a.x - b.x;
  result->y = a.y - b.y;
  result->z = a.z - b.z;
}

void v_mult(Vector3F* v, float s) {
  v->x *= s;
  v->y *= s;
  v->z *= s;
}

void v_div(Vector3F* v, float s) {
  v->x /= s;
  v->y /= s;
  v->z /= s;
}

void v_adds(Vector3F* result, const Vector3F* a, const Vector3F* b, float s) {
  result->x = s * b->x + a->x;
  result->y = s * b->y + a->y;
  result->z = s * b->z + a->z;
}

float v_len(const Vector3F* v) {
  return std::sqrt((v->x * v->x + v->y * v->y) + v->z * v->z);
}

void v_norm(Vector3F* v) {
  v_div(v, v_len(v));
}

void HSVtoRGB(float* r, float* g, float* b, float hue, float saturation, float value) {
  applyHueTerms(hueTerms(hue, saturation), value, r, g, b);
}

HueTerms hueTerms(float hue, float saturation) {
  if (saturation == 0.0f) {
    return {true, {0, 0, 0}, 0.0, 0.0, 0.0};
  }
  const float hh = hue / 360.0f * 6.0f;
  const float i = std::floor(hh);
  const float f = hh - i;
  const double s = saturation;
  // Each term is the double factor that multiplies the value; taking it
  // before the value is known changes no rounding, as the value enters last.
  HueTerms terms{false,
                 {0, 0, 0},
                 1.0 - s,
                 1.0 - static_cast<double>(saturation * f),
                 1.0 - s * (1.0 - static_cast<double>(f))};
  // NaN and hues outside [0, 360) match no sector and write nothing.
  if (!(i >= 0.0f && i <= 5.0f)) {
    return terms;
  }
  static constexpr unsigned char kSectors[6][3] = {{0, 3, 1}, {2, 0, 1}, {1, 0, 3},
                                                   {1, 2, 0}, {3, 1, 0}, {0, 1, 2}};
  const auto* sector = kSectors[static_cast<int>(i)];
  terms.writes = true;
  terms.from[0] = sector[0];
  terms.from[1] = sector[1];
  terms.from[2] = sector[2];
  return terms;
}
