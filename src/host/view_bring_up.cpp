#include "host/view_bring_up.h"

#include <cstdlib>

#include "host/termination.h"
#include "platform/drawable_limits.h"

void seedRun(std::optional<unsigned> seed) {
  if (seed) {
    srandom(*seed);
  }
}

void RunningView::followSurfaceSize() {
  const Size size = surface_->pixelSize();
  if (size.width <= 0 || size.height <= 0 || (size.width == size_.width && size.height == size_.height)) {
    return;
  }
  size_ = size;
  view_->setFrameSize(size);
}

namespace {

// A view for the surface, ready to size; nothing after a failure.
std::unique_ptr<Swirlmote> makeView(FrameSurface& surface, const ViewOptions& options,
                                    const std::function<void()>& overlay, BringUpFailure& failure) {
  auto view = Swirlmote::initWithFrame(Rect{{}, surface.pixelSize()}, options.isPreview, surface.backends());
  surface.windowMade();
  if (!view->glView()) {
    failure = {surface.contextFailure(), surface.closed()};
    return nullptr;
  }
  view->glView()->openGLContext()->makeCurrentContext();
  const Size size = surface.pixelSize();
  if (const auto refusal = drawableSizeRefusal(static_cast<int>(size.width), static_cast<int>(size.height),
                                               surface.bytesPerPixel())) {
    failure = {"cannot draw that size: " + *refusal};
    return nullptr;
  }
  view->setRenderer(options.renderer);
  // A termination signal ends the frame in progress too.
  view->setStopCheck(terminationRequested);
  view->setOverrides(options.overrides);
  view->setFrameOverlay(overlay);
  return view;
}

// Sizes and starts the screen's view; false after a failure.
bool start(RunningView& screen, BringUpFailure& failure) {
  screen.followSurfaceSize();
  screen.context().makeCurrentContext();
  if (const auto broken = screen.surface().drawableFailure()) {
    const Size size = screen.surface().pixelSize();
    failure = {"cannot draw " + std::to_string(static_cast<int>(size.width)) + "x" +
               std::to_string(static_cast<int>(size.height)) + ": " + *broken};
    return false;
  }
  screen.view().startAnimation();
  return true;
}

}  // namespace

std::vector<std::unique_ptr<RunningView>> bringUpViews(std::vector<std::unique_ptr<FrameSurface>> surfaces,
                                                       const ViewOptions& options,
                                                       const std::function<void()>& overlay,
                                                       BringUpFailure& failure) {
  std::vector<std::unique_ptr<RunningView>> screens;
  for (auto& surface : surfaces) {
    auto view = makeView(*surface, options, overlay, failure);
    if (!view) {
      return {};
    }
    screens.push_back(std::make_unique<RunningView>(std::move(surface), std::move(view)));
  }
  seedRun(options.seed);
  for (auto& screen : screens) {
    if (!start(*screen, failure)) {
      return {};
    }
  }
  return screens;
}
