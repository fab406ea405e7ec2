#include "host/saver_events.h"

#include <cstdlib>

namespace {

using Kind = SurfaceInput::Kind;
using Key = SurfaceInput::Key;

SaverAction windowAction(const SurfaceInput& input) {
  if (input.kind == Kind::Quit || input.kind == Kind::CloseButton) {
    return SaverAction::Quit;
  }
  if (input.kind != Kind::Key || input.repeat) {
    return SaverAction::None;
  }
  switch (input.key) {
    case Key::Escape:
    case Key::Q: return SaverAction::Quit;
    case Key::F: return SaverAction::ToggleFullScreen;
    case Key::O: return SaverAction::ShowConfigureSheet;
    default: return SaverAction::None;
  }
}

SaverAction fullScreenAction(const SurfaceInput& input) {
  switch (input.kind) {
    case Kind::Quit:
    case Kind::Key:
    case Kind::Button:
    case Kind::Wheel: return SaverAction::Quit;
    case Kind::PointerMoved: return SaverAction::PointerMoved;
    default: return SaverAction::None;
  }
}

}  // namespace

SaverAction actionFor(const SurfaceInput& input, SaverMode mode) {
  if (mode == SaverMode::ForeignWindow) {
    return SaverAction::None;
  }
  return mode == SaverMode::FullScreen ? fullScreenAction(input) : windowAction(input);
}

bool WakeTracker::movedFar(int dx, int dy) {
  x_ += dx;
  y_ += dy;
  return std::abs(x_) > kThreshold || std::abs(y_) > kThreshold;
}
