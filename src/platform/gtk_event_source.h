#pragma once

#include "platform/frame_surface.h"
#include "platform/gtk_compositor_watch.h"
#include "platform/gtk_runtime.h"

// GTK's events as a frame loop's event source, for surfaces that show their
// frames in GTK windows. A watched Wayland compositor's end is the
// source's loss, and GTK is not run after it.
class GtkEventSource : public EventSource {
 public:
  bool handlePending() override { return !lost() && runOneRoundOfGtkEvents(); }
  void waitForEvents(std::chrono::milliseconds timeout) override {
    if (!lost()) {
      waitForGtkEvents(timeout);
    }
  }
  bool lost() override { return gtkCompositorLost(); }
};
