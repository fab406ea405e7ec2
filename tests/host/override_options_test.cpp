// The settings options on the command line, and the overrides they give
// over the store's settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/option_table.h"
#include "host/run_options.h"
#include "settings/color_text.h"
#include "settings/load_defaults.h"
#include "settings/overrides.h"
#include "support/config_home.h"

namespace {

// The overrides that one option with its value gives, or nothing when it is
// refused.
std::optional<SettingsOverrides> read(std::vector<std::string_view> args) {
  testing::internal::CaptureStderr();
  const auto options = parseRunOptions(kSimulate, args);
  testing::internal::GetCapturedStderr();
  if (!options) return std::nullopt;
  return options->overrides;
}

TEST(OverrideOptions, ReadsEachSetting) {
  EXPECT_EQ(read({"--cyclones", "1"})->cyclones, 1);
  EXPECT_EQ(read({"--cyclones", "10"})->cyclones, 10);
  EXPECT_EQ(read({"--particles", "50"})->particlesPerCyclone, 50);
  EXPECT_EQ(read({"--particles", "200"})->particlesPerCyclone, 200);
  EXPECT_EQ(read({"--shape", "circle"})->shape, 0);
  EXPECT_EQ(read({"--shape", "five-star"})->shape, 7);
  EXPECT_EQ(read({"--shape", "six-star"})->shape, 8);
  EXPECT_EQ(read({"--shape", "ring"})->shape, 9);
  // The sprite files' names, which stored command lines hold.
  EXPECT_EQ(read({"--shape", "star_5"})->shape, 7);
  EXPECT_EQ(read({"--shape", "star_6"})->shape, 8);
  EXPECT_EQ(read({"--shape", "gn"})->shape, 9);
  EXPECT_EQ(read({"--scale", "0.5"})->scale, 0.5f);
  EXPECT_EQ(read({"--scale", "2"})->scale, 2.0f);
  EXPECT_EQ(read({"--scale", "1.25"})->scale, 1.25f);
  EXPECT_EQ(read({"--afterimages"})->afterimages, true);
  EXPECT_EQ(read({"--no-afterimages"})->afterimages, false);

  const auto automatic = read({"--particle-color", "auto"});
  ASSERT_TRUE(automatic && automatic->particleColor);
  EXPECT_FALSE(*automatic->particleColor);
  const auto cycling = read({"--background-color", "cycling"});
  ASSERT_TRUE(cycling && cycling->backgroundColor);
  EXPECT_FALSE(*cycling->backgroundColor);

  const auto orange = read({"--particle-color", "FF8000"});
  ASSERT_TRUE(orange && orange->particleColor && *orange->particleColor);
  const ColorRGBA color = **orange->particleColor;
  EXPECT_EQ(color.r, 1.0f);
  EXPECT_EQ(color.g, 128.0f / 255.0f);
  EXPECT_EQ(color.b, 0.0f);
  EXPECT_EQ(color.a, 1.0f);
  const auto hashed = read({"--background-color", "#0a0B0c"});
  ASSERT_TRUE(hashed && hashed->backgroundColor && *hashed->backgroundColor);
  EXPECT_EQ((*hashed->backgroundColor)->b, 12.0f / 255.0f);
  const auto named = read({"--background-color", "Steel Blue"});
  ASSERT_TRUE(named && named->backgroundColor && *named->backgroundColor);
  EXPECT_EQ((*named->backgroundColor)->g, 130.0f / 255.0f);
}

TEST(OverrideOptions, RefusesValuesOutOfPlace) {
  const std::vector<std::vector<std::string_view>> cases = {
      {"--cyclones", "0"},
      {"--cyclones", "11"},
      {"--particles", "49"},
      {"--particles", "201"},
      {"--shape", "circle.png"},
      {"--shape", ""},
      {"--shape", "Circle"},
      {"--shape", "star5"},
      {"--scale", "0.49"},
      {"--scale", "2.01"},
      {"--scale", "nan"},
      {"--scale", "1x"},
      {"--particle-color", "cycling"},
      {"--background-color", "auto"},
      {"--particle-color", "12345"},
      {"--particle-color", "12345g"},
      {"--particle-color", "#1234567"},
      {"--particle-color", "notacolour"},
      {"--background-color", "rgb:1/2"},
      {"--scale"},
      {"--shape"},
  };
  for (const auto& args : cases) {
    EXPECT_FALSE(read(args)) << testing::PrintToString(args);
  }
}

// A refused colour's message names the value and the forms a colour takes.
TEST(OverrideOptions, ARefusedColourSaysWhatIsTaken) {
  const std::vector<std::string_view> args{"--particle-color", "notacolour"};
  testing::internal::CaptureStderr();
  EXPECT_FALSE(parseRunOptions(kSimulate, args));
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_NE(message.find("'notacolour'"), std::string::npos) << message;
  EXPECT_NE(message.find("auto or a colour: " + std::string(kColorForms)), std::string::npos) << message;
}

TEST(OverrideOptions, OtherOptionsOverrideNothing) {
  for (const std::vector<std::string_view>& args : std::vector<std::vector<std::string_view>>{
           {"--seed", "3"}, {"--frames", "60"}, {"--no-stored-settings"}}) {
    const auto overrides = read(args);
    ASSERT_TRUE(overrides) << testing::PrintToString(args);
    EXPECT_FALSE(overrides->cyclones || overrides->particlesPerCyclone || overrides->shape ||
                 overrides->scale || overrides->afterimages || overrides->particleColor ||
                 overrides->backgroundColor)
        << testing::PrintToString(args);
  }
}

Settings storedSettings() {
  Settings settings;
  settings.no_cyclones = 3;
  settings.no_particles = 3 * 120;
  settings.color_mode_particle = 1;
  settings.color_particle = ColorRGBA{0.1f, 0.2f, 0.3f, 0.4f};
  settings.color_mode_background = 0;
  settings.color_background = ColorRGBA{0.5f, 0.6f, 0.7f, 0.8f};
  settings.particle_shape = 2;
  settings.particle_scale = 1.5f;
  settings.show_ai = 1;
  return settings;
}

TEST(ApplyOverrides, NoOverridesKeepTheStoredSettings) {
  Settings settings = storedSettings();
  applyOverrides(SettingsOverrides{}, settings);
  EXPECT_EQ(settings.no_cyclones, 3);
  EXPECT_EQ(settings.no_particles, 360);
  EXPECT_EQ(settings.color_mode_particle, 1);
  EXPECT_EQ(settings.color_particle->r, 0.1f);
  EXPECT_EQ(settings.color_mode_background, 0);
  EXPECT_EQ(settings.particle_shape, 2);
  EXPECT_EQ(settings.particle_scale, 1.5f);
  EXPECT_EQ(settings.show_ai, 1);
}

// Ignoring the store, every setting is an empty store's, and the options
// given go over those.
TEST(ApplyOverrides, IgnoringTheStoreGivesTheBuiltInDefaults) {
  TempConfigHome home;
  writeFile(home.storePath(), storeText("number of cyclones=7\nnumber of particles=150\n"
                                        "particle color mode=1\nparticle color red=0.5\n"
                                        "background color mode=1\nbackground color blue=0.5\n"
                                        "particle shape=4\nparticle scale=1.75\nshow afterimage=true\n"));
  ScreenSaverDefaults stored(home.storePath(), storeGroup());
  ScreenSaverDefaults empty(home.dir() + "/none.ini", storeGroup());
  Settings builtIn;
  loadDefaults(empty, builtIn);

  struct Case {
    SettingsOverrides overrides;
    int32_t cyclones;
    int32_t particles;
  };
  SettingsOverrides four;
  four.cyclones = 4;
  const Case cases[] = {{SettingsOverrides{}, builtIn.no_cyclones, builtIn.no_particles},
                        {four, 4, 4 * builtIn.no_particles}};
  for (Case c : cases) {
    c.overrides.storeIgnored = true;
    Settings settings;
    loadDefaults(stored, settings);
    ASSERT_EQ(settings.no_cyclones, 7) << "the store is read";
    applyOverrides(c.overrides, settings);
    EXPECT_EQ(settings.isRotationOn, builtIn.isRotationOn);
    EXPECT_EQ(settings.no_cyclones, c.cyclones);
    EXPECT_EQ(settings.no_particles, c.particles);
    EXPECT_EQ(settings.color_mode_particle, builtIn.color_mode_particle);
    EXPECT_EQ(settings.color_mode_background, builtIn.color_mode_background);
    ASSERT_TRUE(settings.color_particle && settings.color_background);
    EXPECT_EQ(settings.color_particle->r, builtIn.color_particle->r);
    EXPECT_EQ(settings.color_background->b, builtIn.color_background->b);
    EXPECT_EQ(settings.particle_shape, builtIn.particle_shape);
    EXPECT_EQ(settings.particle_scale, builtIn.particle_scale);
    EXPECT_EQ(settings.show_ai, builtIn.show_ai);
  }
}

TEST(ApplyOverrides, CountsKeepTheTotalAProduct) {
  struct Case {
    std::optional<int32_t> cyclones;
    std::optional<int32_t> perCyclone;
    int32_t wantCyclones;
    int32_t wantTotal;
  };
  const Case cases[] = {
      {5, std::nullopt, 5, 5 * 120},  // the stored count per cyclone stays
      {std::nullopt, 50, 3, 3 * 50},
      {10, 200, 10, 2000},
  };
  for (const Case& c : cases) {
    Settings settings = storedSettings();
    SettingsOverrides overrides;
    overrides.cyclones = c.cyclones;
    overrides.particlesPerCyclone = c.perCyclone;
    applyOverrides(overrides, settings);
    EXPECT_EQ(settings.no_cyclones, c.wantCyclones);
    EXPECT_EQ(settings.no_particles, c.wantTotal);
  }
}

TEST(ApplyOverrides, ColourChoicesSetModeAndColour) {
  Settings settings = storedSettings();
  SettingsOverrides overrides;
  overrides.particleColor = std::optional<ColorRGBA>();                      // the cyclones' hues
  overrides.backgroundColor = std::optional<ColorRGBA>({0, 0, 1.0f, 1.0f});  // blue
  overrides.shape = 9;
  overrides.scale = 0.5f;
  overrides.afterimages = false;
  applyOverrides(overrides, settings);
  EXPECT_EQ(settings.color_mode_particle, 0);
  EXPECT_EQ(settings.color_mode_background, 1);
  ASSERT_TRUE(settings.color_background);
  EXPECT_EQ(settings.color_background->b, 1.0f);
  EXPECT_EQ(settings.color_background->r, 0.0f);
  EXPECT_EQ(settings.particle_shape, 9);
  EXPECT_EQ(settings.particle_scale, 0.5f);
  EXPECT_EQ(settings.show_ai, 0);
}

}  // namespace
