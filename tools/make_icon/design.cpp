#include "design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A fully saturated colour of the hue (0 to 360 degrees), lightened.
Rgb hueColor(double degrees) {
  const auto channel = [&](double offset) {
    const double h = std::fmod(degrees / 60.0 + offset, 6.0);
    const double pure = std::clamp(std::abs(h - 3.0) - 1.0, 0.0, 1.0);
    return 0.25 + 0.75 * pure;
  };
  return {channel(0.0), channel(4.0), channel(2.0)};
}

Rgb towardsWhite(Rgb c, double amount) {
  return {c.red + (1 - c.red) * amount, c.green + (1 - c.green) * amount, c.blue + (1 - c.blue) * amount};
}

}  // namespace

Backdrop iconBackdrop() {
  return {0.0625, 0.1875, {0.110, 0.063, 0.251}, {0.027, 0.012, 0.071}};
}

// Three arms of particles spiral out of a bright eye, growing and changing
// hue as they go, like a cyclone of the saver seen from above; the outer
// particles are painted last.
std::vector<Glow> iconGlows() {
  constexpr int kArms = 3;
  constexpr int kPerArm = 8;
  std::vector<Glow> glows{{0.5, 0.5, 0.14, {1.0, 1.0, 1.0}, towardsWhite(hueColor(210.0), 0.4)}};
  for (int i = 0; i < kPerArm; ++i) {
    const double t = static_cast<double>(i) / (kPerArm - 1);
    for (int arm = 0; arm < kArms; ++arm) {
      const double degrees = arm * 360.0 / kArms - 90.0 + t * 170.0;
      const double distance = 0.08 + 0.3 * t;
      const Rgb color = hueColor(arm * 120.0 + 200.0 + t * 80.0);
      glows.push_back({0.5 + distance * std::cos(degrees * std::numbers::pi / 180.0),
                       0.5 + distance * std::sin(degrees * std::numbers::pi / 180.0), 0.03 + 0.035 * t,
                       towardsWhite(color, 0.7), color});
    }
  }
  return glows;
}
