#include "platform/idle_monitor.h"
#include "platform/session_bus.h"

// A Wayland compositor's own protocol first; GNOME's monitor before X's
// counter, since GNOME under X11 has both and its own knows its inhibitors.
std::unique_ptr<IdleMonitor> chooseIdleMonitor(IdleListener& listener) {
  if (auto monitor = waylandIdleMonitor(listener)) {
    return monitor;
  }
  if (auto monitor = mutterIdleMonitor(listener, sessionBus())) {
    return monitor;
  }
  return xIdleMonitor(listener);
}
