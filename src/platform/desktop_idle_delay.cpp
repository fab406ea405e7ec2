#include "platform/desktop_idle_delay.h"

#include <gio/gio.h>

std::optional<unsigned> gnomeIdleDelay() {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.session", TRUE) : nullptr;
  if (!schema) {
    return std::nullopt;
  }
  std::optional<unsigned> delay;
  if (g_settings_schema_has_key(schema, "idle-delay")) {
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    delay = g_settings_get_uint(settings, "idle-delay");
    g_object_unref(settings);
  }
  g_settings_schema_unref(schema);
  return delay;
}
