#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "headless_view.h"
#include "render/frame.h"
#include "render/sprite_drawer.h"

// llvmpipe fills in threads of its own, so these run by the wall clock.

namespace {

int64_t spritesPerFrame(const Field& field) {
  return field.no_particles * (field.show_ai == 1 ? 5 : 1);
}

void countFrames(benchmark::State& state, const Field& field) {
  state.SetItemsProcessed(state.iterations() * spritesPerFrame(field));
  state.counters["fps"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

// Ten sprite images turned into textures again, with the sprite quad's list
// and the projection, as at every resize; the images come from the cache,
// decoded once.
void BM_BuildTextures(benchmark::State& state) {
  const auto view = headlessView({64, 64}, kDefaultShape, Renderer::Classic);
  if (!view) {
    state.SkipWithError("no headless GL renderer");
    return;
  }
  for (auto _ : state) {
    view->initGLView();
    glFinish();
  }
}
BENCHMARK(BM_BuildTextures)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole frame as the saver view draws it: background, camera, simulation
// step, sprites, and the wait for the renderer to finish filling.
void BM_Frame(benchmark::State& state, Renderer renderer, Size size, BenchShape shape) {
  const auto view = headlessView(size, shape, renderer);
  if (!view) {
    state.SkipWithError("no headless GL renderer");
    return;
  }
  for (auto _ : state) {
    view->animateOneFrame();
  }
  countFrames(state, view->field());
}

// Only the sprites of one frame, drawn again and again into a 1 x 1 surface
// where filling costs nothing: what it takes to place them and hand them to
// GL, and for GL to transform, clip and set up their triangles. The batched
// path's filling of its arrays is part of it.
void BM_Submission(benchmark::State& state, Renderer renderer, BenchShape shape) {
  const auto view = headlessView({1, 1}, shape, renderer);
  if (!view) {
    state.SkipWithError("no headless GL renderer");
    return;
  }
  Field& field = view->field();
  const std::unique_ptr<SpriteDrawer> sprites = makeSpriteDrawer(renderer);
  sprites->reserve(field);
  view->glView()->openGLContext()->makeCurrentContext();
  beginFrame(field, view->textureNames());
  for (auto _ : state) {
    sprites->drawSprites(field, nullptr);
    glFinish();
  }
  endFrame(field);
  countFrames(state, field);
}

// A frame at the largest settings takes a good part of a second; a second
// of them at least keeps one slow frame from deciding the figure.
constexpr double kFrameSeconds = 1.0;

struct FrameCase {
  const char* name;
  Size size;
  BenchShape shape;
};
const FrameCase kFrameCases[] = {
    {"1280x720_default", {1280, 720}, kDefaultShape},
    {"1920x1080_default", {1920, 1080}, kDefaultShape},
    {"1280x720_10x200_afterimages_scale2", {1280, 720}, kLargestShape},
    {"1920x1080_10x200_afterimages_scale2", {1920, 1080}, kLargestShape},
};
struct SubmissionCase {
  const char* name;
  BenchShape shape;
};
const SubmissionCase kSubmissionCases[] = {{"default", kDefaultShape},
                                           {"10x200_afterimages_scale2", kLargestShape}};

// Each case twice, classic then batched, so that the two sit side by side.
const bool registered = [] {
  const std::pair<const char*, Renderer> renderers[] = {{"classic", Renderer::Classic},
                                                        {"batched", Renderer::Batched}};
  for (const FrameCase& c : kFrameCases) {
    for (const auto& [prefix, renderer] : renderers) {
      benchmark::RegisterBenchmark((std::string("BM_Frame/") + prefix + "_" + c.name).c_str(), BM_Frame,
                                   renderer, c.size, c.shape)
          ->Unit(benchmark::kMillisecond)
          ->MinTime(kFrameSeconds)
          ->UseRealTime();
    }
  }
  for (const SubmissionCase& c : kSubmissionCases) {
    for (const auto& [prefix, renderer] : renderers) {
      benchmark::RegisterBenchmark((std::string("BM_Submission/") + prefix + "_" + c.name).c_str(),
                                   BM_Submission, renderer, c.shape)
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
    }
  }
  return true;
}();

}  // namespace
