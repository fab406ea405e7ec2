#pragma once

#include <gio/gio.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// org.freedesktop.ScreenSaver on a bus where no one else offers it: players
// and browsers call Inhibit(application, reason) for a cookie and
// UnInhibit(cookie) when done; a caller that leaves the bus drops its
// cookies. Served at /ScreenSaver and /org/freedesktop/ScreenSaver while the
// object lives, through GLib's default main context.
class ScreenSaverService {
 public:
  // Called whenever the first cookie is given or the last one dropped.
  using Changed = std::function<void(bool held)>;

  // Nothing when the name is taken (the desktop serves it) or the bus
  // refuses it.
  static std::unique_ptr<ScreenSaverService> start(GDBusConnection* bus, Changed changed);
  ~ScreenSaverService();
  ScreenSaverService(const ScreenSaverService&) = delete;
  ScreenSaverService& operator=(const ScreenSaverService&) = delete;

  bool held() const { return !cookies_.empty(); }

 private:
  ScreenSaverService(GDBusConnection* bus, Changed changed);
  guint32 inhibit(const std::string& caller);
  void unInhibit(const std::string& caller, guint32 cookie);
  void callerLeft(const std::string& caller);
  void dropWatchIfUnused(const std::string& caller);

  static void methodCalled(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                           const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                           gpointer data);
  static void vanished(GDBusConnection*, const gchar* name, gpointer data);
  static const GDBusInterfaceVTable kVTable;

  GDBusConnection* bus_;
  Changed changed_;
  GDBusNodeInfo* introspection_ = nullptr;
  std::vector<guint> registrations_;
  bool owned_ = false;
  guint32 nextCookie_ = 1;
  std::map<guint32, std::string> cookies_;  // cookie -> the caller's unique name
  std::map<std::string, guint> callerWatches_;
};
