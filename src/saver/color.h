#pragma once

#include "simulation/vector.h"

// The framework's calibrated RGB colours as plain values.
inline ColorRGBA colorWithCalibratedRed(float red, float green, float blue, float alpha) {
  return {red, green, blue, alpha};
}
inline ColorRGBA magentaColor() {
  return {1.0f, 0.0f, 1.0f, 1.0f};
}
inline ColorRGBA blackColor() {
  return {0.0f, 0.0f, 0.0f, 1.0f};
}
