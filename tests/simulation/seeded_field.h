#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>
#include <vector>

#include "simulation/field.h"

// A field seeded from a fixed generator state, with the settings set
// directly instead of being read from a store.
struct FieldShape {
  int cyclones = 1;
  int particles = 50;  // in all
  int colorMode = 0;
  bool afterimages = false;
  ColorRGBA chosen{0.25f, 0.5f, 0.75f, 1.0f};
};

inline Field::SettingsLoader loaderFor(const FieldShape& shape) {
  return [shape](Settings& settings) {
    settings.isRotationOn = 1;
    settings.no_cyclones = shape.cyclones;
    settings.no_particles = shape.particles;
    settings.color_mode_particle = shape.colorMode;
    settings.color_particle = shape.chosen;
    settings.show_ai = shape.afterimages ? 1 : 0;
  };
}

inline void seedField(Field& field, const FieldShape& shape, unsigned seed) {
  srandom(seed);
  field.model_init(loaderFor(shape));
}

// The first `count` values random() gives after srandom(seed).
inline std::vector<long> drawsAfter(unsigned seed, std::size_t count) {
  srandom(seed);
  std::vector<long> draws(count);
  for (long& draw : draws) {
    draw = random();
  }
  return draws;
}

// Walks a recorded sequence the way the field consumes the generator.
class DrawSequence {
 public:
  explicit DrawSequence(std::vector<long> draws) : draws_(std::move(draws)) {}
  long next() { return draws_.at(used_++); }
  double unit() { return static_cast<double>(next()) / 2147483647.0; }
  std::size_t used() const { return used_; }
  long at(std::size_t i) const { return draws_.at(i); }

 private:
  std::vector<long> draws_;
  std::size_t used_ = 0;
};
