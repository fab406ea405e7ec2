#include <benchmark/benchmark.h>

#include <cstdlib>

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
    field.model_handle_events();
    field.model_handle_particles();
    if (field.show_ai == 1) {
      field.model_handle_afterimage();
    }
    ++field.tick;
    benchmark::ClobberMemory();
  }
  countParticles(state, field.no_particles);
}
BENCHMARK_CAPTURE(BM_SimulationStep, 1x50, kDefaultShape)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SimulationStep, 3x100_afterimages, kMiddleShape)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SimulationStep, 10x200_afterimages, kLargestShape)->Unit(benchmark::kMicrosecond);

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
