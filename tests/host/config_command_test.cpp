#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/config_command_fixture.h"
#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"
#include "settings/store_value.h"
#include "support/config_home.h"
#include "support/process.h"

namespace {

std::string listOutput(const std::vector<std::pair<std::string, std::string>>& set) {
  std::string text;
  for (const PreferenceKey& key : kPreferenceKeys) {
    std::string value = "(not set)";
    for (const auto& [name, shown] : set) {
      if (name == key.name) {
        value = shown;
      }
    }
    text += std::string(key.name) + " = " + value + "\n";
  }
  return text;
}

TEST_F(ConfigCommandTest, ListOfAnEmptyStoreShowsEveryKeyUnset) {
  const ProgramResult run = config({"list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, listOutput({}));
  EXPECT_FALSE(std::filesystem::exists(home_.storePath()));
}

TEST_F(ConfigCommandTest, GetOfAnUnsetKeyPrintsItsZero) {
  for (const auto& [key, zero] : std::vector<std::pair<std::string, std::string>>{
           {"number of cyclones", "0\n"}, {"particle scale", "0\n"}, {"show afterimage", "false\n"}}) {
    const ProgramResult run = config({"get", key});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, zero) << key;
  }
}

TEST_F(ConfigCommandTest, PathPrintsTheStoreFile) {
  const ProgramResult run = config({"path"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, home_.storePath() + "\n");
}

// What another process stored is what this command reads.
TEST_F(ConfigCommandTest, ReadsWhatAnotherProcessStored) {
  {
    ScreenSaverDefaults store(home_.storePath(), storeGroup());
    store.setInteger(4, "number of cyclones");
    store.setInteger(int64_t{1} << 40, "number of particles");
    store.setFloat(0.1f, "particle color red");
    store.setFloat(-2.5f, "background color blue");
    store.setBool(true, "show afterimage");
    ASSERT_TRUE(store.synchronize());
  }
  const ProgramResult list = config({"list"});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, listOutput({{"number of cyclones", "4"},
                                  {"number of particles", "1099511627776"},
                                  {"particle color red", "0.100000001"},
                                  {"background color blue", "-2.5"},
                                  {"show afterimage", "true"}}));
  EXPECT_EQ(config({"get", "particle color red"}).out, "0.100000001\n");
}

struct SetCase {
  const char* key;
  const char* value;
  const char* shown;
};

class ConfigSetTest : public ConfigCommandTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(ConfigSetTest, StoresTheValueByTheKeysType) {
  const SetCase& c = GetParam();
  const ProgramResult set = config({"set", c.key, c.value});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out, "");

  const ProgramResult get = config({"get", c.key});
  EXPECT_EQ(get.status, 0) << get.err;
  EXPECT_EQ(get.out, std::string(c.shown) + "\n");

  ScreenSaverDefaults store(home_.storePath(), storeGroup());
  EXPECT_TRUE(store.hasValueForKey(c.key));
  EXPECT_EQ(config({"list"}).out, listOutput({{c.key, c.shown}}));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConfigSetTest,
    ::testing::Values(SetCase{"number of cyclones", "7", "7"}, SetCase{"particle color mode", "-3", "-3"},
                      SetCase{"number of particles", "9223372036854775807", "9223372036854775807"},
                      SetCase{"particle scale", "1.25", "1.25"},
                      SetCase{"particle color alpha", "0.1", "0.100000001"},
                      SetCase{"background color red", "1e-3", "0.00100000005"},
                      SetCase{"show afterimage", "yes", "true"}, SetCase{"show afterimage", "1", "true"},
                      SetCase{"show afterimage", "false", "false"}, SetCase{"show afterimage", "no", "false"},
                      // Forms a hand-edited file may hold read the same from the command line.
                      SetCase{"number of cyclones", "+4", "4"}, SetCase{"number of cyclones", " 4 ", "4"},
                      SetCase{"number of cyclones", "4.0", "4"}, SetCase{"number of cyclones", "1e3", "1000"},
                      SetCase{"number of cyclones", "1.5", "1"}, SetCase{"number of cyclones", "True", "1"},
                      SetCase{"particle scale", "+1.5", "1.5"}, SetCase{"particle scale", "1e-50", "0"},
                      SetCase{"particle scale", "1e-400", "0"}, SetCase{"particle scale", "Yes", "1"},
                      SetCase{"show afterimage", "2", "true"}, SetCase{"show afterimage", "0.0", "false"},
                      // A shape by its name or an older spelling, stored as its index.
                      SetCase{"particle shape", "heart", "3"}, SetCase{"particle shape", "ring", "9"},
                      SetCase{"particle shape", "star_5", "7"}, SetCase{"particle shape", "6", "6"}));

TEST_F(ConfigCommandTest, SetKeepsTheOtherKeysAndUnsetRemovesOne) {
  writeStore(home_.dir(), "particle shape=3\nnumber of cyclones=2\n");
  ASSERT_EQ(config({"set", "particle scale", "1.5"}).status, 0);
  ASSERT_EQ(config({"unset", "number of cyclones"}).status, 0);

  ScreenSaverDefaults store(home_.storePath(), storeGroup());
  EXPECT_EQ(store.integerForKey("particle shape"), 3);
  EXPECT_EQ(store.floatForKey("particle scale"), 1.5f);
  EXPECT_FALSE(store.hasValueForKey("number of cyclones"));
  EXPECT_EQ(config({"get", "number of cyclones"}).out, "0\n");
}

struct RefusalCase {
  const char* name;
  std::vector<std::string> args;
  const char* message;
};

class ConfigRefusalTest : public ConfigCommandTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ConfigRefusalTest, ExitsTwoWithAMessageAndLeavesTheFile) {
  const RefusalCase& c = GetParam();
  const std::string original = storeText("number of cyclones=3\n");
  writeFile(home_.storePath(), original);

