#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "simulation/heap_array.h"
#include "simulation/vector.h"

struct CycloneStatus {
  int32_t moveTimer;
  int32_t effectTimer;
  int32_t depthTimer;
  int32_t pulseRate;
  float hue;
  float saturation;
};

// What a frame's particle step takes from one cyclone: its pulsed opacity
// and the part of its colour that depends only on its hue and saturation.
struct CycloneShade {
  float alpha;
  HueTerms hue;
};

// What the user can set, as the saver view holds it. A colour is absent
// between stop and the next reading of the settings.
struct Settings {
  int8_t isRotationOn = 0;
  int32_t no_particles = 0;  // total, per-cyclone count times no_cyclones
  int32_t no_cyclones = 0;
  int32_t color_mode_particle = 0;
  std::optional<ColorRGBA> color_particle;
  int32_t color_mode_background = 0;
  std::optional<ColorRGBA> color_background;
  int32_t particle_shape = 0;
  float particle_scale = 0.0f;
  int8_t show_ai = 0;
};

// The whole particle field: parallel arrays indexed by particle number, the
// per-cyclone records and the field's scalars. Particle p belongs to cyclone
// p % no_cyclones. All randomness comes from the C library's random().
class Field : public Settings {
 public:
  using SettingsLoader = std::function<void(Settings&)>;

  // Reads the settings through loadDefaults and seeds a complete new field.
  void model_init(const SettingsLoader& loadDefaults);
  void model_handle_events();
  void doEffectNumber(int number, int eye);
  void model_handle_particles();
  void model_handle_afterimage();
  // One frame's update: events, then particles, then, when shown, the
  // afterimages. The tick is not advanced; the caller does that once the
  // frame is done.
  void step();
  // Frees every array and leaves the field empty.
  void releaseArrays();

  HeapArray<Vector3F> loc;
  HeapArray<Vector3F> prevLoc;
  HeapArray<float> yrp;
  HeapArray<ColorRGBA> color;
  HeapArray<Vector3F> ve;
  HeapArray<float> sine;
  HeapArray<float> cosine;
  HeapArray<float> vel;
  HeapArray<Vector3F> ai_loc;
  HeapArray<int32_t> ai_cnt;
  HeapArray<ColorRGBA> ai_color;
  HeapArray<Vector3F> eye;
  HeapArray<CycloneStatus> statusCount;
  // Filled at the start of every particle step, one per cyclone; kept here
  // so that a frame allocates nothing.
  HeapArray<CycloneShade> cycloneShade;

  uint32_t tick = 0;
  float rad = 0.0f;
  float dir = 0.0f;
};

// One call of random() divided by 2147483647.0.
double unitDraw();

// The share of its stored alpha with which an afterimage point is drawn.
float afterimageFade(int32_t count);
