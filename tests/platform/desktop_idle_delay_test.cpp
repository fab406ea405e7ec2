#include "platform/desktop_idle_delay.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include "support/requirements.h"
#include "support/scoped_environment.h"

namespace {

// GNOME's setting as the desktop changed it, read through GSettings' memory
// back end, which this process shares.
TEST(GnomeIdleDelay, ReadsTheDesktopsSetting) {
  ScopedEnvironment environment;
  environment.set("GSETTINGS_BACKEND", "memory");
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.session", TRUE) : nullptr;
  REQUIRE_OR_SKIP(schema, "GNOME's settings schemas (gsettings-desktop-schemas)");
  g_settings_schema_unref(schema);
  EXPECT_EQ(gnomeIdleDelay(), 300u) << "GNOME's default";
  GSettings* settings = g_settings_new("org.gnome.desktop.session");
  for (const unsigned seconds : {60u, 0u}) {
    g_settings_set_uint(settings, "idle-delay", seconds);
    EXPECT_EQ(gnomeIdleDelay(), seconds);
  }
  g_object_unref(settings);
}

}  // namespace
