#include "platform/screensaver_service.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include "support/main_context.h"
#include "support/private_bus.h"

namespace {

using namespace std::chrono_literals;

// Calls a method of the service from another connection of this process;
// the answer comes while the main context runs, which serves the call too.
std::optional<GVariant*> callService(GDBusConnection* caller, const char* path, const char* method,
                                     GVariant* parameters) {
  struct Answer {
    bool came = false;
    GVariant* value = nullptr;
  } answer;
  g_dbus_connection_call(
      caller, "org.freedesktop.ScreenSaver", path, "org.freedesktop.ScreenSaver", method, parameters, nullptr,
      G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        auto* answer = static_cast<Answer*>(data);
        answer->value = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
        answer->came = true;
      },
      &answer);
  runMainContextUntil([&] { return answer.came; }, 6s);
  if (!answer.value) return std::nullopt;
  return answer.value;
}

std::optional<guint32> inhibit(GDBusConnection* caller, const char* path) {
  const auto reply = callService(caller, path, "Inhibit", g_variant_new("(ss)", "player", "a film"));
  if (!reply) return std::nullopt;
  guint32 cookie = 0;
  g_variant_get(*reply, "(u)", &cookie);
  g_variant_unref(*reply);
  return cookie;
}

bool unInhibit(GDBusConnection* caller, guint32 cookie) {
  const auto reply =
      callService(caller, "/org/freedesktop/ScreenSaver", "UnInhibit", g_variant_new("(u)", cookie));
  if (reply) g_variant_unref(*reply);
  return reply.has_value();
}

class ScreenSaverServiceTest : public testing::Test {
 protected:
  void SetUp() override {
    bus_ = PrivateBus::start();
    REQUIRE_OR_SKIP(bus_, "dbus-daemon");
    service_ = ScreenSaverService::start(bus_->connect(), [this](bool held) { changes_.push_back(held); });
    ASSERT_TRUE(service_);
  }
  void TearDown() override { service_.reset(); }

  std::unique_ptr<PrivateBus> bus_;
  std::unique_ptr<ScreenSaverService> service_;
  std::vector<bool> changes_;
};

TEST_F(ScreenSaverServiceTest, CookiesHoldUntilEachIsGivenBack) {
  GDBusConnection* player = bus_->connect();
  const auto first = inhibit(player, "/org/freedesktop/ScreenSaver");
  const auto second = inhibit(player, "/ScreenSaver");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_TRUE(service_->held());
  EXPECT_EQ(changes_, std::vector<bool>{true});

  // Another caller cannot give back a cookie it was not given.
  GDBusConnection* stranger = bus_->connect();
  ASSERT_TRUE(unInhibit(stranger, *first));
  ASSERT_TRUE(unInhibit(player, *first));
  EXPECT_TRUE(service_->held());
  ASSERT_TRUE(unInhibit(player, *second));
  EXPECT_FALSE(service_->held());
  EXPECT_EQ(changes_, (std::vector<bool>{true, false}));
}

TEST_F(ScreenSaverServiceTest, ACallerThatLeavesTheBusDropsItsCookies) {
  GDBusConnection* player = bus_->connect();
  GDBusConnection* browser = bus_->connect();
  ASSERT_TRUE(inhibit(player, "/ScreenSaver"));
  ASSERT_TRUE(inhibit(player, "/ScreenSaver"));
  ASSERT_TRUE(inhibit(browser, "/org/freedesktop/ScreenSaver"));
  bus_->close(player);
  runMainContextFor(300ms);
  EXPECT_TRUE(service_->held()) << "the browser's cookie still holds";
  bus_->close(browser);
  EXPECT_TRUE(runMainContextUntil([&] { return !service_->held(); }, 5s));
  EXPECT_EQ(changes_, (std::vector<bool>{true, false}));
}

TEST_F(ScreenSaverServiceTest, ASecondOwnerIsRefused) {
  EXPECT_FALSE(ScreenSaverService::start(bus_->connect(), [](bool) {}));
  // Once the first is gone, the name is free again.
  service_.reset();
  EXPECT_TRUE(ScreenSaverService::start(bus_->connect(), [](bool) {}));
}

}  // namespace
