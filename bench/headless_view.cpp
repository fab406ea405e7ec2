#include "headless_view.h"

#include <GL/gl.h>

#include <cstdlib>

#include "platform/headless_platform.h"

namespace {

// Three seconds of simulation, then a couple of drawn frames.
constexpr int kWarmUpSteps = 180;
constexpr int kWarmUpFrames = 2;

SettingsOverrides overridesFor(const BenchShape& shape) {
  SettingsOverrides overrides;
  overrides.cyclones = shape.cyclones;
  overrides.particlesPerCyclone = shape.perCyclone;
  overrides.afterimages = shape.afterimages;
  overrides.scale = shape.scale;
  overrides.shape = 0;
  overrides.particleColor = std::optional<ColorRGBA>();
  overrides.backgroundColor = std::optional<ColorRGBA>();
  return overrides;
}

}  // namespace

std::unique_ptr<Swirlmote> headlessView(Size size, const BenchShape& shape, Renderer renderer) {
  HeadlessPlatform headless;
  std::unique_ptr<Swirlmote> view = Swirlmote::initWithFrame(Rect{{}, size}, false, headless.backends());
  if (!view->glView()) {
    return nullptr;
  }
  view->setOverrides(overridesFor(shape));
  view->setRenderer(renderer);
  srandom(kBenchSeed);
  view->setFrameSize(size);
  view->startAnimation();
  Field& field = view->field();
  for (int step = 0; step < kWarmUpSteps; ++step) {
    field.step();
    ++field.tick;
  }
  for (int frame = 0; frame < kWarmUpFrames; ++frame) {
    view->animateOneFrame();
  }
  return view;
}

std::string headlessRendererName() {
  const auto context = EglContextFactory().createContext(PixelFormat{0, true, true, 24, 8, 16, 8, true});
  if (!context) {
    return "none";
  }
  context->setSurfaceSize(1, 1);
  context->makeCurrentContext();
  const auto text = [](GLenum name) {
    const auto* value = reinterpret_cast<const char*>(glGetString(name));
    return std::string(value ? value : "?");
  };
  return text(GL_RENDERER) + ", " + text(GL_VERSION);
}
