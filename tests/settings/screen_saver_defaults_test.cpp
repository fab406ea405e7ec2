#include "settings/screen_saver_defaults.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <variant>
#include <vector>

#include "settings/keys.h"
#include "support/config_home.h"

namespace {

using Value = std::variant<int64_t, float, bool>;

class StoreTest : public ::testing::Test {
 protected:
  // A new store on the same file stands for another process.
  ScreenSaverDefaults& open() {
    stores_.push_back(std::make_unique<ScreenSaverDefaults>(home_.storePath(), storeGroup()));
    return *stores_.back();
  }

  TempConfigHome home_;
  std::vector<std::unique_ptr<ScreenSaverDefaults>> stores_;
};

// Every key with a value that is hard to keep: the ends of the 64-bit range,
// floats that need all nine digits, the smallest subnormal and -0.
const std::vector<std::pair<std::string, Value>>& awkwardValues() {
  static const std::vector<std::pair<std::string, Value>> values{
      {"number of cyclones", std::numeric_limits<int64_t>::max()},
      {"number of particles", std::numeric_limits<int64_t>::min()},
      {"particle color mode", int64_t{-3}},
      {"particle color alpha", 0.1f},
      {"particle color blue", 1.0f / 3.0f},
      {"particle color green", std::nextafter(1.0f, 2.0f)},
      {"particle color red", std::numeric_limits<float>::denorm_min()},
      {"background color mode", (int64_t{1} << 32) + 5},
      {"background color alpha", FLT_MAX},
      {"background color blue", -0.0f},
      {"background color green", 16777216.0f},
      {"background color red", -123456.789f},
      {"particle shape", int64_t{0}},
      {"particle scale", 1.25f},
      {"show afterimage", true},
  };
  return values;
}

void write(ScreenSaverDefaults& store, const std::string& key, const Value& value) {
  if (const auto* integer = std::get_if<int64_t>(&value)) {
    store.setInteger(*integer, key);
  } else if (const auto* real = std::get_if<float>(&value)) {
    store.setFloat(*real, key);
  } else {
    store.setBool(std::get<bool>(value), key);
  }
}

void expectStored(ScreenSaverDefaults& store, const std::string& key, const Value& value) {
  SCOPED_TRACE(key);
  EXPECT_TRUE(store.hasValueForKey(key));
  if (const auto* integer = std::get_if<int64_t>(&value)) {
    EXPECT_EQ(store.integerForKey(key), *integer);
  } else if (const auto* real = std::get_if<float>(&value)) {
    EXPECT_EQ(std::bit_cast<uint32_t>(store.floatForKey(key)), std::bit_cast<uint32_t>(*real));
  } else {
    EXPECT_EQ(store.boolForKey(key), std::get<bool>(value));
  }
}

TEST_F(StoreTest, EveryKeyComesBackBitForBitAfterSynchronize) {
  ScreenSaverDefaults& writer = open();
  for (const auto& [key, value] : awkwardValues()) {
    write(writer, key, value);
  }
  ASSERT_TRUE(writer.synchronize());

  ScreenSaverDefaults& reader = open();
  for (const auto& [key, value] : awkwardValues()) {
    expectStored(reader, key, value);
  }
}

TEST_F(StoreTest, KeysNeverWrittenReadAsZero) {
  ScreenSaverDefaults& store = open();
  for (const PreferenceKey& key : kPreferenceKeys) {
    const std::string name(key.name);
    EXPECT_FALSE(store.hasValueForKey(name)) << name;
    EXPECT_EQ(store.integerForKey(name), 0) << name;
    EXPECT_EQ(store.floatForKey(name), 0.0f) << name;
    EXPECT_FALSE(store.boolForKey(name)) << name;
  }
}

TEST_F(StoreTest, WritesStayInMemoryUntilSynchronize) {
  ScreenSaverDefaults& writer = open();
  writer.setInteger(7, "number of cyclones");
  EXPECT_EQ(writer.integerForKey("number of cyclones"), 7);
  EXPECT_FALSE(std::filesystem::exists(home_.storePath()));
  EXPECT_FALSE(open().hasValueForKey("number of cyclones"));

  ASSERT_TRUE(writer.synchronize());
  EXPECT_EQ(open().integerForKey("number of cyclones"), 7);
}

TEST_F(StoreTest, RemovedKeyReadsAsZeroAndLeavesTheFile) {
  writeStore(home_.dir(), "particle shape=4\nparticle scale=1.5\n");
  ScreenSaverDefaults& store = open();
  store.removeObjectForKey("particle shape");
  EXPECT_FALSE(store.hasValueForKey("particle shape"));
  EXPECT_EQ(store.integerForKey("particle shape"), 0);
  ASSERT_TRUE(store.synchronize());

  ScreenSaverDefaults& reader = open();
  EXPECT_FALSE(reader.hasValueForKey("particle shape"));
  EXPECT_EQ(reader.floatForKey("particle scale"), 1.5f);
}

// A key written twice by hand: removing it must not bring back the
// earlier line.
TEST_F(StoreTest, RemovingARepeatedKeyRemovesEveryLine) {
  writeStore(home_.dir(), "particle shape=2\nparticle scale=1.5\nparticle shape=8\n");
  ScreenSaverDefaults& store = open();
  EXPECT_EQ(store.integerForKey("particle shape"), 8);
  store.removeObjectForKey("particle shape");
  ASSERT_TRUE(store.synchronize());
  EXPECT_FALSE(store.hasValueForKey("particle shape"));

  ScreenSaverDefaults& reader = open();
  EXPECT_FALSE(reader.hasValueForKey("particle shape"));
  EXPECT_EQ(reader.floatForKey("particle scale"), 1.5f);
}

// How a stored text reads as each type.
struct TextCase {
  const char* text;
  int64_t integer;
  float real;
  bool boolean;
};

class StoredTextTest : public StoreTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(StoredTextTest, ReadsAsEachType) {
  const TextCase& c = GetParam();
  writeStore(home_.dir(), std::string("value=") + c.text + "\n");
  testing::internal::CaptureStderr();
  ScreenSaverDefaults& store = open();
  EXPECT_EQ(store.integerForKey("value"), c.integer);
  EXPECT_EQ(store.floatForKey("value"), c.real);
  EXPECT_EQ(store.boolForKey("value"), c.boolean);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, StoredTextTest,
    ::testing::Values(
        TextCase{"true", 1, 1.0f, true}, TextCase{"false", 0, 0.0f, false}, TextCase{"yes", 1, 1.0f, true},
        TextCase{"NO", 0, 0.0f, false}, TextCase{"1", 1, 1.0f, true}, TextCase{"0", 0, 0.0f, false},
        TextCase{"7", 7, 7.0f, true}, TextCase{"-12", -12, -12.0f, true}, TextCase{"+5", 5, 5.0f, true},
        TextCase{"2.9", 2, 2.9f, true}, TextCase{"-2.9", -2, -2.9f, true}, TextCase{"0.25", 0, 0.25f, true},
        TextCase{"0.0", 0, 0.0f, false}, TextCase{"1e3", 1000, 1000.0f, true},
        TextCase{"  42  ", 42, 42.0f, true}, TextCase{"16777217", 16777217, 16777216.0f, true},
        TextCase{"9223372036854775807", std::numeric_limits<int64_t>::max(), 9223372036854775807.0f, true}));

// What the setters leave behind reads the same way as a hand-written text.
struct SetterCase {
  const char* name;
  std::function<void(ScreenSaverDefaults&)> set;
  int64_t integer;
  float real;
  bool boolean;
};

class SetterConversionTest : public StoreTest, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(SetterConversionTest, ReadsAsEachType) {
  const SetterCase& c = GetParam();
  ScreenSaverDefaults& store = open();
  c.set(store);
  EXPECT_EQ(store.integerForKey("value"), c.integer);
  EXPECT_EQ(store.floatForKey("value"), c.real);
  EXPECT_EQ(store.boolForKey("value"), c.boolean);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, SetterConversionTest,
    ::testing::Values(SetterCase{"BoolYes", [](auto& s) { s.setBool(true, "value"); }, 1, 1.0f, true},
                      SetterCase{"BoolNo", [](auto& s) { s.setBool(false, "value"); }, 0, 0.0f, false},
                      SetterCase{"FloatDown", [](auto& s) { s.setFloat(-2.9f, "value"); }, -2, -2.9f, true},
                      SetterCase{"FloatFraction", [](auto& s) { s.setFloat(0.25f, "value"); }, 0, 0.25f,
                                 true},
                      SetterCase{"IntegerSeven", [](auto& s) { s.setInteger(7, "value"); }, 7, 7.0f, true},
                      SetterCase{"IntegerZero", [](auto& s) { s.setInteger(0, "value"); }, 0, 0.0f, false}),
    [](const auto& info) { return std::string(info.param.name); });

class UnreadableTextTest : public StoreTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnreadableTextTest, ReadsAsZeroWithOneWarningAndStaysInTheFile) {
  const std::string text = GetParam();
  const std::string original = storeText("particle shape=" + text + "\n");
  writeFile(home_.storePath(), original);

