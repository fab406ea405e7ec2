#include "platform/gtk_runtime.h"

#include <SDL2/SDL.h>
#include <gtk/gtk.h>

#include <cstring>

namespace {

bool started = false;

// The sheet opens on the display the saver's windows are on: GDK would take
// WAYLAND_DISPLAY first even where the saver draws into an X window.
void followSdlVideoDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && (std::strcmp(driver, "wayland") == 0 || std::strcmp(driver, "x11") == 0)) {
    gdk_set_allowed_backends(driver);
  }
}

}  // namespace

bool startGtk() {
  if (!started) {
    followSdlVideoDriver();
    started = gtk_init_check(nullptr, nullptr);
  }
  return started;
}

void runPendingGtkEvents() {
  if (!started) {
    return;
  }
  while (gtk_events_pending()) {
    gtk_main_iteration_do(FALSE);
  }
}

bool runOneRoundOfGtkEvents() {
  if (!started || !gtk_events_pending()) {
    return false;
  }
  gtk_main_iteration_do(FALSE);
  return true;
}

void waitForGtkEvents(std::chrono::milliseconds timeout) {
  if (!started) {
    return;
  }
  // A timeout source of its own bounds the one blocking iteration; it is
  // gone by itself once it has fired.
  bool fired = false;
  const guint timer = g_timeout_add(
      static_cast<guint>(timeout.count()),
      [](gpointer firedFlag) {
        *static_cast<bool*>(firedFlag) = true;
        return G_SOURCE_REMOVE;
      },
      &fired);
  gtk_main_iteration_do(TRUE);
  if (!fired) {
    g_source_remove(timer);
  }
}
