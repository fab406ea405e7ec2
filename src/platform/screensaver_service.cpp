#include "platform/screensaver_service.h"

#include "platform/session_bus.h"

namespace {

constexpr char kName[] = "org.freedesktop.ScreenSaver";
constexpr char kIntrospection[] =
    "<node><interface name='org.freedesktop.ScreenSaver'>"
    "<method name='Inhibit'><arg type='s' name='application_name' direction='in'/>"
    "<arg type='s' name='reason_for_inhibit' direction='in'/><arg type='u' name='cookie' "
    "direction='out'/></method>"
    "<method name='UnInhibit'><arg type='u' name='cookie' direction='in'/></method>"
    "</interface></node>";
}  // namespace

const GDBusInterfaceVTable ScreenSaverService::kVTable{
    &ScreenSaverService::methodCalled, nullptr, nullptr, {}};

std::unique_ptr<ScreenSaverService> ScreenSaverService::start(GDBusConnection* bus, Changed changed) {
  std::unique_ptr<ScreenSaverService> service(new ScreenSaverService(bus, std::move(changed)));
  // The objects are there before the name, so that no early call is lost.
  service->owned_ =
      service->registrations_.size() == 2 && requestBusName(bus, kName) == BusNameRequest::Owned;
  return service->owned_ ? std::move(service) : nullptr;
}

ScreenSaverService::ScreenSaverService(GDBusConnection* bus, Changed changed)
    : bus_(bus),
      changed_(std::move(changed)),
      introspection_(g_dbus_node_info_new_for_xml(kIntrospection, nullptr)) {
  for (const char* path : {"/ScreenSaver", "/org/freedesktop/ScreenSaver"}) {
    const guint id = g_dbus_connection_register_object(bus_, path, introspection_->interfaces[0], &kVTable,
                                                       this, nullptr, nullptr);
    if (id != 0) {
      registrations_.push_back(id);
    }
  }
}

ScreenSaverService::~ScreenSaverService() {
  if (owned_) {
    releaseBusName(bus_, kName);
  }
  for (const guint id : registrations_) {
    g_dbus_connection_unregister_object(bus_, id);
  }
  for (const auto& [caller, watch] : callerWatches_) {
    g_bus_unwatch_name(watch);
  }
  g_dbus_node_info_unref(introspection_);
}

guint32 ScreenSaverService::inhibit(const std::string& caller) {
  const bool wasHeld = held();
  const guint32 cookie = nextCookie_++;
  if (nextCookie_ == 0) {
    nextCookie_ = 1;
  }
  cookies_[cookie] = caller;
  if (!callerWatches_.contains(caller)) {
    callerWatches_[caller] =
        g_bus_watch_name_on_connection(bus_, caller.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
                                       &ScreenSaverService::vanished, this, nullptr);
  }
  if (!wasHeld) {
    changed_(true);
  }
  return cookie;
}

// Only the caller that was given a cookie may give it back.
void ScreenSaverService::unInhibit(const std::string& caller, guint32 cookie) {
  const auto found = cookies_.find(cookie);
  if (found == cookies_.end() || found->second != caller) {
    return;
  }
  cookies_.erase(found);
  dropWatchIfUnused(caller);
  if (!held()) {
    changed_(false);
  }
}

void ScreenSaverService::callerLeft(const std::string& caller) {
  const bool wasHeld = held();
  std::erase_if(cookies_, [&](const auto& entry) { return entry.second == caller; });
  dropWatchIfUnused(caller);
  if (wasHeld && !held()) {
    changed_(false);
  }
}

void ScreenSaverService::dropWatchIfUnused(const std::string& caller) {
  for (const auto& [cookie, holder] : cookies_) {
    if (holder == caller) {
      return;
    }
  }
  if (const auto watch = callerWatches_.find(caller); watch != callerWatches_.end()) {
    g_bus_unwatch_name(watch->second);
    callerWatches_.erase(watch);
  }
}

void ScreenSaverService::methodCalled(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                                      const gchar* method, GVariant* parameters,
                                      GDBusMethodInvocation* invocation, gpointer data) {
  auto* self = static_cast<ScreenSaverService*>(data);
  const std::string caller = sender ? sender : "";
  if (g_str_equal(method, "Inhibit")) {
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", self->inhibit(caller)));
  } else {
    guint32 cookie = 0;
    g_variant_get(parameters, "(u)", &cookie);
    self->unInhibit(caller, cookie);
    g_dbus_method_invocation_return_value(invocation, nullptr);
  }
}

void ScreenSaverService::vanished(GDBusConnection*, const gchar* name, gpointer data) {
  static_cast<ScreenSaverService*>(data)->callerLeft(name);
}
