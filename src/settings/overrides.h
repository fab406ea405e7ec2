#pragma once

#include <cstdint>
#include <optional>

#include "simulation/field.h"

// Settings given for one run (on the command line) that win over the store's
// for every seeding of that run. They are never written to the store.
struct SettingsOverrides {
  // Settings not given here take the values of an empty store, the built-in
  // defaults, instead of the stored ones.
  bool storeIgnored = false;
  std::optional<int32_t> cyclones;             // 1 to 10
  std::optional<int32_t> particlesPerCyclone;  // 50 to 200
  std::optional<int32_t> shape;                // 0 to 9
  std::optional<float> scale;                  // 0.5 to 2.0
  std::optional<bool> afterimages;
  // Absent: as stored. An empty colour: the cyclones' hues.
  std::optional<std::optional<ColorRGBA>> particleColor;
  // Absent: as stored. An empty colour: the slowly cycling dark hues.
  std::optional<std::optional<ColorRGBA>> backgroundColor;
};

// Puts the overrides over settings that loadDefaults has just read (over the
// built-in defaults instead when the store is ignored).
void applyOverrides(const SettingsOverrides& overrides, Settings& settings);
