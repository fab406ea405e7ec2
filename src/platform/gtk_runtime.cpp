#include "platform/gtk_runtime.h"

#include <gtk/gtk.h>

namespace {

bool started = false;

}  // namespace

bool startGtk() {
  if (!started) {
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
