#include "platform/wayland_compositor.h"

#include <wayland-client.h>

#include <cstring>

namespace {

// What the compositor announced that the saver looks for.
struct Offers {
  bool seat = false;
  bool layerShell = false;
};

void announced(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  auto& offers = *static_cast<Offers*>(data);
  offers.seat = offers.seat || std::strcmp(interface, wl_seat_interface.name) == 0;
  offers.layerShell = offers.layerShell || std::strcmp(interface, "zwlr_layer_shell_v1") == 0;
}

void withdrawn(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener kRegistryListener{announced, withdrawn};

}  // namespace

std::unique_ptr<WaylandCompositor> WaylandCompositor::connect() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    return nullptr;
  }
  std::unique_ptr<WaylandCompositor> compositor(new WaylandCompositor(display));
  wl_registry* registry = wl_display_get_registry(display);
  Offers offers;
  wl_registry_add_listener(registry, &kRegistryListener, &offers);
  const bool answered = wl_display_roundtrip(display) >= 0;
  wl_registry_destroy(registry);
  compositor->hasSeat_ = offers.seat;
  compositor->hasLayerShell_ = offers.layerShell;
  return answered ? std::move(compositor) : nullptr;
}

WaylandCompositor::~WaylandCompositor() {
  wl_display_disconnect(display_);
}

bool WaylandCompositor::hasEnded() const {
  return wl_display_roundtrip(display_) < 0;
}
