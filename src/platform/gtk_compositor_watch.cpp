#include "platform/gtk_compositor_watch.h"

#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>
#include <poll.h>

#include <cerrno>

namespace {

wl_display* compositor = nullptr;
bool lost = false;

// The main loop's poll, which takes a hang-up on the compositor's socket
// away from GDK before it sees it: GDK would end the process at once.
gint pollWatchingCompositor(GPollFD* descriptors, guint count, gint timeout) {
  const gint ready = g_poll(descriptors, count, timeout);
  for (guint i = 0; i < count; ++i) {
    if (descriptors[i].fd == wl_display_get_fd(compositor) &&
        (descriptors[i].revents & (G_IO_HUP | G_IO_ERR))) {
      lost = true;
      descriptors[i].revents = 0;
    }
  }
  return ready;
}

}  // namespace

void watchGtkCompositor() {
  GdkDisplay* display = gdk_display_get_default();
  if (compositor || !display || !GDK_IS_WAYLAND_DISPLAY(display)) {
    return;
  }
  compositor = gdk_wayland_display_get_wl_display(display);
  g_main_context_set_poll_func(nullptr, pollWatchingCompositor);
}

bool gtkCompositorLost() {
  if (!compositor || lost) {
    return lost;
  }
  // GDK flushes its requests as each main loop iteration begins and ends
  // the process when that fails. Flushed here first, the requests leave
  // GDK nothing to write, and a compositor that has gone is found here.
  pollfd socket{wl_display_get_fd(compositor), POLLIN, 0};
  if (poll(&socket, 1, 0) > 0 && (socket.revents & (POLLHUP | POLLERR))) {
    lost = true;
  } else if (wl_display_flush(compositor) < 0 && errno != EAGAIN) {
    lost = true;
  }
  return lost;
}
