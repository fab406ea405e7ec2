#include "settings/overrides.h"

#include "settings/keys.h"

namespace {

// Mode 0 with no colour given keeps the stored colour, which that mode does
// not show.
void applyColor(const std::optional<std::optional<ColorRGBA>>& choice, int32_t& mode,
                std::optional<ColorRGBA>& color) {
  if (!choice) {
    return;
  }
  if (*choice) {
    mode = 1;
    color = **choice;
  } else {
    mode = 0;
  }
}

// What loadDefaults reads from an empty store: every key 0, the limited ones
// held to the low end of their range.
void setBuiltInDefaults(Settings& settings) {
  settings.no_cyclones = static_cast<int32_t>(key::cyclones.range->low);
  settings.no_particles = static_cast<int32_t>(key::particles.range->low) * settings.no_cyclones;
  settings.color_mode_particle = 0;
  settings.color_particle = ColorRGBA{0.0f, 0.0f, 0.0f, 0.0f};
  settings.color_mode_background = 0;
  settings.color_background = ColorRGBA{0.0f, 0.0f, 0.0f, 0.0f};
  settings.particle_shape = static_cast<int32_t>(key::shape.range->low);
  settings.particle_scale = static_cast<float>(key::scale.range->low);
  settings.show_ai = 0;
}

}  // namespace

void applyOverrides(const SettingsOverrides& overrides, Settings& settings) {
  if (overrides.storeIgnored) {
    setBuiltInDefaults(settings);
  }
  if (overrides.cyclones || overrides.particlesPerCyclone) {
    // no_particles holds the total; the store's count is per cyclone.
    const int32_t perCyclone =
        overrides.particlesPerCyclone.value_or(settings.no_particles / settings.no_cyclones);
    settings.no_cyclones = overrides.cyclones.value_or(settings.no_cyclones);
    settings.no_particles = perCyclone * settings.no_cyclones;
  }
  if (overrides.shape) {
    settings.particle_shape = *overrides.shape;
  }
  if (overrides.scale) {
    settings.particle_scale = *overrides.scale;
  }
  if (overrides.afterimages) {
    settings.show_ai = *overrides.afterimages ? 1 : 0;
  }
  applyColor(overrides.particleColor, settings.color_mode_particle, settings.color_particle);
  applyColor(overrides.backgroundColor, settings.color_mode_background, settings.color_background);
}
