#pragma once

#include <cstdint>

// The field sizes the benchmarks run at. Colours are the cyclones' hues over
// the cycling background, the shape the circle.
struct BenchShape {
  int32_t cyclones;
  int32_t perCyclone;
  bool afterimages;
  float scale;
};

// What an empty store gives.
inline constexpr BenchShape kDefaultShape{1, 50, false, 0.5f};
inline constexpr BenchShape kMiddleShape{3, 100, true, 0.5f};
// The most the settings allow.
inline constexpr BenchShape kLargestShape{10, 200, true, 2.0f};

inline constexpr unsigned kBenchSeed = 20240601;
