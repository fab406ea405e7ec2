#include "platform/wayland_frame_request.h"

#include <SDL2/SDL_syswm.h>
#include <wayland-client.h>

std::unique_ptr<WaylandFrameRequest> WaylandFrameRequest::of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) {
    return nullptr;
  }
  return std::unique_ptr<WaylandFrameRequest>(new WaylandFrameRequest(info.info.wl.surface));
}

WaylandFrameRequest::~WaylandFrameRequest() {
  if (callback_) {
    wl_callback_destroy(callback_);
  }
}

void WaylandFrameRequest::request() {
  if (callback_) {
    return;
  }
  static const wl_callback_listener listener{&WaylandFrameRequest::done};
  callback_ = wl_surface_frame(surface_);
  wl_callback_add_listener(callback_, &listener, this);
  // The frame's own commit has gone with the swap: this one carries only
  // the request.
  wl_surface_commit(surface_);
}

void WaylandFrameRequest::done(void* self, wl_callback* callback, uint32_t) {
  auto* request = static_cast<WaylandFrameRequest*>(self);
  wl_callback_destroy(callback);
  request->callback_ = nullptr;
  // SDL's wait for events goes on through answers that bring it no event
  // of its own: one is pushed, so that a window that comes into sight is
  // drawn at once, not at the end of the wait.
  static const uint32_t wanted = SDL_RegisterEvents(1);
  if (wanted != static_cast<uint32_t>(-1)) {
    SDL_Event event{};
    event.type = wanted;
    SDL_PushEvent(&event);
  }
}
