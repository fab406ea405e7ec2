#include "platform/session_bus.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr guint32 kDoNotQueue = 4;
constexpr guint32 kPrimaryOwner = 1;
constexpr guint32 kAlreadyOwner = 4;

GVariant* callBus(GDBusConnection* bus, const char* method, GVariant* parameters, const GVariantType* reply) {
  return g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", method, parameters, reply,
                                     G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
}

bool sessionHasBus() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address && *address) {
    return true;
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code ignored;
  return runtime && *runtime && std::filesystem::exists(std::string(runtime) + "/bus", ignored);
}

}  // namespace

GDBusConnection* sessionBus() {
  static GDBusConnection* bus = nullptr;
  if (!bus && sessionHasBus()) {
    bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus) {
      g_dbus_connection_set_exit_on_close(bus, FALSE);
    }
  }
  return bus;
}

BusNameRequest requestBusName(GDBusConnection* bus, const char* name) {
  GVariant* reply =
      callBus(bus, "RequestName", g_variant_new("(su)", name, kDoNotQueue), G_VARIANT_TYPE("(u)"));
  if (!reply) {
    return BusNameRequest::Failed;
  }
  guint32 answer = 0;
  g_variant_get(reply, "(u)", &answer);
  g_variant_unref(reply);
  return answer == kPrimaryOwner || answer == kAlreadyOwner ? BusNameRequest::Owned : BusNameRequest::Taken;
}

void releaseBusName(GDBusConnection* bus, const char* name) {
  if (GVariant* reply = callBus(bus, "ReleaseName", g_variant_new("(s)", name), nullptr)) {
    g_variant_unref(reply);
  }
}

bool busNameHasOwner(GDBusConnection* bus, const char* name) {
  GVariant* reply = callBus(bus, "NameHasOwner", g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"));
  gboolean owned = FALSE;
  if (reply) {
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
  }
  return owned;
}
