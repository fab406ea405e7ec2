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
  if (saturation == 0.0f) {
    *r = value;
    *g = value;
    *b = value;
    return;
  }
  const float hh = hue / 360.0f * 6.0f;
  const float i = std::floor(hh);
  const float f = hh - i;
  const double s = saturation;
  const double v = value;
  const auto p = static_cast<float>((1.0 - s) * v);
  const auto q = static_cast<float>((1.0 - static_cast<double>(saturation * f)) * v);
  const auto t = static_cast<float>((1.0 - s * (1.0 - static_cast<double>(f))) * v);
  // NaN and hues outside [0, 360) fall through every case and write nothing.
  if (!(i >= 0.0f && i <= 5.0f)) {
    return;
  }
  switch (static_cast<int>(i)) {
    case 0: *r = value, *g = t, *b = p; break;
    case 1: *r = q, *g = value, *b = p; break;
    case 2: *r = p, *g = value, *b = t; break;
    case 3: *r = p, *g = q, *b = value; break;
    case 4: *r = t, *g = p, *b = value; break;
    case 5: *r = value, *g = p, *b = q; break;
  }
}
