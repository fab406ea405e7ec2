#include <cmath>
#include <cstdlib>

#include "simulation/field.h"

namespace {

void hueShift(CycloneStatus& s) {
  s.hue = static_cast<float>(std::fmod(static_cast<double>(s.hue) + 10.0, 360.0));
  s.saturation = static_cast<float>(static_cast<double>(random() % 100) * 0.2 / 100.0 + 0.5);
}

// A countdown timer fires when its decremented value drops below zero.
bool countDown(int32_t& timer) {
  return --timer < 0;
}

}  // namespace

void Field::model_handle_events() {
  const int32_t k = no_cyclones;
  const int32_t n = no_particles;
  for (int32_t j = 0; j < k; ++j) {
    CycloneStatus& s = statusCount[j];

    eye[j].z = static_cast<float>(static_cast<double>(eye[j].z) + (unitDraw() * 0.02 - 0.01));

    if (countDown(s.moveTimer)) {
      s.moveTimer = static_cast<int32_t>(random() % 2300);
      hueShift(s);
      const auto x = static_cast<float>(unitDraw() * 1000.0 - 500.0);
      const auto y = static_cast<float>(unitDraw() * 1000.0 - 500.0);
      for (int32_t p = j; p < n; p += k) {
        eye[p].x = x;
        eye[p].y = y;
      }
    }

    if (countDown(s.effectTimer)) {
      s.effectTimer = static_cast<int32_t>(random() % 2000);
      doEffectNumber(s.effectTimer % 7, j);
      hueShift(s);
    }

    if (countDown(s.depthTimer)) {
      s.depthTimer = static_cast<int32_t>(random() % 1700);
      hueShift(s);
      if (random() % 2 == 1) {
        for (int32_t p = j; p < n; p += k) {
          eye[p].z = static_cast<float>(unitDraw() * -430.0 - 20.0);
        }
      } else {
        const auto z = static_cast<float>(unitDraw() * -430.0 - 20.0);
        for (int32_t p = j; p < n; p += k) {
          eye[p].z = z;
        }
      }
    }
  }
}

void Field::doEffectNumber(int number, int eyeIndex) {
  const int32_t k = no_cyclones;
  const int32_t n = no_particles;
  const auto forEachHeading = [&](auto&& change) {
    for (int32_t p = eyeIndex; p < n; p += k) {
      change(ve[p].x, ve[p].y);
    }
  };
  const auto quarterTurn = [&](bool clockwise) {
    forEachHeading([clockwise](float& x, float& y) {
      const float ox = x;
      const float oy = y;
      x = clockwise ? oy : -oy;
      y = clockwise ? -ox : ox;
    });
  };

  switch (number) {
    case 0:
      dir = -dir;
      quarterTurn(dir == -1.0f);
      break;
    case 1: forEachHeading([](float& x, float&) { x = -x; }); break;
    case 2: forEachHeading([](float&, float& y) { y = -y; }); break;
    case 3:
      forEachHeading([](float& x, float& y) {
        x = -x;
        y = -y;
      });
      break;
    case 4:
      dir = -dir;
      quarterTurn(dir != -1.0f);
      break;
    case 5: {
      const double t = static_cast<double>(rad) * 2.0;
      rad = t < 6.4 ? static_cast<float>(t) : 6.4f;
      break;
    }
    case 6: {
      const double t = static_cast<double>(rad) * 0.5;
      rad = t > 0.1 ? static_cast<float>(t) : 0.1f;
      break;
    }
    default: break;
  }
}
