#pragma once

// The records that carry all geometry and colour of the field, and the
// functions on them. All vector arithmetic is single precision, component by
// component in the order x, y, z.

struct Vector3F {
  float x;
  float y;
  float z;
};

struct ColorRGBA {
  float r;
  float g;
  float b;
  float a;
};

void v_copy(Vector3F* destination, const Vector3F* source);
void v_add(Vector3F* result, Vector3F a, Vector3F b);
void v_sub(Vector3F* result, Vector3F a, Vector3F b);
void v_mult(Vector3F* v, float s);
// Three divisions, not a multiplication by 1/s: the rounding differs.
void v_div(Vector3F* v, float s);
// result = a + s * b
void v_adds(Vector3F* result, const Vector3F* a, const Vector3F* b, float s);
// sqrt((x*x + y*y) + z*z) in single precision.
float v_len(const Vector3F* v);
void v_norm(Vector3F* v);

// Hue in degrees [0, 360), saturation and value in [0, 1]. A hue outside
// [0, 360) with a non-zero saturation writes nothing.
void HSVtoRGB(float* r, float* g, float* b, float hue, float saturation, float value);

// HSVtoRGB in two halves: what depends only on the hue and saturation, and
// the value's part. Many colours of one hue share the first half; together
// they give HSVtoRGB's result bit for bit.
struct HueTerms {
  bool writes;            // false for a hue outside [0, 360)
  unsigned char from[3];  // red, green, blue: 0 value, 1 p, 2 q, 3 t
  double p;               // 1 - s
  double q;               // 1 - s·f, the product in single precision
  double t;               // 1 - s·(1 - f)
};
HueTerms hueTerms(float hue, float saturation);
inline void applyHueTerms(const HueTerms& terms, float value, float* r, float* g, float* b) {
  if (!terms.writes) {
    return;
  }
  const double v = value;
  const float shades[4] = {value, static_cast<float>(terms.p * v), static_cast<float>(terms.q * v),
                           static_cast<float>(terms.t * v)};
  *r = shades[terms.from[0]];
  *g = shades[terms.from[1]];
  *b = shades[terms.from[2]];
}
