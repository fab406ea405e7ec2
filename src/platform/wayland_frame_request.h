#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>

struct wl_callback;
struct wl_surface;

// Asks the compositor of an SDL window on Wayland to say when it wants the
// window's next frame: a frame callback committed after each frame shown.
// A compositor sends none while nothing shows the window (covered by a
// full-screen window, its output off). The callback's answer comes among
// SDL's events, which dispatch the connection's default queue, and brings
// an SDL event of its own to end a wait for events.
class WaylandFrameRequest {
 public:
  // Nothing without a window or when SDL runs on another video system.
  static std::unique_ptr<WaylandFrameRequest> of(SDL_Window* window);
  ~WaylandFrameRequest();
  WaylandFrameRequest(const WaylandFrameRequest&) = delete;
  WaylandFrameRequest& operator=(const WaylandFrameRequest&) = delete;

  // A frame has just been shown: asks when the next is wanted.
  void request();
  // Whether the compositor has asked for a frame since the last request.
  bool wanted() const { return callback_ == nullptr; }

 private:
  explicit WaylandFrameRequest(wl_surface* surface) : surface_(surface) {}
  static void done(void* self, wl_callback* callback, uint32_t time);

  wl_surface* surface_;
  wl_callback* callback_ = nullptr;
};
