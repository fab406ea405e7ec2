#include "settings/sheet_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/load_defaults.h"
#include "support/config_home.h"

namespace {

// A control that holds whatever it is given and counts its enablings.
class FakeControl : public Control {
 public:
  void setDoubleValue(double value) override { value_ = value; }
  double doubleValue() const override { return value_; }
  void setIntValue(int32_t value) override { shown_ = value; }
  void selectItemAtIndex(int64_t index) override { index_ = index; }
  int64_t indexOfSelectedItem() const override { return index_; }
  void setColor(ColorRGBA color) override { color_ = color; }
  ColorRGBA color() const override { return color_; }
  void setState(int64_t state) override { state_ = state; }
  int64_t state() const override { return state_; }
  void setEnabled(bool enabled) override {
    enabled_ = enabled;
    ++enablings_;
  }
  bool isEnabled() const override { return enabled_; }
  int64_t tag() const override { return tag_; }

  double value_ = -99.0;
  int32_t shown_ = -99;
  int64_t index_ = -99;
  ColorRGBA color_{-1.0f, -1.0f, -1.0f, -1.0f};
  int64_t state_ = -99;
  bool enabled_ = true;
  int enablings_ = 0;
  int64_t tag_ = 0;
};

// A sheet window that records, when it is ended, whether anything had been
// stored yet.
class FakeSheet : public Sheet {
 public:
  explicit FakeSheet(ScreenSaverDefaults& defaults) : defaults_(defaults) {}
  void endSheet() override {
    ++ends_;
    storedBeforeEnd_ = defaults_.hasValueForKey("number of cyclones");
  }
  int ends_ = 0;
  bool storedBeforeEnd_ = false;

 private:
  ScreenSaverDefaults& defaults_;
};

class SheetControllerTest : public ::testing::Test {
 protected:
  SheetControllerTest() : defaults_(home_.storePath(), storeGroup()), sheet_(defaults_) { makeControls(); }

  // A fresh fake behind every outlet.
  void makeControls() {
    controls_.clear();
    for (const auto& [name, outlet] : kControlOutlets) {
      controls_.push_back(std::make_unique<FakeControl>());
      outlets_.*outlet = controls_.back().get();
    }
    outlets_.WIN_sheet = &sheet_;
    ok().tag_ = kOKTag;
  }

  FakeControl& fake(Control* SheetOutlets::*outlet) { return *static_cast<FakeControl*>(outlets_.*outlet); }
  FakeControl& ok() { return fake(&SheetOutlets::BTN_OK); }

  // The store as another process would read it from disk.
  ScreenSaverDefaults onDisk() { return ScreenSaverDefaults(home_.storePath(), storeGroup()); }

  void close(const Control* sender) {
    closeSheet(outlets_, sender, defaults_, [this] {
      ++reseeds_;
      reseedSawFile_ = onDisk().hasValueForKey("show afterimage");
    });
  }

