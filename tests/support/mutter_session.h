#pragma once

#include <gio/gio.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/private_bus.h"

// A headless mutter with one 640x480 output, on a session bus of the test's
// own, whose remote desktop presses keys.
class MutterSession {
 public:
  static std::unique_ptr<MutterSession> start() {
    if (!haveProgram("mutter")) return nullptr;
    std::unique_ptr<MutterSession> session(new MutterSession);
    return session->launch() ? std::move(session) : nullptr;
  }
  GDBusConnection* bus() const { return connection_; }
  const std::string& address() const { return bus_->address(); }
  // What a client of this session is given: its compositor and its bus, and
  // no X display.
  std::vector<std::string> clientEnvironment() const {
    return {"WAYLAND_DISPLAY=" + std::string(kDisplay), "XDG_RUNTIME_DIR=" + runtime_,
            "DBUS_SESSION_BUS_ADDRESS=" + address(), "DISPLAY=", "XSCREENSAVER_WINDOW="};
  }

  // A key pressed and let go through mutter's remote desktop, whose session
  // belongs to the connection that made it.
  bool pressKey() {
    GVariant* created = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
                             "CreateSession", nullptr, G_VARIANT_TYPE("(o)"));
    if (!created) return false;
    const gchar* path = nullptr;
    g_variant_get(created, "(&o)", &path);
    const std::string session = path;
    g_variant_unref(created);
    const auto step = [&](const char* method, GVariant* parameters) {
      GVariant* reply = call(session, "org.gnome.Mutter.RemoteDesktop.Session", method, parameters, nullptr);
      if (reply) g_variant_unref(reply);
      return reply != nullptr;
    };
    return step("Start", nullptr) && step("NotifyKeyboardKeycode", g_variant_new("(ub)", 30u, TRUE)) &&
           step("NotifyKeyboardKeycode", g_variant_new("(ub)", 30u, FALSE)) && step("Stop", nullptr);
  }

 private:
  MutterSession() = default;

  bool launch() {
    bus_ = PrivateBus::start();
    if (!bus_ || !(connection_ = bus_->connect())) return false;
    runtime_ = bus_->scratch() / "runtime";
    std::filesystem::create_directory(runtime_);
    std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
    mutter_ = std::make_unique<Process>(
        std::vector<std::string>{"mutter", "--headless", "--wayland", "--no-x11", "--virtual-monitor",
                                 "640x480", "--wayland-display", kDisplay},
        std::vector<std::string>{"DBUS_SESSION_BUS_ADDRESS=" + bus_->address(), "XDG_RUNTIME_DIR=" + runtime_,
                                 "HOME=" + bus_->scratch().path(), "DISPLAY=", "WAYLAND_DISPLAY="},
        bus_->scratch() / "mutter.log");
    // The remote desktop is the last of what the tests use to come up.
    return waitFor(
        [&] {
          return bus_->owned(connection_, "org.gnome.Mutter.IdleMonitor") &&
                 bus_->owned(connection_, "org.gnome.Mutter.RemoteDesktop");
        },
        std::chrono::seconds(30));
  }

  GVariant* call(const std::string& path, const char* interface, const char* method, GVariant* parameters,
                 const GVariantType* reply) {
    return g_dbus_connection_call_sync(connection_, "org.gnome.Mutter.RemoteDesktop", path.c_str(), interface,
                                       method, parameters, reply, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
                                       nullptr);
  }

  static constexpr const char* kDisplay = "idle-test";
  std::string runtime_;
  // Ended in this order: mutter before its bus.
  std::unique_ptr<PrivateBus> bus_;
  GDBusConnection* connection_ = nullptr;
  std::unique_ptr<Process> mutter_;
};
