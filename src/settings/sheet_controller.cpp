#include "settings/sheet_controller.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "settings/key_values.h"

using namespace outlet;

namespace {

// A slider's value truncated towards zero. Sliders stay within their
// ranges; a value beyond 32 bits saturates and one that is no number is 0.
int32_t truncated(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

// A count's slider takes the stored integer as a double, its text field as
// a whole number.
void showCount(Control* slider, Control* text, ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  const int64_t count = integerFor(defaults, key);
  setDoubleValue(slider, static_cast<double>(count));
  setIntValue(text, low32(count));
}

// A whole number as seeding holds the key's stored value: its low 32 bits,
// within the key's range.
int32_t limited(int64_t value, const PreferenceKey& key) {
  return std::clamp(low32(value), static_cast<int32_t>(key.range->low),
                    static_cast<int32_t>(key.range->high));
}

// A colour's mode and well as seeding reads them: any mode but 0 shows the
// well's colour.
std::optional<ColorRGBA> chosenColor(const Control* mode, const Control* well) {
  if (low32(indexOfSelectedItem(mode)) == 0) {
    return std::nullopt;
  }
  return color(well);
}

}  // namespace

void synchronizeToDefaults(const SheetOutlets& o, ScreenSaverDefaults& defaults) {
  showCount(o.SLDR_no_cyclones, o.TEXT_no_cyclones, defaults, key::cyclones);
  showCount(o.SLDR_no_particles, o.TEXT_no_particles, defaults, key::particles);
  selectItemAtIndex(o.PUB_pt_color, integerFor(defaults, key::particleColorMode));
  setColor(o.CW_pt, readColor(defaults, kParticleColorKeys));
  selectItemAtIndex(o.PUB_bg_color, integerFor(defaults, key::backgroundColorMode));
  setColor(o.CW_bg, readColor(defaults, kBackgroundColorKeys));
  selectItemAtIndex(o.PUB_shape, integerFor(defaults, key::shape));
  setDoubleValue(o.SLDR_scale_particle, static_cast<double>(floatFor(defaults, key::scale)));
  setState(o.SWTCH_afterimage, integerFor(defaults, key::afterimage) != 0 ? 1 : 0);
}

void changeConfiguration(const SheetOutlets& o, const Control* sender) {
  if (sender == o.SLDR_no_cyclones) {
    setIntValue(o.TEXT_no_cyclones, truncated(doubleValue(o.SLDR_no_cyclones)));
  } else if (sender == o.SLDR_no_particles) {
    setIntValue(o.TEXT_no_particles, truncated(doubleValue(o.SLDR_no_particles)));
  } else if (sender == o.PUB_pt_color) {
    setEnabled(o.CW_pt, indexOfSelectedItem(o.PUB_pt_color) == 1);
  } else if (sender == o.PUB_bg_color) {
    setEnabled(o.CW_bg, indexOfSelectedItem(o.PUB_bg_color) == 1);
  }
  if (!isEnabled(o.BTN_OK)) {
    setEnabled(o.BTN_OK, true);
  }
}

void closeSheet(const SheetOutlets& o, const Control* sender, ScreenSaverDefaults& defaults,
                const std::function<void()>& model_init) {
  const int64_t senderTag = tag(sender);
  endSheet(o.WIN_sheet);
  if (senderTag != kOKTag) {
    return;
  }
  setInteger(defaults, key::cyclones, truncated(doubleValue(o.SLDR_no_cyclones)));
  setInteger(defaults, key::particles, truncated(doubleValue(o.SLDR_no_particles)));
  setInteger(defaults, key::particleColorMode, indexOfSelectedItem(o.PUB_pt_color));
  writeColor(defaults, kParticleColorKeys, color(o.CW_pt));
  setInteger(defaults, key::backgroundColorMode, indexOfSelectedItem(o.PUB_bg_color));
  writeColor(defaults, kBackgroundColorKeys, color(o.CW_bg));
  setInteger(defaults, key::shape, indexOfSelectedItem(o.PUB_shape));
  setFloat(defaults, key::scale, static_cast<float>(doubleValue(o.SLDR_scale_particle)));
  setBool(defaults, key::afterimage, state(o.SWTCH_afterimage) == 1);
  defaults.synchronize();
  model_init();
}

SettingsOverrides sheetOverrides(const SheetOutlets& o) {
  SettingsOverrides overrides;
  overrides.cyclones = limited(truncated(doubleValue(o.SLDR_no_cyclones)), key::cyclones);
  overrides.particlesPerCyclone = limited(truncated(doubleValue(o.SLDR_no_particles)), key::particles);
  overrides.particleColor.emplace(chosenColor(o.PUB_pt_color, o.CW_pt));
  overrides.backgroundColor.emplace(chosenColor(o.PUB_bg_color, o.CW_bg));
  overrides.shape = limited(indexOfSelectedItem(o.PUB_shape), key::shape);
  const auto scale = static_cast<float>(doubleValue(o.SLDR_scale_particle));
  const auto low = static_cast<float>(key::scale.range->low);
  overrides.scale =
      std::isnan(scale) ? low : std::clamp(scale, low, static_cast<float>(key::scale.range->high));
  overrides.afterimages = state(o.SWTCH_afterimage) == 1;
  return overrides;
}