  TempConfigHome home_;
  ScreenSaverDefaults defaults_;
  FakeSheet sheet_;
  std::vector<std::unique_ptr<FakeControl>> controls_;
  SheetOutlets outlets_;
  FakeControl cancel_;
  int reseeds_ = 0;
  bool reseedSawFile_ = false;
};

TEST_F(SheetControllerTest, SynchronizeShowsTheStoreWithoutLimits) {
  defaults_.setInteger(-3, "number of cyclones");
  defaults_.setInteger(201, "number of particles");
  defaults_.setInteger(5, "particle color mode");
  defaults_.setFloat(0.25f, "particle color red");
  defaults_.setFloat(0.5f, "particle color green");
  defaults_.setFloat(0.75f, "particle color blue");
  defaults_.setFloat(0.125f, "particle color alpha");
  defaults_.setInteger(1, "background color mode");
  defaults_.setFloat(2.5f, "background color red");
  defaults_.setInteger(12, "particle shape");
  defaults_.setFloat(0.1f, "particle scale");
  defaults_.setInteger(2, "show afterimage");

  synchronizeToDefaults(outlets_, defaults_);

  EXPECT_EQ(fake(&SheetOutlets::SLDR_no_cyclones).value_, -3.0);
  EXPECT_EQ(fake(&SheetOutlets::TEXT_no_cyclones).shown_, -3);
  EXPECT_EQ(fake(&SheetOutlets::SLDR_no_particles).value_, 201.0);
  EXPECT_EQ(fake(&SheetOutlets::TEXT_no_particles).shown_, 201);
  EXPECT_EQ(fake(&SheetOutlets::PUB_pt_color).index_, 5);
  const ColorRGBA pt = fake(&SheetOutlets::CW_pt).color_;
  EXPECT_EQ(pt.r, 0.25f);
  EXPECT_EQ(pt.g, 0.5f);
  EXPECT_EQ(pt.b, 0.75f);
  EXPECT_EQ(pt.a, 0.125f);
  EXPECT_EQ(fake(&SheetOutlets::PUB_bg_color).index_, 1);
  const ColorRGBA bg = fake(&SheetOutlets::CW_bg).color_;
  EXPECT_EQ(bg.r, 2.5f);
  EXPECT_EQ(bg.g, 0.0f);
  EXPECT_EQ(bg.a, 0.0f);
  EXPECT_EQ(fake(&SheetOutlets::PUB_shape).index_, 12);
  EXPECT_EQ(fake(&SheetOutlets::SLDR_scale_particle).value_, static_cast<double>(0.1f));
  EXPECT_EQ(fake(&SheetOutlets::SWTCH_afterimage).state_, 1);
  for (const auto& control : controls_) {
    EXPECT_EQ(control->enablings_, 0) << "filling the controls enables and disables nothing";
  }
  EXPECT_EQ(sheet_.ends_, 0);
}

TEST_F(SheetControllerTest, SynchronizeOfAnEmptyStoreShowsZeros) {
  synchronizeToDefaults(outlets_, defaults_);
  EXPECT_EQ(fake(&SheetOutlets::SLDR_no_cyclones).value_, 0.0);
  EXPECT_EQ(fake(&SheetOutlets::TEXT_no_particles).shown_, 0);
  EXPECT_EQ(fake(&SheetOutlets::PUB_shape).index_, 0);
  EXPECT_EQ(fake(&SheetOutlets::CW_bg).color_.a, 0.0f);
  EXPECT_EQ(fake(&SheetOutlets::SLDR_scale_particle).value_, 0.0);
  EXPECT_EQ(fake(&SheetOutlets::SWTCH_afterimage).state_, 0);
  EXPECT_FALSE(defaults_.hasValueForKey("number of cyclones")) << "filling the controls writes nothing";
}

TEST_F(SheetControllerTest, SynchronizeReadsTheAfterimageSwitchAsAnInteger) {
  struct Case {
    const char* stored;
    int64_t state;
  };
  for (const Case& c : {Case{"true", 1}, Case{"false", 0}, Case{"-1", 1}, Case{"0", 0}, Case{"0.5", 0}}) {
    writeStore(home_.dir(), std::string("show afterimage=") + c.stored + "\n");
    ScreenSaverDefaults stored = onDisk();
    synchronizeToDefaults(outlets_, stored);
    EXPECT_EQ(fake(&SheetOutlets::SWTCH_afterimage).state_, c.state) << c.stored;
  }
}

TEST_F(SheetControllerTest, ChangeUpdatesTheSendersCompanionOnly) {
  using Outlet = Control* SheetOutlets::*;
  struct Case {
    const char* what;
    Outlet sender;
    double value;
    int64_t index;
    Outlet companion;  // null: no companion control changes
    std::optional<int32_t> shown;
    std::optional<bool> enabled;
  };
  const Case cases[] = {
      {"cyclones 7.9 shows 7",
       &SheetOutlets::SLDR_no_cyclones,
       7.9,
       0,
       &SheetOutlets::TEXT_no_cyclones,
       7,
       {}},
      {"cyclones -0.5 truncates towards 0",
       &SheetOutlets::SLDR_no_cyclones,
       -0.5,
       0,
       &SheetOutlets::TEXT_no_cyclones,
       0,
       {}},
      {"particles 120.99 shows 120",
       &SheetOutlets::SLDR_no_particles,
       120.99,
       0,
       &SheetOutlets::TEXT_no_particles,
       120,
       {}},
      {"particle colour 1 enables", &SheetOutlets::PUB_pt_color, 0, 1, &SheetOutlets::CW_pt, {}, true},
      {"particle colour 0 disables", &SheetOutlets::PUB_pt_color, 0, 0, &SheetOutlets::CW_pt, {}, false},
      {"particle colour 2 disables", &SheetOutlets::PUB_pt_color, 0, 2, &SheetOutlets::CW_pt, {}, false},
      {"background 1 enables", &SheetOutlets::PUB_bg_color, 0, 1, &SheetOutlets::CW_bg, {}, true},
      {"background -1 disables", &SheetOutlets::PUB_bg_color, 0, -1, &SheetOutlets::CW_bg, {}, false},
      {"particle well", &SheetOutlets::CW_pt, 0, 1, nullptr, {}, {}},
      {"background well", &SheetOutlets::CW_bg, 0, 1, nullptr, {}, {}},
      {"shape", &SheetOutlets::PUB_shape, 0, 1, nullptr, {}, {}},
      {"scale", &SheetOutlets::SLDR_scale_particle, 1.5, 0, nullptr, {}, {}},
      {"switch", &SheetOutlets::SWTCH_afterimage, 0, 0, nullptr, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    makeControls();
    ok().enabled_ = false;
    FakeControl& sender = fake(c.sender);
    sender.value_ = c.value;
    sender.index_ = c.index;

    changeConfiguration(outlets_, &sender);

    EXPECT_TRUE(ok().enabled_);
    for (const auto& [name, outlet] : kControlOutlets) {
      if (outlet == &SheetOutlets::BTN_OK) continue;
      const FakeControl& control = fake(outlet);
      const bool companion = outlet == c.companion;
      EXPECT_EQ(control.shown_, companion && c.shown ? *c.shown : -99) << name;
      EXPECT_EQ(control.enablings_, companion && c.enabled ? 1 : 0) << name;
      if (companion && c.enabled) {
        EXPECT_EQ(control.enabled_, *c.enabled) << name;
      }
    }
  }
}

TEST_F(SheetControllerTest, ChangeEnablesOKOnlyWhenItIsDisabled) {
  changeConfiguration(outlets_, outlets_.PUB_shape);
  EXPECT_EQ(ok().enablings_, 0);
  ok().enabled_ = false;
  changeConfiguration(outlets_, &cancel_);
  EXPECT_TRUE(ok().enabled_);
  EXPECT_EQ(ok().enablings_, 1);
  EXPECT_EQ(sheet_.ends_, 0);
  EXPECT_FALSE(defaults_.hasValueForKey("number of cyclones")) << "a change writes nothing";
}

TEST_F(SheetControllerTest, CancelOnlyEndsTheSheet) {
  for (int64_t tag : {0, -6, 2}) {
    cancel_.tag_ = tag;
    fake(&SheetOutlets::SLDR_no_cyclones).value_ = 4.0;
    close(&cancel_);
  }
  EXPECT_EQ(sheet_.ends_, 3);
  EXPECT_EQ(reseeds_, 0);
  EXPECT_FALSE(defaults_.hasValueForKey("number of cyclones"));
  EXPECT_FALSE(std::filesystem::exists(home_.storePath()));
}

TEST_F(SheetControllerTest, OKWritesEveryKeyFromTheControlsThenSynchronizesAndReseeds) {
  fake(&SheetOutlets::SLDR_no_cyclones).value_ = 7.9;
  fake(&SheetOutlets::SLDR_no_particles).value_ = 120.0;
  fake(&SheetOutlets::PUB_pt_color).index_ = 0;
  fake(&SheetOutlets::CW_pt).color_ = {0.1f, 0.2f, 0.3f, 0.4f};
  fake(&SheetOutlets::PUB_bg_color).index_ = 1;
  fake(&SheetOutlets::CW_bg).color_ = {0.5f, 0.625f, 0.75f, 1.0f};
  fake(&SheetOutlets::PUB_shape).index_ = 7;
  fake(&SheetOutlets::SLDR_scale_particle).value_ = 1.3;
  fake(&SheetOutlets::SWTCH_afterimage).state_ = 1;

  close(&ok());

  EXPECT_EQ(sheet_.ends_, 1);
  EXPECT_FALSE(sheet_.storedBeforeEnd_) << "the sheet ends before anything is written";
  EXPECT_EQ(reseeds_, 1);
  EXPECT_TRUE(reseedSawFile_) << "the store is synchronized before the reseeding";
  ScreenSaverDefaults stored = onDisk();
  EXPECT_EQ(stored.integerForKey("number of cyclones"), 7);
  EXPECT_EQ(stored.integerForKey("number of particles"), 120);
  EXPECT_EQ(stored.integerForKey("particle color mode"), 0);
  EXPECT_EQ(stored.floatForKey("particle color red"), 0.1f)
      << "the well's colour is stored whatever the mode";
  EXPECT_EQ(stored.floatForKey("particle color green"), 0.2f);
  EXPECT_EQ(stored.floatForKey("particle color blue"), 0.3f);
  EXPECT_EQ(stored.floatForKey("particle color alpha"), 0.4f);
  EXPECT_EQ(stored.integerForKey("background color mode"), 1);
  EXPECT_EQ(stored.floatForKey("background color red"), 0.5f);
  EXPECT_EQ(stored.floatForKey("background color green"), 0.625f);
  EXPECT_EQ(stored.floatForKey("background color blue"), 0.75f);
  EXPECT_EQ(stored.floatForKey("background color alpha"), 1.0f);
  EXPECT_EQ(stored.integerForKey("particle shape"), 7);
  EXPECT_EQ(stored.floatForKey("particle scale"), 1.3f);
  EXPECT_TRUE(stored.boolForKey("show afterimage"));
}

TEST_F(SheetControllerTest, OKStoresValuesBeyondTheLimitsAsTheControlsGiveThem) {
  fake(&SheetOutlets::SLDR_no_cyclones).value_ = -0.5;
  fake(&SheetOutlets::SLDR_no_particles).value_ = 1e12;
  fake(&SheetOutlets::PUB_shape).index_ = -1;
  fake(&SheetOutlets::SLDR_scale_particle).value_ = 9.0;
  close(&ok());
  ScreenSaverDefaults stored = onDisk();
  EXPECT_EQ(stored.integerForKey("number of cyclones"), 0);
  EXPECT_EQ(stored.integerForKey("number of particles"), 2147483647);
  EXPECT_EQ(stored.integerForKey("particle shape"), -1);
  EXPECT_EQ(stored.floatForKey("particle scale"), 9.0f);
}

TEST_F(SheetControllerTest, OnlySwitchStateOneStoresYes) {
  for (int64_t state : {1, 0, -1, 2}) {
    fake(&SheetOutlets::SWTCH_afterimage).state_ = state;
    close(&ok());
    EXPECT_EQ(onDisk().boolForKey("show afterimage"), state == 1) << "state " << state;
    EXPECT_TRUE(onDisk().hasValueForKey("show afterimage"));
  }
}

TEST_F(SheetControllerTest, AbsentControlsDoNothingAndReadAsZero) {
  FakeControl onlyOK;
  onlyOK.tag_ = kOKTag;
  SheetOutlets absent;
  absent.BTN_OK = &onlyOK;
  defaults_.setInteger(4, "number of cyclones");

  synchronizeToDefaults(SheetOutlets{}, defaults_);
  changeConfiguration(SheetOutlets{}, nullptr);
  changeConfiguration(absent, nullptr);
  EXPECT_EQ(onlyOK.enablings_, 0);
  int reseeds = 0;
  closeSheet(SheetOutlets{}, nullptr, defaults_, [&] { ++reseeds; });
  EXPECT_EQ(reseeds, 0) << "an absent sender has tag 0: Cancel";

  closeSheet(absent, &onlyOK, defaults_, [&] { ++reseeds; });
  EXPECT_EQ(reseeds, 1);
  ScreenSaverDefaults stored = onDisk();
  for (const PreferenceKey& key : kPreferenceKeys) {
    EXPECT_TRUE(stored.hasValueForKey(std::string(key.name))) << key.name;
    EXPECT_EQ(stored.floatForKey(std::string(key.name)), 0.0f) << key.name;
  }
}

// The sheet's values as overrides seed over any store what OK followed by
// its seeding would: the same counts, shape, scale and afterimages, held
// to the same limits, and the same colours wherever their mode shows them.
TEST_F(SheetControllerTest, SheetOverridesSeedAsOKWould) {
  struct Case {
    const char* what;
    double cyclones, particles;
    int64_t particleMode, backgroundMode, shape;
    double scale;
    int64_t afterimage;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"within the limits", 7.9, 120.0, 1, 0, 7, 1.3, 1},
      {"beyond the limits", -0.5, 1e12, -1, 2, -1, 9.0, 2},
      {"below the limits", 0.5, 10.0, 0, 1, 12, 0.1, 0},
      {"no number", nan, nan, 0, 0, 3, nan, -1},
  };
  // Settings that differ from every case's.
  writeFile(home_.dir() + "/other.ini",
            storeText("number of cyclones=9\nnumber of particles=77\nparticle shape=2\nparticle scale=1.9\n"
                      "show afterimage=true\nparticle color mode=1\nparticle color red=0.9\n"
                      "background color mode=1\nbackground color blue=0.9\n"));
  ScreenSaverDefaults other(home_.dir() + "/other.ini", storeGroup());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake(&SheetOutlets::SLDR_no_cyclones).value_ = c.cyclones;
    fake(&SheetOutlets::SLDR_no_particles).value_ = c.particles;
    fake(&SheetOutlets::PUB_pt_color).index_ = c.particleMode;
    fake(&SheetOutlets::CW_pt).color_ = {0.1f, 0.2f, 0.3f, 0.4f};
    fake(&SheetOutlets::PUB_bg_color).index_ = c.backgroundMode;
    fake(&SheetOutlets::CW_bg).color_ = {0.5f, 0.625f, 0.75f, 1.0f};
    fake(&SheetOutlets::PUB_shape).index_ = c.shape;
    fake(&SheetOutlets::SLDR_scale_particle).value_ = c.scale;
    fake(&SheetOutlets::SWTCH_afterimage).state_ = c.afterimage;

    Settings overridden;
    loadDefaults(other, overridden);
    applyOverrides(sheetOverrides(outlets_), overridden);
    close(&ok());
    Settings stored;
    loadDefaults(defaults_, stored);

    EXPECT_EQ(overridden.no_cyclones, stored.no_cyclones);
    EXPECT_EQ(overridden.no_particles, stored.no_particles);
    EXPECT_EQ(overridden.particle_shape, stored.particle_shape);
    EXPECT_EQ(overridden.particle_scale, stored.particle_scale);
    EXPECT_EQ(overridden.show_ai, stored.show_ai);
    const auto sameColor = [](int32_t modeA, const std::optional<ColorRGBA>& a, int32_t modeB,
                              const std::optional<ColorRGBA>& b) {
      if ((modeA != 0) != (modeB != 0)) {
        return false;
      }
      return modeA == 0 || (a && b && a->r == b->r && a->g == b->g && a->b == b->b && a->a == b->a);
    };
    EXPECT_TRUE(sameColor(overridden.color_mode_particle, overridden.color_particle,
                          stored.color_mode_particle, stored.color_particle));
    EXPECT_TRUE(sameColor(overridden.color_mode_background, overridden.color_background,
                          stored.color_mode_background, stored.color_background));
  }
}

}  // namespace
