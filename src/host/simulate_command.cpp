#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "host/commands.h"
#include "host/field_json.h"
#include "host/option_table.h"
#include "host/run_options.h"
#include "host/view_bring_up.h"
#include "settings/keys.h"
#include "settings/load_defaults.h"

int runSimulate(std::span<const std::string_view> args) {
  const auto run = parseRunOptions(kSimulate, args);
  if (!run) {
    return 2;
  }
  const unsigned seed = run->seed.value_or(static_cast<unsigned>(time(nullptr)));
  const int64_t frames = run->frames.value_or(0);

  ScreenSaverDefaults& defaults =
      ScreenSaverDefaults::defaultsForModuleWithName(std::string(kBundleIdentifier));
  Field field;
  // Seeded as a view seeds its field, once as it is sized and again as it
  // starts, so that one seed gives the field that render and the window
  // modes show.
  seedRun(seed);
  for (int seeding = 0; seeding < 2; ++seeding) {
    field.model_init([&](Settings& settings) {
      loadDefaults(defaults, settings);
      applyOverrides(run->overrides, settings);
    });
  }
  if (!field.loc) {
    std::fputs("swirlmote simulate: out of memory for the field\n", stderr);
    return 1;
  }
  for (int64_t frame = 0; frame < frames; ++frame) {
    field.step();
    ++field.tick;
  }
  const std::string json = fieldToJson(field);
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}
