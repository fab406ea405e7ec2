#include <cmath>
#include <cstdlib>

#include "simulation/field.h"

double unitDraw() {
  return static_cast<double>(random()) / 2147483647.0;
}

namespace {

float drawCoordinate() {
  return static_cast<float>(unitDraw() * 1000.0 - 500.0);
}

}  // namespace

void Field::releaseArrays() {
  loc.release();
  prevLoc.release();
  yrp.release();
  color.release();
  ve.release();
  sine.release();
  cosine.release();
  vel.release();
  eye.release();
  statusCount.release();
  cycloneShade.release();
  ai_loc.release();
  ai_cnt.release();
  ai_color.release();
}

void Field::model_init(const SettingsLoader& loadDefaults) {
  // The lead angle is drawn before the settings are read.
  const auto theta = static_cast<float>(unitDraw() * 10.0 + 5.0);
  loadDefaults(*this);

  const auto n = static_cast<std::size_t>(no_particles);
  const auto k = static_cast<std::size_t>(no_cyclones);
  loc.allocate(n);
  prevLoc.allocate(n);
  yrp.allocate(n);
  color.allocate(n);
  ve.allocate(n);
  sine.allocate(n);
  cosine.allocate(n);
  vel.allocate(n);
  eye.allocate(n);
  statusCount.allocate(k);
  cycloneShade.allocate(k);
  ai_loc.release();
  ai_cnt.release();
  ai_color.release();
  if (show_ai == 1) {
    ai_loc.allocate(4 * n);
    ai_cnt.allocate(4 * n);
    ai_color.allocate(4 * n);
  }
  // A field that could not be allocated in full stays empty.
  const bool afterimagesMissing = show_ai == 1 && !(ai_loc && ai_cnt && ai_color);
  if (!(loc && prevLoc && yrp && color && ve && sine && cosine && vel && eye && statusCount &&
        cycloneShade) ||
      afterimagesMissing) {
    releaseArrays();
    return;
  }

  for (std::size_t c = 0; c < k; ++c) {
    CycloneStatus& s = statusCount[c];
    s.moveTimer = static_cast<int32_t>(random() % 2300);
    s.effectTimer = static_cast<int32_t>(random() % 2000);
    s.depthTimer = static_cast<int32_t>(random() % 2700);
    s.pulseRate = static_cast<int32_t>(random() % 5 + 1);
    s.hue = static_cast<float>(random() % 360);
    s.saturation = static_cast<float>(static_cast<double>(random() % 50) / 100.0 + 0.5);
  }

  tick = 0;
  dir = 1.0f;
  rad = 0.8f;

  for (std::size_t c = 0; c < k; ++c) {
    const float ex = drawCoordinate();
    const float ey = drawCoordinate();
    for (std::size_t p = c; p < n; p += k) {
      eye[p] = {ex, ey, static_cast<float>(unitDraw() * -270.0 - 30.0)};
    }
  }

  const double thetaRadians = static_cast<double>(theta) * 3.141592653589793 / 180.0;
  const auto sineTheta = static_cast<float>(std::sin(thetaRadians));
  const auto cosineTheta = static_cast<float>(std::cos(thetaRadians));
  const ColorRGBA chosen = color_particle.value_or(ColorRGBA{0.0f, 0.0f, 0.0f, 0.0f});

  for (std::size_t p = 0; p < n; ++p) {
    loc[p].x = drawCoordinate();
    loc[p].y = drawCoordinate();
    loc[p].z = static_cast<float>(unitDraw() * -430.0 - 20.0);
    prevLoc[p] = loc[p];
    if (color_mode_particle == 0) {
      color[p].r = static_cast<float>(unitDraw() * 0.5 + 0.5);
      color[p].g = static_cast<float>(unitDraw() * 0.5 + 0.5);
      color[p].b = static_cast<float>(unitDraw() * 0.5 + 0.5);
    } else {
      color[p].r = chosen.r;
      color[p].g = chosen.g;
      color[p].b = chosen.b;
    }
    color[p].a = static_cast<float>(unitDraw() * 0.5 + 0.5);
    ve[p].x = static_cast<float>(unitDraw() * 2.0 - 1.0);
    ve[p].y = static_cast<float>(unitDraw() * 2.0 - 1.0);
    ve[p].z = 0.0f;
    sine[p] = sineTheta;
    cosine[p] = cosineTheta;
    vel[p] = static_cast<float>(unitDraw() * 4.0 + 4.0);
    v_norm(&ve[p]);
    if (show_ai == 1) {
      for (std::size_t m = 0; m < 4; ++m) {
        ai_loc[4 * p + m] = loc[p];
        ai_cnt[4 * p + m] = static_cast<int32_t>(5 * m);
        ai_color[4 * p + m] = color[p];
      }
    }
  }
}
