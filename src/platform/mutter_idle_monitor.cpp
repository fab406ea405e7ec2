#include <gio/gio.h>

#include "platform/idle_monitor.h"
#include "platform/session_bus.h"

namespace {

constexpr char kName[] = "org.gnome.Mutter.IdleMonitor";
constexpr char kPath[] = "/org/gnome/Mutter/IdleMonitor/Core";

// GNOME's idle monitor counts idleness from the last input and fires a
// watch at once when that is already past its time; a watch for "counted
// from now" is set at the present idle time plus the timeout, and set again
// at the timeout alone on the first input after it (the reset watch).
class MutterIdleMonitor : public IdleMonitor {
 public:
  MutterIdleMonitor(IdleListener& listener, GDBusConnection* bus) : IdleMonitor(listener), bus_(bus) {
    subscription_ = g_dbus_connection_signal_subscribe(bus_, kName, kName, "WatchFired", kPath, nullptr,
                                                       G_DBUS_SIGNAL_FLAGS_NONE, &MutterIdleMonitor::fired,
                                                       this, nullptr);
    nameWatch_ = g_bus_watch_name_on_connection(bus_, kName, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
                                                &MutterIdleMonitor::vanished, this, nullptr);
    closed_ = g_signal_connect(bus_, "closed", G_CALLBACK(&MutterIdleMonitor::busClosed), this);
  }
  ~MutterIdleMonitor() override {
    disarm();
    g_signal_handler_disconnect(bus_, closed_);
    g_bus_unwatch_name(nameWatch_);
    g_dbus_connection_signal_unsubscribe(bus_, subscription_);
  }

  void arm(std::chrono::milliseconds timeout) override {
    disarm();
    timeout_ = static_cast<guint64>(timeout.count());
    const guint64 already = idleTime();
    idleWatch_ = addWatch("AddIdleWatch", g_variant_new("(t)", already + timeout_));
    if (already > 0) {
      resetWatch_ = addWatch("AddUserActiveWatch", nullptr);
    }
  }

  void disarm() override {
    for (guint* watch : {&idleWatch_, &resetWatch_, &backWatch_}) {
      removeWatch(*watch);
    }
  }

  const char* name() const override { return kName; }

 private:
  GVariant* call(const char* method, GVariant* parameters, const GVariantType* reply) {
    return g_dbus_connection_call_sync(bus_, kName, kPath, kName, method, parameters, reply,
                                       G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
  }
  guint64 idleTime() {
    guint64 time = 0;
    if (GVariant* reply = call("GetIdletime", nullptr, G_VARIANT_TYPE("(t)"))) {
      g_variant_get(reply, "(t)", &time);
      g_variant_unref(reply);
    }
    return time;
  }
  guint addWatch(const char* method, GVariant* parameters) {
    guint id = 0;
    if (GVariant* reply = call(method, parameters, G_VARIANT_TYPE("(u)"))) {
      g_variant_get(reply, "(u)", &id);
      g_variant_unref(reply);
    }
    return id;
  }
  // A user-active watch that has fired is gone already; mutter's complaint
  // about it is of no interest.
  void removeWatch(guint& watch) {
    if (watch != 0) {
      if (GVariant* reply = call("RemoveWatch", g_variant_new("(u)", watch), nullptr)) {
        g_variant_unref(reply);
      }
      watch = 0;
    }
  }

  void watchFired(guint id) {
    if (id == 0) {
      return;
    }
    if (id == resetWatch_) {
      resetWatch_ = 0;
      removeWatch(idleWatch_);
      idleWatch_ = addWatch("AddIdleWatch", g_variant_new("(t)", timeout_));
    } else if (id == idleWatch_) {
      disarm();
      backWatch_ = addWatch("AddUserActiveWatch", nullptr);
      listener_.idle();
    } else if (id == backWatch_) {
      backWatch_ = 0;
      listener_.back();
    }
  }

  static void fired(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                    GVariant* parameters, gpointer data) {
    guint id = 0;
    if (g_variant_is_of_type(parameters, G_VARIANT_TYPE("(u)"))) {
      g_variant_get(parameters, "(u)", &id);
    }
    static_cast<MutterIdleMonitor*>(data)->watchFired(id);
  }
  static void vanished(GDBusConnection*, const gchar*, gpointer data) {
    static_cast<MutterIdleMonitor*>(data)->listener_.desktopEnded(
        "GNOME's idle monitor left the session bus");
  }
  static void busClosed(GDBusConnection*, gboolean, GError*, gpointer data) {
    static_cast<MutterIdleMonitor*>(data)->listener_.desktopEnded("lost the session bus");
  }

  GDBusConnection* bus_;
  guint subscription_ = 0;
  guint nameWatch_ = 0;
  gulong closed_ = 0;
  guint64 timeout_ = 0;
  guint idleWatch_ = 0;
  guint resetWatch_ = 0;
  guint backWatch_ = 0;
};

}  // namespace

std::unique_ptr<IdleMonitor> mutterIdleMonitor(IdleListener& listener, GDBusConnection* bus) {
  if (!bus || !busNameHasOwner(bus, kName)) {
    return nullptr;
  }
  return std::make_unique<MutterIdleMonitor>(listener, bus);
}
