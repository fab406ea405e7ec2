#include "settings/load_defaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "settings/keys.h"
#include "support/config_home.h"

namespace {

class LoadDefaultsTest : public ::testing::Test {
 protected:
  TempConfigHome home_;
  ScreenSaverDefaults store_{home_.storePath(), storeGroup()};
  Settings settings_;
};

TEST_F(LoadDefaultsTest, EmptyStoreGivesTheSmallestFieldAndWritesBackOnlyTheLimitedKeys) {
  loadDefaults(store_, settings_);

  EXPECT_EQ(settings_.isRotationOn, 1);
  EXPECT_EQ(settings_.no_cyclones, 1);
  EXPECT_EQ(settings_.no_particles, 50);
  EXPECT_EQ(settings_.color_mode_particle, 0);
  EXPECT_EQ(settings_.color_mode_background, 0);
  for (const auto& color : {settings_.color_particle, settings_.color_background}) {
    ASSERT_TRUE(color.has_value());
    EXPECT_EQ(color->r, 0.0f);
    EXPECT_EQ(color->g, 0.0f);
    EXPECT_EQ(color->b, 0.0f);
    EXPECT_EQ(color->a, 0.0f);
  }
  EXPECT_EQ(settings_.particle_shape, 0);
  EXPECT_EQ(settings_.particle_scale, 0.5f);
  EXPECT_EQ(settings_.show_ai, 0);

  std::set<std::string> stored;
  for (const PreferenceKey& key : kPreferenceKeys) {
    if (store_.hasValueForKey(std::string(key.name))) {
      stored.insert(std::string(key.name));
    }
  }
  EXPECT_EQ(stored, (std::set<std::string>{"number of cyclones", "number of particles", "particle shape",
                                           "particle scale"}));
  EXPECT_EQ(store_.integerForKey("number of cyclones"), 1);
  EXPECT_EQ(store_.integerForKey("number of particles"), 50);
  EXPECT_EQ(store_.integerForKey("particle shape"), 0);
  EXPECT_EQ(store_.floatForKey("particle scale"), 0.5f);
  EXPECT_FALSE(std::filesystem::exists(home_.storePath())) << "loadDefaults must not synchronize";
}

TEST_F(LoadDefaultsTest, ColoursModesAndAfterimagesPassThroughUnchanged) {
  const std::vector<std::pair<std::string, float>> floats{
      {"particle color red", 0.1f},    {"particle color green", 0.2f},   {"particle color blue", 0.3f},
      {"particle color alpha", 0.4f},  {"background color red", 0.5f},   {"background color green", 0.6f},
      {"background color blue", 0.7f}, {"background color alpha", 0.8f},
  };
  for (const auto& [key, value] : floats) {
    store_.setFloat(value, key);
  }
  store_.setInteger(5, "particle color mode");
  store_.setInteger(-2, "background color mode");
  store_.setBool(true, "show afterimage");

  loadDefaults(store_, settings_);

  ASSERT_TRUE(settings_.color_particle && settings_.color_background);
  EXPECT_EQ(settings_.color_particle->r, 0.1f);
  EXPECT_EQ(settings_.color_particle->g, 0.2f);
  EXPECT_EQ(settings_.color_particle->b, 0.3f);
  EXPECT_EQ(settings_.color_particle->a, 0.4f);
  EXPECT_EQ(settings_.color_background->r, 0.5f);
  EXPECT_EQ(settings_.color_background->g, 0.6f);
  EXPECT_EQ(settings_.color_background->b, 0.7f);
  EXPECT_EQ(settings_.color_background->a, 0.8f);
  EXPECT_EQ(settings_.color_mode_particle, 5);
  EXPECT_EQ(settings_.color_mode_background, -2);
  EXPECT_EQ(settings_.show_ai, 1);
  EXPECT_EQ(store_.integerForKey("particle color mode"), 5);
  EXPECT_EQ(store_.integerForKey("background color mode"), -2);
}

// One stored value and what loading makes of it, in the settings and in the
// store.
struct LimitCase {
  const char* name;
  const char* key;
  bool isFloat;
  double stored;
  double loaded;
  double writtenBack;
};

class LimitTest : public LoadDefaultsTest, public ::testing::WithParamInterface<LimitCase> {};

double loadedValue(const Settings& settings, const std::string& key) {
  if (key == "number of cyclones") return settings.no_cyclones;
  if (key == "number of particles") return settings.no_particles;
  if (key == "particle shape") return settings.particle_shape;
  return settings.particle_scale;
}

TEST_P(LimitTest, IsLimitedAndWrittenBack) {
  const LimitCase& c = GetParam();
  if (c.isFloat) {
    store_.setFloat(static_cast<float>(c.stored), c.key);
  } else {
    store_.setInteger(static_cast<int64_t>(c.stored), c.key);
  }
  testing::internal::CaptureStderr();
  loadDefaults(store_, settings_);
  testing::internal::GetCapturedStderr();

  EXPECT_EQ(loadedValue(settings_, c.key), c.loaded);
  if (c.isFloat) {
    EXPECT_EQ(store_.floatForKey(c.key), static_cast<float>(c.writtenBack));
  } else {
    EXPECT_EQ(store_.integerForKey(c.key), static_cast<int64_t>(c.writtenBack));
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Limits, LimitTest,
    ::testing::Values(LimitCase{"CyclonesZero", "number of cyclones", false, 0, 1, 1},
                      LimitCase{"CyclonesNegative", "number of cyclones", false, -3, 1, 1},
                      LimitCase{"CyclonesTen", "number of cyclones", false, 10, 10, 10},
                      LimitCase{"CyclonesEleven", "number of cyclones", false, 11, 10, 10},
                      LimitCase{"CyclonesLow32Bits", "number of cyclones", false, 4294967301.0, 5, 5},
                      LimitCase{"CyclonesLow32BitsNegative", "number of cyclones", false, 4294967295.0, 1, 1},
                      LimitCase{"Particles49", "number of particles", false, 49, 50, 50},
                      LimitCase{"Particles50", "number of particles", false, 50, 50, 50},
                      LimitCase{"Particles200", "number of particles", false, 200, 200, 200},
                      LimitCase{"Particles201", "number of particles", false, 201, 200, 200},
                      LimitCase{"ShapeNegative", "particle shape", false, -1, 0, 0},
                      LimitCase{"ShapeNine", "particle shape", false, 9, 9, 9},
                      LimitCase{"ShapeTen", "particle shape", false, 10, 9, 9},
                      LimitCase{"ScaleZero", "particle scale", true, 0.0, 0.5, 0.5},
                      LimitCase{"Scale049", "particle scale", true, 0.49, 0.5, 0.5},
                      LimitCase{"Scale125", "particle scale", true, 1.25, 1.25, 1.25},
                      LimitCase{"Scale201", "particle scale", true, 2.01, 2.0, 2.0},
                      LimitCase{"ScaleNaN", "particle scale", true, kNaN, 0.5, 0.5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadDefaultsTest, ParticleCountIsPerCycloneInTheStoreAndTotalInTheField) {
  store_.setInteger(120, "number of particles");
  store_.setInteger(4, "number of cyclones");
  loadDefaults(store_, settings_);
  EXPECT_EQ(settings_.no_cyclones, 4);
  EXPECT_EQ(settings_.no_particles, 480);
  EXPECT_EQ(store_.integerForKey("number of particles"), 120);
  EXPECT_EQ(store_.integerForKey("number of cyclones"), 4);
}

TEST_F(LoadDefaultsTest, WrittenBackValuesBecomePersistentOnlyOnSynchronize) {
  store_.setInteger(11, "number of cyclones");
  ASSERT_TRUE(store_.synchronize());
  loadDefaults(store_, settings_);
  ScreenSaverDefaults other(home_.storePath(), storeGroup());
  EXPECT_EQ(other.integerForKey("number of cyclones"), 11);

  ASSERT_TRUE(store_.synchronize());
  ScreenSaverDefaults after(home_.storePath(), storeGroup());
  EXPECT_EQ(after.integerForKey("number of cyclones"), 10);
  EXPECT_EQ(after.floatForKey("particle scale"), 0.5f);
}

}  // namespace
