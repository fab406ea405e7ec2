// Gives the compositor's seat a pointer through wlroots' virtual pointer
// protocol, where the seat has no pointer device of its own (a headless
// compositor's):
//   virtual_pointer SECONDS
// keeps the pointer on the seat for SECONDS, during which the compositor's
// own cursor commands move it and its clients see the motion. Status 1 when
// the compositor offers no virtual pointers.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

#include "virtual-pointer-unstable-v1-client-protocol.h"

struct globals {
  struct wl_seat* seat;
  struct zwlr_virtual_pointer_manager_v1* manager;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  (void)version;
  struct globals* found = data;
  if (strcmp(interface, wl_seat_interface.name) == 0 && !found->seat) {
    found->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    found->manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
  }
}

static void globalRemoved(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

static const struct wl_registry_listener registryListener = {global, globalRemoved};

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: virtual_pointer SECONDS\n", stderr);
    return 2;
  }
  const unsigned seconds = (unsigned)atoi(argv[1]);
  struct wl_display* display = wl_display_connect(NULL);
  if (!display) {
    fputs("virtual_pointer: no Wayland compositor\n", stderr);
    return 1;
  }
  struct globals found = {NULL, NULL};
  wl_registry_add_listener(wl_display_get_registry(display), &registryListener, &found);
  wl_display_roundtrip(display);
  if (!found.seat || !found.manager) {
    fputs("virtual_pointer: the compositor offers no seat or no virtual pointers\n", stderr);
    return 1;
  }
  // The seat has a pointer from now on, until the connection ends.
  zwlr_virtual_pointer_manager_v1_create_virtual_pointer(found.manager, found.seat);
  wl_display_roundtrip(display);
  sleep(seconds);
  wl_display_disconnect(display);
  return 0;
}
