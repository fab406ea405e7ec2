// Holds an idle inhibitor (idle-inhibit-unstable-v1) on a surface of its
// own, as a video player does, so that the compositor reports no idleness:
//   idle_inhibitor SECONDS
// prints "inhibiting" once the compositor has the inhibitor and keeps it
// for SECONDS. Status 1 when the compositor offers no idle inhibitors.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

#include "idle-inhibit-unstable-v1-client-protocol.h"

struct globals {
  struct wl_compositor* compositor;
  struct zwp_idle_inhibit_manager_v1* manager;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  (void)version;
  struct globals* found = data;
  if (strcmp(interface, wl_compositor_interface.name) == 0) {
    found->compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
  } else if (strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0) {
    found->manager = wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1);
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
    fputs("usage: idle_inhibitor SECONDS\n", stderr);
    return 2;
  }
  const unsigned seconds = (unsigned)atoi(argv[1]);
  struct wl_display* display = wl_display_connect(NULL);
  if (!display) {
    fputs("idle_inhibitor: no Wayland compositor\n", stderr);
    return 1;
  }
  struct globals found = {NULL, NULL};
  wl_registry_add_listener(wl_display_get_registry(display), &registryListener, &found);
  wl_display_roundtrip(display);
  if (!found.compositor || !found.manager) {
    fputs("idle_inhibitor: the compositor offers no idle inhibitors\n", stderr);
    return 1;
  }
  struct wl_surface* surface = wl_compositor_create_surface(found.compositor);
  zwp_idle_inhibit_manager_v1_create_inhibitor(found.manager, surface);
  wl_display_roundtrip(display);
  puts("inhibiting");
  fflush(stdout);
  sleep(seconds);
  wl_display_disconnect(display);
  return 0;
}
