#pragma once

#include <gio/gio.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/x_session.h"

// A session bus of the test's own (dbus-daemon), ended with the object.
class PrivateBus {
 public:
  static std::unique_ptr<PrivateBus> start() {
    if (!haveProgram("dbus-daemon")) return nullptr;
    std::unique_ptr<PrivateBus> bus(new PrivateBus);
    return bus->launch() ? std::move(bus) : nullptr;
  }
  ~PrivateBus() {
    for (GDBusConnection* connection : connections_) {
      g_dbus_connection_close_sync(connection, nullptr, nullptr);
      g_object_unref(connection);
    }
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  const std::string& address() const { return address_; }
  const ScratchDir& scratch() const { return scratch_; }

  // A new connection to it, closed with the bus, or at once by close().
  GDBusConnection* connect() {
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
        address_.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    if (connection) {
      g_dbus_connection_set_exit_on_close(connection, FALSE);
      connections_.push_back(connection);
    }
    return connection;
  }
  void close(GDBusConnection* connection) { g_dbus_connection_close_sync(connection, nullptr, nullptr); }

  bool owned(GDBusConnection* connection, const char* name) {
    GVariant* reply = g_dbus_connection_call_sync(
        connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    gboolean has = FALSE;
    if (reply) {
      g_variant_get(reply, "(b)", &has);
      g_variant_unref(reply);
    }
    return has;
  }

 private:
  PrivateBus() = default;

  bool launch() {
    const std::string config = scratch_ / "bus.conf";
    std::ofstream(config) << "<busconfig><type>session</type><listen>unix:tmpdir=" << scratch_.path()
                          << "</listen><auth>EXTERNAL</auth><policy context='default'>"
                             "<allow send_destination='*' eavesdrop='true'/><allow eavesdrop='true'/>"
                             "<allow own='*'/></policy></busconfig>\n";
    const std::string addressFile = scratch_ / "address";
    daemon_ = std::make_unique<Process>(
        std::vector<std::string>{"dbus-daemon", "--nofork", "--config-file=" + config, "--print-address"},
        std::vector<std::string>{}, addressFile, addressFile);
    std::string text;
    if (!waitFor([&] { return (text = readFile(addressFile)).find('\n') != std::string::npos; },
                 std::chrono::seconds(10))) {
      return false;
    }
    address_ = text.substr(0, text.find('\n'));
    return true;
  }

  ScratchDir scratch_;
  std::unique_ptr<Process> daemon_;
  std::string address_;
  std::vector<GDBusConnection*> connections_;
};
