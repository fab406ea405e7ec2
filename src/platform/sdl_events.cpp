#include "platform/sdl_events.h"

#include <SDL2/SDL.h>
#include <poll.h>

#include <algorithm>

#include "platform/dpms_query.h"
#include "platform/gtk_runtime.h"
#include "platform/sdl_context.h"
#include "platform/sdl_input.h"
#include "platform/sdl_window_surface.h"
#include "platform/sdl_x11_window.h"
#include "platform/window_watch.h"

namespace {

// The window an event happened in; 0 for one of no window, such as quit.
uint32_t windowOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN: return event.key.windowID;
    case SDL_MOUSEBUTTONDOWN: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    default: return 0;
  }
}

}  // namespace

SdlEvents::SdlEvents(bool x11) : watch_(x11 ? WindowWatch::open() : nullptr) {
  if (watch_) {
    if (auto query = dpmsQuery(watch_->display())) {
      power_.emplace(std::move(query));
    }
  }
}

SdlEvents::~SdlEvents() = default;

unsigned long SdlEvents::rootWindow() const {
  return watch_ ? watch_->rootWindow() : 0;
}

std::optional<Size> SdlEvents::watch(unsigned long window, bool followSize) {
  return watch_ ? watch_->watch(window, followSize) : std::nullopt;
}

bool SdlEvents::monitorsOn() {
  return !power_ || power_->on(MonitorPower::Clock::now());
}

void SdlEvents::remove(SdlWindowSurface* surface) {
  std::erase(surfaces_, surface);
}

bool SdlEvents::handlePending() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    dispatch(event);
  }
  runPendingGtkEvents();
  followWindows();
  return false;
}

void SdlEvents::waitForEvents(std::chrono::milliseconds timeout) {
  SDL_Event event;
  const int sdl = watch_ ? sdlConnection() : -1;
  if (sdl < 0) {
    if (SDL_WaitEventTimeout(&event, static_cast<int>(timeout.count()))) {
      dispatch(event);
    }
    return;
  }
  // SDL's own wait wakes for SDL's events only, and would sleep through a
  // window coming into sight, which only the watch's connection tells: both
  // connections are waited on together.
  SDL_PumpEvents();
  if (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 || watch_->hasChanges()) {
    return;
  }
  pollfd connections[] = {{sdl, POLLIN, 0}, {watch_->connection(), POLLIN, 0}};
  poll(connections, 2, static_cast<int>(timeout.count()));
}

int SdlEvents::sdlConnection() const {
  for (const SdlWindowSurface* surface : surfaces_) {
    if (const int connection = x11ConnectionOf(surface->contexts_->window()); connection >= 0) {
      return connection;
    }
  }
  return -1;
}

void SdlEvents::dispatch(const SDL_Event& event) {
  const auto input = surfaceInputOf(event);
  if (!input || surfaces_.empty()) {
    return;
  }
  // Input of no window of ours, such as quit, goes to the first.
  const uint32_t window = windowOf(event);
  const auto surface = std::find_if(surfaces_.begin(), surfaces_.end(),
                                    [window](const SdlWindowSurface* s) { return s->windowId() == window; });
  (surface != surfaces_.end() ? *surface : surfaces_.front())->queue(*input);
}

// The owner of a foreign window resizes it to follow the screen, and
// destroys it when the saver is to end; any window may be unmapped or
// covered by others.
void SdlEvents::followWindows() {
  if (!watch_) {
    return;
  }
  const WindowWatch::Changes changes = watch_->takeChanges();
  for (SdlWindowSurface* surface : surfaces_) {
    const unsigned long window = surface->x11Window();
    for (const WindowWatch::Visibility& change : changes.visibility) {
      if (window && change.window == window) {
        surface->seen_ = change.seen;
      }
    }
    if (window &&
        std::find(changes.destroyed.begin(), changes.destroyed.end(), window) != changes.destroyed.end()) {
      surface->close();
    } else if (surface->foreign_ && changes.size) {
      surface->follow(*changes.size);
    }
  }
}