  const ProgramResult run = config(c.args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("swirlmote config: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  EXPECT_EQ(readFile(home_.storePath()), original);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ConfigRefusalTest,
    ::testing::Values(
        RefusalCase{"NoAction", {}, "list, get KEY, set KEY VALUE, unset KEY, path"},
        RefusalCase{"UnknownAction", {"frobnicate"}, "unknown action 'frobnicate'"},
        RefusalCase{"ListWithOperand", {"list", "x"}, "usage: swirlmote config list"},
        RefusalCase{"PathWithOperand", {"path", "x"}, "usage: swirlmote config path"},
        RefusalCase{"GetWithoutKey", {"get"}, "usage: swirlmote config get KEY"},
        RefusalCase{"KeyInPieces", {"get", "number", "of", "cyclones"}, "quote a key that has spaces"},
        RefusalCase{
            "SetWithoutValue", {"set", "number of cyclones"}, "usage: swirlmote config set KEY VALUE"},
        RefusalCase{"SetTooMany", {"set", "number of cyclones", "1", "2"}, "usage: swirlmote config set"},
        RefusalCase{"UnsetWithoutKey", {"unset"}, "usage: swirlmote config unset KEY"},
        RefusalCase{
            "UnknownKeyListsKeys", {"get", "cyclones"}, "\"number of cyclones\", \"number of particles\""},
        RefusalCase{
            "UnknownKeyOnSet", {"set", "Number Of Cyclones", "3"}, "unknown key 'Number Of Cyclones'"},
        RefusalCase{"UnknownKeyOnUnset", {"unset", "speed"}, "unknown key 'speed'"},
        RefusalCase{"IntegerWord", {"set", "particle shape", "five"}, "'five' is not a value"},
        RefusalCase{
            "IntegerTooLarge", {"set", "number of cyclones", "9223372036854775808"}, "it takes a number"},
        RefusalCase{"IntegerHex", {"set", "number of cyclones", "0x10"}, "it takes a number"},
        RefusalCase{
            "ShapeName", {"set", "particle shape", "Heart"}, "it takes a shape's name (circle, face,"},
        RefusalCase{"ShapeNameOnAnotherKey", {"set", "number of cyclones", "heart"}, "it takes a number"},
        RefusalCase{"FloatNaN", {"set", "particle scale", "nan"}, "it takes a finite number"},
        RefusalCase{"FloatInfinite", {"set", "particle scale", "inf"}, "finite number"},
        RefusalCase{"FloatOverflow", {"set", "particle scale", "1e39"}, "finite number"},
        RefusalCase{"FloatTrailing", {"set", "particle scale", "1.5x"}, "finite number"},
        RefusalCase{"FloatEmpty", {"set", "particle scale", ""}, "finite number"},
        RefusalCase{"BoolWord", {"set", "show afterimage", "maybe"}, "true, false, yes, no or a number"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigCommandTest, FailedSynchronizeExitsOne) {
  const std::string blocker = home_.dir() + "/a-file";
  writeFile(blocker, "");
  setenv("XDG_CONFIG_HOME", (blocker + "/below").c_str(), 1);
  const ProgramResult run = config({"set", "number of cyclones", "3"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot create the settings directory"), std::string::npos) << run.err;
}

// The command line takes exactly what the file's reader takes, for every
// type, and stores what the reader makes of it.
TEST_F(ConfigCommandTest, SetTakesExactlyTheFormsTheFileReads) {
  const std::vector<std::string> texts{
      "4",   "+4",   " 4 ",  "\t-4", "4.0",   "1e3", "1.5", "-2.9",  "+1.5", "1e-50",
      "-0",  "True", "Yes",  "NO",   "false", "0",   "2",   "1e39",  "1e19", "9223372036854775807",
      "",    "  ",   "abc",  "1.5x", "0x10",  "nan", "inf", "--1",   "+-1",  "++1",
      "1,5", "4 4",  "yes!", ".5",   "5.",    "1e",  "e3",  "TRUE ", "+",    "-"};
  const std::vector<std::pair<std::string, KeyType>> keys{{"number of cyclones", KeyType::Integer},
                                                          {"particle scale", KeyType::Float},
                                                          {"show afterimage", KeyType::Boolean}};
  for (const auto& [key, type] : keys) {
    for (const std::string& text : texts) {
      SCOPED_TRACE(key + " = '" + text + "'");
      std::filesystem::remove(home_.storePath());
      const ProgramResult set = config({"set", key, text});
      ScreenSaverDefaults stored(home_.storePath(), storeGroup());
      switch (type) {
        case KeyType::Integer: {
          const auto read = integerFromText(text);
          EXPECT_EQ(set.status, read ? 0 : 2) << set.err;
          EXPECT_EQ(stored.integerForKey(key), read.value_or(0));
          break;
        }
        case KeyType::Float: {
          const auto read = floatFromText(text);
          EXPECT_EQ(set.status, read ? 0 : 2) << set.err;
          EXPECT_EQ(stored.floatForKey(key), read.value_or(0.0f));
          break;
        }
        case KeyType::Boolean: {
          const auto read = boolFromText(text);
          EXPECT_EQ(set.status, read ? 0 : 2) << set.err;
          EXPECT_EQ(stored.boolForKey(key), read.value_or(false));
          break;
        }
      }
      EXPECT_EQ(stored.hasValueForKey(key), set.status == 0);
    }
  }
}

// Sets an environment variable, or unsets it, for one scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* previous = getenv(name)) {
      previous_ = previous;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (previous_) {
      setenv(name_, previous_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

// Runs in the test's directory, so that a relative path would land there.
class ConfigLocationTest : public ConfigCommandTest {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(home_.dir());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  std::filesystem::path previous_;
};

TEST_F(ConfigLocationTest, RelativeOrEmptyConfigHomeIsIgnoredForHome) {
  const ScopedVariable home("HOME", home_.dir().c_str());
  const std::string underHome = home_.dir() + "/.config/swirlmote/" + storeGroup() + ".ini";
  for (const char* xdg : {"rel", "", "./rel", "~/cfg"}) {
    SCOPED_TRACE(std::string("XDG_CONFIG_HOME=") + xdg);
    const ScopedVariable configHome("XDG_CONFIG_HOME", xdg);
    EXPECT_EQ(config({"path"}).out, underHome + "\n");
    const ProgramResult set = config({"set", "number of cyclones", "4"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(ScreenSaverDefaults(underHome, storeGroup()).integerForKey("number of cyclones"), 4);
    std::filesystem::remove(underHome);
  }
  EXPECT_EQ(entriesOf(home_.dir()), (std::set<std::string>{".config"}));
}

TEST_F(ConfigLocationTest, NoAbsoluteHomeExitsOneWithOneMessage) {
  const ScopedVariable configHome("XDG_CONFIG_HOME", "rel");
  for (const char* homeValue : {static_cast<const char*>(nullptr), "", "rel"}) {
    SCOPED_TRACE(std::string("HOME=") + (homeValue ? homeValue : "(unset)"));
    const ScopedVariable home("HOME", homeValue);
    expectEachFailsWithOneLine({{"path"},
                                {"list"},
                                {"get", "particle shape"},
                                {"set", "particle shape", "3"},
                                {"unset", "particle shape"}},
                               "neither XDG_CONFIG_HOME nor HOME is an absolute path");
  }
  EXPECT_TRUE(entriesOf(home_.dir()).empty());
}

// A store that cannot be read is reported once, and nothing is printed as
// its value or written over it.
struct UnreadableCase {
  const char* name;
  void (*make)(const std::string& storePath);
  bool needsUnprivileged;
};

class UnreadableStoreTest : public ConfigCommandTest, public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableStoreTest, GetAndListExitOneSetWarnsOnce) {
  const UnreadableCase& c = GetParam();
  std::filesystem::create_directories(home_.storeDir());
  c.make(home_.storePath());
  if (c.needsUnprivileged && access(home_.storePath().c_str(), R_OK) == 0) {
    GTEST_SKIP() << "this user reads the file anyway";
  }
  expectEachFailsWithOneLine(
      {{"list"}, {"get", "particle shape"}, {"set", "particle shape", "3"}, {"unset", "particle shape"}},
      "cannot read the settings file " + home_.storePath());
}

INSTANTIATE_TEST_SUITE_P(
    Stores, UnreadableStoreTest,
    ::testing::Values(UnreadableCase{"ModeZero",
                                     [](const std::string& path) {
                                       writeFile(path, storeText("particle shape=3\n"));
                                       chmod(path.c_str(), 0);
                                     },
                                     true},
                      UnreadableCase{"Directory",
                                     [](const std::string& path) { std::filesystem::create_directory(path); },
                                     false},
                      UnreadableCase{"LinkLoop",
                                     [](const std::string& path) {
                                       std::filesystem::create_symlink(path + ".b", path);
                                       std::filesystem::create_symlink(path, path + ".b");
                                     },
                                     false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
