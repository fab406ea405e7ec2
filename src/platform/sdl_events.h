#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/frame_surface.h"
#include "platform/monitor_power.h"
#include "saver/geometry.h"

class SdlWindowSurface;
class WindowWatch;
union SDL_Event;

// SDL's events and those of the X windows we draw into, handed to the SDL
// window surfaces they are for, and GTK's events for a settings sheet.
// On X11 a connection of our own watches the windows for their end, their
// visibility and a foreign window for its size (neither SDL nor the GL
// driver notices a window going away under it), and the monitors' power.
class SdlEvents : public EventSource {
 public:
  explicit SdlEvents(bool x11);
  ~SdlEvents() override;
  SdlEvents(const SdlEvents&) = delete;
  SdlEvents& operator=(const SdlEvents&) = delete;

  bool handlePending() override;
  void waitForEvents(std::chrono::milliseconds timeout) override;
  // On an X display with DPMS, asked of the display at most once a second.
  bool monitorsOn() override;

  // Whether windows are watched: on X11, when the display could be opened.
  bool watching() const { return watch_ != nullptr; }
  // The root window of the watched display; 0 when none is watched.
  unsigned long rootWindow() const;
  // Starts watching a window, and following its size when followSize; its
  // size now, or nothing when there is no such window or none is watched.
  std::optional<Size> watch(unsigned long window, bool followSize);

  // Surfaces register while they live.
  void add(SdlWindowSurface* surface) { surfaces_.push_back(surface); }
  void remove(SdlWindowSurface* surface);

 private:
  void dispatch(const SDL_Event& event);
  void followWindows();
  // The X connection SDL reads its events from; -1 before a window of ours
  // is up or away from X11.
  int sdlConnection() const;

  std::unique_ptr<WindowWatch> watch_;
  std::optional<MonitorPower> power_;
  std::vector<SdlWindowSurface*> surfaces_;
};
