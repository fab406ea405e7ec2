#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/frame_surface.h"
#include "platform/gtk_event_source.h"

// The wallpapers of a Wayland compositor's outputs, on its layer-shell
// background layer, and GTK's events, which show them; the compositor's end
// is the events' loss.
class Wallpapers : public GtkEventSource {
 public:
  // Brings GTK up on the compositor that WAYLAND_DISPLAY names; nothing when
  // there is none, or when it lacks the layer-shell protocol.
  static std::unique_ptr<Wallpapers> start();

  // A wallpaper on each output the compositor has now.
  std::vector<std::unique_ptr<FrameSurface>> onEveryOutput();
  // From now on, each output the compositor gains gets a wallpaper of its
  // own, handed to added as events are handled.
  void onOutputsAdded(std::function<void(std::unique_ptr<FrameSurface>)> added);

 private:
  Wallpapers() = default;
};
