#include "settings/load_defaults.h"

#include <cmath>
#include <cstdint>

#include "settings/key_values.h"

namespace {

// An integer key held to its range and written back.
int32_t limitedInteger(ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  int32_t value = low32(integerFor(defaults, key));
  const auto low = static_cast<int32_t>(key.range->low);
  const auto high = static_cast<int32_t>(key.range->high);
  if (value < low) {
    value = low;
  }
  if (value > high) {
    value = high;
  }
  setInteger(defaults, key, value);
  return value;
}

// A float key held to its range and written back.
float limitedFloat(ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  float value = floatFor(defaults, key);
  const auto low = static_cast<float>(key.range->low);
  const auto high = static_cast<float>(key.range->high);
  // NaN fails both comparisons below and would pass through unlimited.
  if (std::isnan(value) || value < low) {
    value = low;
  }
  if (value > high) {
    value = high;
  }
  setFloat(defaults, key, value);
  return value;
}

}  // namespace

void loadDefaults(ScreenSaverDefaults& defaults, Settings& settings) {
  settings.isRotationOn = 1;

  const int32_t cyclones = limitedInteger(defaults, key::cyclones);
  settings.no_cyclones = cyclones;
  settings.no_particles = limitedInteger(defaults, key::particles) * cyclones;

  settings.color_mode_particle = low32(integerFor(defaults, key::particleColorMode));
  settings.color_particle = readColor(defaults, kParticleColorKeys);

  settings.color_mode_background = low32(integerFor(defaults, key::backgroundColorMode));
  settings.color_background = readColor(defaults, kBackgroundColorKeys);

  settings.particle_shape = limitedInteger(defaults, key::shape);
  settings.particle_scale = limitedFloat(defaults, key::scale);

  settings.show_ai = boolFor(defaults, key::afterimage) ? 1 : 0;
}
