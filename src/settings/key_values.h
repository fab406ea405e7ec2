#pragma once

#include <cstdint>

#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"
#include "simulation/vector.h"

// The low 32 bits of a stored integer, as a 32-bit setting takes it.
inline int32_t low32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The values of the keys in the store.
int64_t integerFor(ScreenSaverDefaults& defaults, const PreferenceKey& key);
float floatFor(ScreenSaverDefaults& defaults, const PreferenceKey& key);
bool boolFor(ScreenSaverDefaults& defaults, const PreferenceKey& key);
void setInteger(ScreenSaverDefaults& defaults, const PreferenceKey& key, int64_t value);
void setFloat(ScreenSaverDefaults& defaults, const PreferenceKey& key, float value);
void setBool(ScreenSaverDefaults& defaults, const PreferenceKey& key, bool value);

// A stored colour, its four floats read in the order alpha, blue, green,
// red.
ColorRGBA readColor(ScreenSaverDefaults& defaults, const ColorKeys& keys);
// Writes the four floats in the order red, green, blue, alpha.
void writeColor(ScreenSaverDefaults& defaults, const ColorKeys& keys, ColorRGBA color);
