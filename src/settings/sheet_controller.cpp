#include "settings/sheet_controller.h"

#include <cmath>
#include <limits>
#include <string>

using namespace outlet;

namespace {

int32_t low32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

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

// The four floats are read in the order alpha, blue, green, red.
ColorRGBA storedColor(ScreenSaverDefaults& defaults, const std::string& prefix) {
  const float alpha = defaults.floatForKey(prefix + " alpha");
  const float blue = defaults.floatForKey(prefix + " blue");
  const float green = defaults.floatForKey(prefix + " green");
  const float red = defaults.floatForKey(prefix + " red");
  return {red, green, blue, alpha};
}

// Written in the order red, green, blue, alpha.
void storeColor(ScreenSaverDefaults& defaults, const std::string& prefix, ColorRGBA color) {
  defaults.setFloat(color.r, prefix + " red");
  defaults.setFloat(color.g, prefix + " green");
  defaults.setFloat(color.b, prefix + " blue");
  defaults.setFloat(color.a, prefix + " alpha");
}

// A count's slider takes the stored integer as a double, its text field as
// a whole number.
void showCount(Control* slider, Control* text, ScreenSaverDefaults& defaults, const char* key) {
  const int64_t count = defaults.integerForKey(key);
  setDoubleValue(slider, static_cast<double>(count));
  setIntValue(text, low32(count));
}

}  // namespace

void synchronizeToDefaults(const SheetOutlets& o, ScreenSaverDefaults& defaults) {
  showCount(o.SLDR_no_cyclones, o.TEXT_no_cyclones, defaults, "number of cyclones");
  showCount(o.SLDR_no_particles, o.TEXT_no_particles, defaults, "number of particles");
  selectItemAtIndex(o.PUB_pt_color, defaults.integerForKey("particle color mode"));
  setColor(o.CW_pt, storedColor(defaults, "particle color"));
  selectItemAtIndex(o.PUB_bg_color, defaults.integerForKey("background color mode"));
  setColor(o.CW_bg, storedColor(defaults, "background color"));
  selectItemAtIndex(o.PUB_shape, defaults.integerForKey("particle shape"));
  setDoubleValue(o.SLDR_scale_particle, static_cast<double>(defaults.floatForKey("particle scale")));
  setState(o.SWTCH_afterimage, defaults.integerForKey("show afterimage") != 0 ? 1 : 0);
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
  defaults.setInteger(truncated(doubleValue(o.SLDR_no_cyclones)), "number of cyclones");
  defaults.setInteger(truncated(doubleValue(o.SLDR_no_particles)), "number of particles");
  defaults.setInteger(indexOfSelectedItem(o.PUB_pt_color), "particle color mode");
  storeColor(defaults, "particle color", color(o.CW_pt));
  defaults.setInteger(indexOfSelectedItem(o.PUB_bg_color), "background color mode");
  storeColor(defaults, "background color", color(o.CW_bg));
  defaults.setInteger(indexOfSelectedItem(o.PUB_shape), "particle shape");
  defaults.setFloat(static_cast<float>(doubleValue(o.SLDR_scale_particle)), "particle scale");
  defaults.setBool(state(o.SWTCH_afterimage) == 1, "show afterimage");
  defaults.synchronize();
  model_init();
}
