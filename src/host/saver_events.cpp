#include "host/saver_events.h"

#include <cstdlib>

namespace {

SaverAction windowAction(const SDL_Event& event) {
  if (event.type == SDL_QUIT ||
      (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
    return SaverAction::Quit;
  }
  if (event.type != SDL_KEYDOWN || event.key.repeat) {
    return SaverAction::None;
  }
  switch (event.key.keysym.sym) {
    case SDLK_ESCAPE:
    case SDLK_q: return SaverAction::Quit;
    case SDLK_f: return SaverAction::ToggleFullScreen;
    case SDLK_o: return SaverAction::ShowConfigureSheet;
    default: return SaverAction::None;
  }
}

SaverAction fullScreenAction(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
    case SDL_KEYDOWN:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEWHEEL: return SaverAction::Quit;
    case SDL_MOUSEMOTION: return SaverAction::PointerMoved;
    default: return SaverAction::None;
  }
}

}  // namespace

SaverAction actionFor(const SDL_Event& event, SaverMode mode) {
  if (mode == SaverMode::ForeignWindow) {
    return SaverAction::None;
  }
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
    return SaverAction::Resize;
  }
  return mode == SaverMode::FullScreen ? fullScreenAction(event) : windowAction(event);
}

bool WakeTracker::movedFar(int dx, int dy) {
  x_ += dx;
  y_ += dy;
  return std::abs(x_) > kThreshold || std::abs(y_) > kThreshold;
}
