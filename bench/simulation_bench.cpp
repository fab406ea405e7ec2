#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "bench_shapes.h"
#include "simulation/field.h"

namespace {

void seed(Field& field, const BenchShape& shape) {
  field.model_init([&shape](Settings& s) {
    s.isRotationOn = 1;
    s.no_cyclones = shape.cyclones;
    s.no_particles = shape.cyclones * shape.perCyclone;
    s.color_mode_particle = 0;
    s.color_mode_background = 0;
    s.particle_shape = 0;
    s.particle_scale = shape.scale;
    s.show_ai = shape.afterimages ? 1 : 0;
  });
}

// Time per particle, and particles per second.
void countParticles(benchmark::State& state, int64_t particles) {
  state.SetItemsProcessed(state.iterations() * particles);
  state.counters["per_particle"] =
      benchmark::Counter(static_cast<double>(particles),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The three update steps of one frame, without drawing.
void BM_SimulationStep(benchmark::State& state, BenchShape shape) {
  srandom(kBenchSeed);
  Field field;
  seed(field, shape);
  for (auto _ : state) {
    field.step();
    ++field.tick;
    benchmark::ClobberMemory();
  }
  countParticles(state, field.no_particles);
}
BENCHMARK_CAPTURE(BM_SimulationStep, 1x50, kDefaultShape)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SimulationStep, 3x100_afterimages, kMiddleShape)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SimulationStep, 10x200_afterimages, kLargestShape)->Unit(benchmark::kMicrosecond);

// The floor under the step: the one atan2 in double precision that every
// particle's facing angle takes, over the differences of a field in motion,
// with nothing else of the step around it.
void BM_FacingAtan2Floor(benchmark::State& state) {
  srandom(kBenchSeed);
  Field field;
  seed(field, kLargestShape);
  for (int frame = 0; frame < 180; ++frame) {
    field.step();
    ++field.tick;
  }
  const auto n = static_cast<std::size_t>(field.no_particles);
  std::vector<double> dy(n);
  std::vector<double> dx(n);
  for (std::size_t p = 0; p < n; ++p) {
    dy[p] = field.prevLoc[p].y - field.loc[p].y;
    dx[p] = field.prevLoc[p].x - field.loc[p].x;
  }
  for (auto _ : state) {
    for (std::size_t p = 0; p < n; ++p) {
      field.yrp[p] = static_cast<float>(std::atan2(dy[p], dx[p]));
    }
    benchmark::ClobberMemory();
  }
  countParticles(state, field.no_particles);
}
BENCHMARK(BM_FacingAtan2Floor)->Unit(benchmark::kMicrosecond);

// A complete seeding: the arrays allocated afresh and filled.
void BM_Seeding(benchmark::State& state, BenchShape shape) {
  srandom(kBenchSeed);
  Field field;
  for (auto _ : state) {
    seed(field, shape);
    benchmark::ClobberMemory();
  }
  countParticles(state, field.no_particles);
}
BENCHMARK_CAPTURE(BM_Seeding, 1x50, kDefaultShape)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Seeding, 10x200_afterimages, kLargestShape)->Unit(benchmark::kMicrosecond);

}  // namespace
