#pragma once

#include "platform/frame_surface.h"
#include "platform/gtk_runtime.h"

// GTK's events as a frame loop's event source, for surfaces that show their
// frames in GTK windows.
class GtkEventSource : public EventSource {
 public:
  bool handlePending() override { return runOneRoundOfGtkEvents(); }
  void waitForEvents(std::chrono::milliseconds timeout) override { waitForGtkEvents(timeout); }
};
