#pragma once

#include <cstdint>
#include <optional>

#include "simulation/field.h"

// Settings given for one run (on the command line) that win over the store's
// for every seeding of that run. They are never written to the store.
struct SettingsOverrides {
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

// Puts the overrides over settings that loadDefaults has just read.
void applyOverrides(const SettingsOverrides& overrides, Settings& settings);
