#include "settings/load_defaults.h"

#include <cmath>
#include <cstdint>

namespace {

int32_t low32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The four floats are read in the order alpha, blue, green, red.
ColorRGBA readColor(ScreenSaverDefaults& defaults, const char* prefix) {
  const std::string p(prefix);
  ColorRGBA color;
  color.a = defaults.floatForKey(p + " alpha");
  color.b = defaults.floatForKey(p + " blue");
  color.g = defaults.floatForKey(p + " green");
  color.r = defaults.floatForKey(p + " red");
  return color;
}

}  // namespace

void loadDefaults(ScreenSaverDefaults& defaults, Settings& settings) {
  settings.isRotationOn = 1;

  int32_t cyclones = low32(defaults.integerForKey("number of cyclones"));
  if (cyclones <= 0) {
    cyclones = 1;
  }
  if (cyclones > 10) {
    cyclones = 10;
  }
  settings.no_cyclones = cyclones;
  defaults.setInteger(cyclones, "number of cyclones");

  int32_t particles = low32(defaults.integerForKey("number of particles"));
  if (particles <= 49) {
    particles = 50;
  }
  if (particles > 200) {
    particles = 200;
  }
  defaults.setInteger(particles, "number of particles");
  settings.no_particles = particles * cyclones;

  settings.color_mode_particle = low32(defaults.integerForKey("particle color mode"));
  settings.color_particle = readColor(defaults, "particle color");

  settings.color_mode_background = low32(defaults.integerForKey("background color mode"));
  settings.color_background = readColor(defaults, "background color");

  int32_t shape = low32(defaults.integerForKey("particle shape"));
  if (shape < 0) {
    shape = 0;
  }
  if (shape > 9) {
    shape = 9;
  }
  settings.particle_shape = shape;
  defaults.setInteger(shape, "particle shape");

  float scale = defaults.floatForKey("particle scale");
  // NaN fails both comparisons below and would pass through unlimited.
  if (std::isnan(scale) || scale < 0.5f) {
    scale = 0.5f;
  }
  if (scale > 2.0f) {
    scale = 2.0f;
  }
  settings.particle_scale = scale;
  defaults.setFloat(scale, "particle scale");

  settings.show_ai = defaults.boolForKey("show afterimage") ? 1 : 0;
}
