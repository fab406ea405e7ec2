#include "settings/key_values.h"

#include <string>

int64_t integerFor(ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  return defaults.integerForKey(std::string(key.name));
}

float floatFor(ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  return defaults.floatForKey(std::string(key.name));
}

bool boolFor(ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  return defaults.boolForKey(std::string(key.name));
}

void setInteger(ScreenSaverDefaults& defaults, const PreferenceKey& key, int64_t value) {
  defaults.setInteger(value, std::string(key.name));
}

void setFloat(ScreenSaverDefaults& defaults, const PreferenceKey& key, float value) {
  defaults.setFloat(value, std::string(key.name));
}

void setBool(ScreenSaverDefaults& defaults, const PreferenceKey& key, bool value) {
  defaults.setBool(value, std::string(key.name));
}

ColorRGBA readColor(ScreenSaverDefaults& defaults, const ColorKeys& keys) {
  ColorRGBA color;
  color.a = floatFor(defaults, keys.alpha);
  color.b = floatFor(defaults, keys.blue);
  color.g = floatFor(defaults, keys.green);
  color.r = floatFor(defaults, keys.red);
  return color;
}

void writeColor(ScreenSaverDefaults& defaults, const ColorKeys& keys, ColorRGBA color) {
  setFloat(defaults, keys.red, color.r);
  setFloat(defaults, keys.green, color.g);
  setFloat(defaults, keys.blue, color.b);
  setFloat(defaults, keys.alpha, color.a);
}
