#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/frame_surface.h"
#include "render/renderer.h"
#include "saver/swirlmote.h"
#include "settings/overrides.h"

// What a run asks of every view it brings up.
struct ViewOptions {
  bool isPreview = false;
  Renderer renderer = Renderer::Classic;
  SettingsOverrides overrides;
  std::optional<unsigned> seed;
};

// A view's creation seeds the process's random generator from the clock.
// The run's seed, when it has one, takes the clock's place after creation
// and before the first seeding of a field, so that one seed gives one
// animation in every command.
void seedRun(std::optional<unsigned> seed);

// A surface and the running view that draws into it; the view is stopped
// before both go.
class RunningView {
 public:
  RunningView(std::unique_ptr<FrameSurface> surface, std::unique_ptr<Swirlmote> view)
      : surface_(std::move(surface)), view_(std::move(view)) {}
  ~RunningView() { view_->stopAnimation(); }
  RunningView(const RunningView&) = delete;
  RunningView& operator=(const RunningView&) = delete;

  FrameSurface& surface() { return *surface_; }
  Swirlmote& view() { return *view_; }
  OpenGLContext& context() { return *view_->glView()->openGLContext(); }
  // Sizes the view to the surface's drawable when that has a size other
  // than the view's; a new size starts a new field.
  void followSurfaceSize();

 private:
  // Declared first, so that the surface and its window outlive the view.
  std::unique_ptr<FrameSurface> surface_;
  std::unique_ptr<Swirlmote> view_;
  Size size_;
};

// Why a bring-up made no screens: the message for the command's prefix,
// and whether the surface's window went away meanwhile, which is no fault
// of ours.
struct BringUpFailure {
  std::string message;
  bool surfaceClosed = false;
};

// Makes a running view over each surface: creates every view, puts the
// run's seed in place, then sizes and starts each. Each view is checked to
// draw at its surface's size, stops a frame when termination is asked for,
// and draws with the run's renderer, settings and overlay (none when
// empty). Nothing, with the failure, when one of them cannot draw.
std::vector<std::unique_ptr<RunningView>> bringUpViews(std::vector<std::unique_ptr<FrameSurface>> surfaces,
                                                       const ViewOptions& options,
                                                       const std::function<void()>& overlay,
                                                       BringUpFailure& failure);
