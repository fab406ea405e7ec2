#pragma once

#include <memory>

struct wl_display;

// A connection of our own to the Wayland compositor of WAYLAND_DISPLAY, held
// for the saver's life: it says what the compositor offers before SDL relies
// on it.
class WaylandCompositor {
 public:
  // Nothing when there is no compositor to connect to.
  static std::unique_ptr<WaylandCompositor> connect();
  ~WaylandCompositor();
  WaylandCompositor(const WaylandCompositor&) = delete;
  WaylandCompositor& operator=(const WaylandCompositor&) = delete;

  // Whether the compositor announced an input seat. SDL's Wayland driver
  // crashes during its start-up without one.
  bool hasSeat() const { return hasSeat_; }
  // Whether it offers the layer-shell protocol, which gtk-layer-shell would
  // otherwise look for itself and warn of on stderr when it is missing.
  bool hasLayerShell() const { return hasLayerShell_; }
  // Whether the compositor has gone: it closed our connection with all the
  // others when it ended. Asks it, and so waits for its answer while it runs.
  bool hasEnded() const;

 private:
  explicit WaylandCompositor(wl_display* display) : display_(display) {}

  wl_display* display_;
  bool hasSeat_ = false;
  bool hasLayerShell_ = false;
};
