#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "host/arguments.h"
#include "host/commands.h"
#include "host/field_json.h"
#include "settings/keys.h"
#include "settings/load_defaults.h"

int runSimulate(std::span<const std::string_view> args) {
  ArgumentReader reader("simulate", args);
  auto seed = static_cast<unsigned>(time(nullptr));
  int64_t frames = 0;
  while (!reader.done()) {
    const std::string_view option = reader.next();
    if (option == "--seed") {
      const auto value = reader.integer(option, 0, 4294967295);
      if (!value) {
        return 2;
      }
      seed = static_cast<unsigned>(*value);
    } else if (option == "--frames") {
      const auto value = reader.integer(option, 0, 1000000000);
      if (!value) {
        return 2;
      }
      frames = *value;
    } else {
      return reader.refuse("unknown option '" + std::string(option) + "'");
    }
  }

  ScreenSaverDefaults& defaults =
      ScreenSaverDefaults::defaultsForModuleWithName(std::string(kBundleIdentifier));
  Field field;
  // Seeded as a view seeds its field, once as it is sized and again as it
  // starts, so that one seed gives the field that render and the window
  // modes show.
  srandom(seed);
  for (int seeding = 0; seeding < 2; ++seeding) {
    field.model_init([&](Settings& settings) { loadDefaults(defaults, settings); });
  }
  if (!field.loc) {
    std::fputs("swirlmote simulate: out of memory for the field\n", stderr);
    return 1;
  }
  for (int64_t frame = 0; frame < frames; ++frame) {
    field.model_handle_events();
    field.model_handle_particles();
    if (field.show_ai == 1) {
      field.model_handle_afterimage();
    }
    ++field.tick;
  }
  const std::string json = fieldToJson(field);
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}
