#pragma once

#include <memory>
#include <vector>

#include "platform/display_area.h"

class WaylandCompositor;

// SDL's video subsystem for the saver, for the life of the object: on the
// Wayland compositor of WAYLAND_DISPLAY when it answers and has an input
// seat, otherwise on the X display of DISPLAY.
class SdlVideo {
 public:
  // Nothing, after a message on stderr, when there is no display to show
  // the saver on (SDL quietly falls back to drivers that show nothing), when
  // the only compositor has no input seat, or when the mode needs X11 and
  // there is no X display. Without titleBars, SDL's windows on a Wayland
  // compositor get no client-side decorations.
  static std::unique_ptr<SdlVideo> start(bool needsX11, bool titleBars);
  ~SdlVideo();
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;

  bool isX11() const { return !compositor_; }
  bool isWayland() const { return compositor_ != nullptr; }
  // Whether the Wayland compositor we run on has ended; never on X11.
  bool lostCompositor() const;
  // Every display's area: on X11 the RandR monitors when the server lists
  // them, otherwise the displays as SDL sees them.
  std::vector<DisplayArea> displayAreas() const;
  // Hides the pointer over our windows.
  void hideCursor() const;

 private:
  explicit SdlVideo(std::unique_ptr<WaylandCompositor> compositor);
  std::unique_ptr<WaylandCompositor> compositor_;
};
