#include "settings/overrides.h"

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

}  // namespace

void applyOverrides(const SettingsOverrides& overrides, Settings& settings) {
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
