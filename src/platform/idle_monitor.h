#pragma once

#include <chrono>
#include <memory>
#include <string>

typedef struct _GDBusConnection GDBusConnection;

// What an idle monitor tells: the user has been idle for the armed time, the
// user is back, or the desktop has gone (the compositor, the X server or the
// session bus ended).
class IdleListener {
 public:
  virtual ~IdleListener() = default;
  virtual void idle() = 0;
  virtual void back() = 0;
  virtual void desktopEnded(const std::string& why) = 0;
};

// The desktop's own account of the user's idleness. Its events arrive while
// GLib's default main context runs, whether it sleeps there
// (g_main_context_iteration(nullptr, TRUE)) or is pumped between frames
// (g_main_context_iteration(nullptr, FALSE)).
class IdleMonitor {
 public:
  virtual ~IdleMonitor() = default;
  IdleMonitor(const IdleMonitor&) = delete;
  IdleMonitor& operator=(const IdleMonitor&) = delete;

  // Watches for `timeout` without input, counted from now or from the last
  // input after now: "idle" once that has passed, then "back" once on the
  // next input. Arming again starts over; nothing comes from a watch that was
  // replaced or disarmed.
  virtual void arm(std::chrono::milliseconds timeout) = 0;
  virtual void disarm() = 0;
  // Which desktop interface it listens to, for messages.
  virtual const char* name() const = 0;

 protected:
  explicit IdleMonitor(IdleListener& listener) : listener_(listener) {}
  IdleListener& listener_;
};

// Wayland's ext_idle_notifier_v1 or else org_kde_kwin_idle, on the
// compositor of WAYLAND_DISPLAY; nothing when there is none or it offers
// neither (with a seat).
std::unique_ptr<IdleMonitor> waylandIdleMonitor(IdleListener& listener);
// GNOME's org.gnome.Mutter.IdleMonitor on the bus (the session's); nothing
// when no one owns that name.
std::unique_ptr<IdleMonitor> mutterIdleMonitor(IdleListener& listener, GDBusConnection* bus);
// X's IDLETIME counter (XSync alarms) on the server of DISPLAY; nothing when
// there is no server or it lacks the counter.
std::unique_ptr<IdleMonitor> xIdleMonitor(IdleListener& listener);

// The first of the above that the session offers, in that order; nothing
// when none does.
std::unique_ptr<IdleMonitor> chooseIdleMonitor(IdleListener& listener);