  testing::internal::CaptureStderr();
  ScreenSaverDefaults& store = open();
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(store.integerForKey("particle shape"), 0);
    EXPECT_EQ(store.floatForKey("particle shape"), 0.0f);
    EXPECT_FALSE(store.boolForKey("particle shape"));
  }
  const std::string warning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countLines(warning), 1) << warning;
  EXPECT_NE(warning.find(home_.storePath()), std::string::npos) << warning;
  EXPECT_NE(warning.find("\"particle shape\""), std::string::npos) << warning;
  EXPECT_NE(warning.find("\"" + text + "\""), std::string::npos) << warning;
  EXPECT_EQ(readFile(home_.storePath()), original);

  // Synchronizing another key merges it in without touching the bad value.
  store.setInteger(3, "number of cyclones");
  ASSERT_TRUE(store.synchronize());
  EXPECT_NE(readFile(home_.storePath()).find("particle shape=" + text + "\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, UnreadableTextTest,
                         ::testing::Values("abc", "1.5x", "0x10", "truthy", "nan", "inf", "-infinity",
                                           "1e999", "--1"));

TEST_F(StoreTest, NonFiniteFloatWrittenInMemoryReadsAsZero) {
  ScreenSaverDefaults& store = open();
  store.setFloat(std::numeric_limits<float>::quiet_NaN(), "particle scale");
  store.setFloat(std::numeric_limits<float>::infinity(), "particle color red");
  testing::internal::CaptureStderr();
  EXPECT_EQ(store.floatForKey("particle scale"), 0.0f);
  EXPECT_EQ(store.floatForKey("particle color red"), 0.0f);
  EXPECT_EQ(countLines(testing::internal::GetCapturedStderr()), 2);
}

// Sets or unsets HOME for one scope.
class ScopedHome {
 public:
  explicit ScopedHome(const char* value) {
    if (const char* previous = getenv("HOME")) {
      previous_ = previous;
    }
    set(value);
  }
  ~ScopedHome() { set(previous_ ? previous_->c_str() : nullptr); }
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  static void set(const char* value) {
    if (value) {
      setenv("HOME", value, 1);
    } else {
      unsetenv("HOME");
    }
  }
  std::optional<std::string> previous_;
};

TEST(StoreLocation, FollowsAnAbsoluteXdgConfigHomeThenAnAbsoluteHome) {
  TempConfigHome home;
  const std::string module = "org.example.Test";
  EXPECT_EQ(ScreenSaverDefaults::pathForModuleWithName(module), home.dir() + "/swirlmote/" + module + ".ini");

  const ScopedHome scopedHome(home.dir().c_str());
  for (const char* xdg : {static_cast<const char*>(nullptr), "", "rel", "./rel", "~/.config"}) {
    SCOPED_TRACE(xdg ? xdg : "(unset)");
    if (xdg) {
      setenv("XDG_CONFIG_HOME", xdg, 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(ScreenSaverDefaults::pathForModuleWithName(module),
              home.dir() + "/.config/swirlmote/" + module + ".ini");
  }
}

TEST(StoreLocation, NoAbsolutePathGivesNoFile) {
  TempConfigHome home;
  setenv("XDG_CONFIG_HOME", "rel", 1);
  for (const char* value : {static_cast<const char*>(nullptr), "", "rel"}) {
    SCOPED_TRACE(value ? value : "(unset)");
    const ScopedHome scopedHome(value);
    EXPECT_EQ(ScreenSaverDefaults::pathForModuleWithName("org.example.Test"), "");
  }
}

// Without a file the store says so once, however often it is opened or
// synchronized, and keeps its values in memory.
TEST(StoreLocation, StoreWithoutAFileSaysSoOnceAndKeepsValuesInMemory) {
  TempConfigHome home;
  setenv("XDG_CONFIG_HOME", "", 1);
  const ScopedHome scopedHome(nullptr);
  testing::internal::CaptureStderr();
  ScreenSaverDefaults& store = ScreenSaverDefaults::defaultsForModuleWithName(storeGroup());
  EXPECT_EQ(&ScreenSaverDefaults::defaultsForModuleWithName(storeGroup()), &store);
  EXPECT_FALSE(store.isLoaded());
  store.setInteger(4, "number of cyclones");
  EXPECT_FALSE(store.synchronize());
  EXPECT_FALSE(store.synchronize());
  EXPECT_EQ(store.integerForKey("number of cyclones"), 4);
  const std::string warning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countLines(warning), 1) << warning;
  EXPECT_NE(warning.find("kept for this run only"), std::string::npos) << warning;
  EXPECT_TRUE(entriesOf(home.dir()).empty());
}

TEST(StoreLocation, OneStorePerFileForTheProcess) {
  const std::string module(kBundleIdentifier);
  ScreenSaverDefaults* first = nullptr;
  {
    TempConfigHome home;
    first = &ScreenSaverDefaults::defaultsForModuleWithName(module);
    EXPECT_EQ(&ScreenSaverDefaults::defaultsForModuleWithName(module), first);
    EXPECT_EQ(first->path(), home.storePath());
  }
  TempConfigHome other;
  ScreenSaverDefaults& second = ScreenSaverDefaults::defaultsForModuleWithName(module);
  EXPECT_NE(&second, first);
  EXPECT_EQ(second.path(), other.storePath());
}

}  // namespace
