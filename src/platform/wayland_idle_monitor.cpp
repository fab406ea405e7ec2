#include <glib-unix.h>
#include <glib.h>
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"
#include "platform/idle_monitor.h"

namespace {

// Both protocols report the same two things; each watch is one object that
// either protocol's events lead here.
class WaylandIdleMonitor : public IdleMonitor {
 public:
  WaylandIdleMonitor(IdleListener& listener, wl_display* display)
      : IdleMonitor(listener), display_(display) {}
  ~WaylandIdleMonitor() override {
    disarm();
    if (source_) g_source_remove(source_);
    if (notifier_) ext_idle_notifier_v1_destroy(notifier_);
    if (kdeIdle_) org_kde_kwin_idle_destroy(kdeIdle_);
    if (seat_) wl_seat_destroy(seat_);
    wl_display_disconnect(display_);
  }

  // Binds the seat and the idle protocols the compositor offers; false when
  // it lacks a seat or both protocols.
  bool bind() {
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &kRegistryListener, this);
    const bool answered = wl_display_roundtrip(display_) >= 0;
    wl_registry_destroy(registry);
    if (!answered || !seat_ || (!notifier_ && !kdeIdle_)) {
      return false;
    }
    source_ =
        g_unix_fd_add(wl_display_get_fd(display_), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                      &WaylandIdleMonitor::readable, this);
    return true;
  }

  void arm(std::chrono::milliseconds timeout) override {
    disarm();
    const auto ms = static_cast<uint32_t>(timeout.count());
    if (notifier_) {
      notification_ = ext_idle_notifier_v1_get_idle_notification(notifier_, ms, seat_);
      ext_idle_notification_v1_add_listener(notification_, &kNotificationListener, this);
    } else {
      kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(kdeIdle_, seat_, ms);
      org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kKdeTimeoutListener, this);
    }
    wl_display_flush(display_);
  }

  void disarm() override {
    if (notification_) ext_idle_notification_v1_destroy(notification_);
    if (kdeTimeout_) org_kde_kwin_idle_timeout_release(kdeTimeout_);
    notification_ = nullptr;
    kdeTimeout_ = nullptr;
    idle_ = false;
    wl_display_flush(display_);
  }

  const char* name() const override { return notifier_ ? "ext_idle_notifier_v1" : "org_kde_kwin_idle"; }

 private:
  void becameIdle() {
    if (!idle_) {
      idle_ = true;
      listener_.idle();
    }
  }
  // The watch is spent once the user is back: the listener arms a new one.
  void cameBack() {
    if (idle_) {
      disarm();
      listener_.back();
    }
  }

  static gboolean readable(gint, GIOCondition, gpointer data) {
    auto* self = static_cast<WaylandIdleMonitor*>(data);
    if (wl_display_dispatch(self->display_) >= 0) {
      return G_SOURCE_CONTINUE;
    }
    self->source_ = 0;
    self->listener_.desktopEnded("lost the connection to the Wayland compositor");
    return G_SOURCE_REMOVE;
  }

  static void announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* self = static_cast<WaylandIdleMonitor*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat_) {
      self->seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
      self->notifier_ = static_cast<ext_idle_notifier_v1*>(
          wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0) {
      self->kdeIdle_ =
          static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
  }
  static void withdrawn(void*, wl_registry*, uint32_t) {}
  static void idled(void* data, ext_idle_notification_v1*) {
    static_cast<WaylandIdleMonitor*>(data)->becameIdle();
  }
  static void resumed(void* data, ext_idle_notification_v1*) {
    static_cast<WaylandIdleMonitor*>(data)->cameBack();
  }
  static void kdeIdled(void* data, org_kde_kwin_idle_timeout*) {
    static_cast<WaylandIdleMonitor*>(data)->becameIdle();
  }
  static void kdeResumed(void* data, org_kde_kwin_idle_timeout*) {
    static_cast<WaylandIdleMonitor*>(data)->cameBack();
  }

  static constexpr wl_registry_listener kRegistryListener{announced, withdrawn};
  static constexpr ext_idle_notification_v1_listener kNotificationListener{idled, resumed};
  static constexpr org_kde_kwin_idle_timeout_listener kKdeTimeoutListener{kdeIdled, kdeResumed};

  wl_display* display_;
  wl_seat* seat_ = nullptr;
  ext_idle_notifier_v1* notifier_ = nullptr;
  org_kde_kwin_idle* kdeIdle_ = nullptr;
  ext_idle_notification_v1* notification_ = nullptr;
  org_kde_kwin_idle_timeout* kdeTimeout_ = nullptr;
  guint source_ = 0;
  bool idle_ = false;
};

}  // namespace

std::unique_ptr<IdleMonitor> waylandIdleMonitor(IdleListener& listener) {
  // Without WAYLAND_DISPLAY the library would try "wayland-0", which an X
  // session may have from another desktop.
  const char* name = std::getenv("WAYLAND_DISPLAY");
  wl_display* display = name && *name ? wl_display_connect(nullptr) : nullptr;
  if (!display) {
    return nullptr;
  }
  auto monitor = std::make_unique<WaylandIdleMonitor>(listener, display);
  return monitor->bind() ? std::move(monitor) : nullptr;
}
