// What `swirlmote config set` does to a store that power loss, dotfile
// managers, editors and killed writers left behind: every setting is kept,
// or the original bytes are kept aside with one warning.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/config_command_fixture.h"
#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"
#include "support/config_home.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;

const std::string kFileName = std::string(kBundleIdentifier) + ".ini";

// How the store's name reaches the bytes.
enum class Place {
  Direct,
  Link,          // an absolute link into another directory, as dotfile managers make
  RelativeLink,  // a relative link to a link in another directory
};

enum class Outcome {
  Kept,   // every setting there was reads as before, next to the new one
  Aside,  // the bytes moved aside once, unchanged; the store starts empty
};

struct DamageCase {
  const char* name;
  std::string bytes;
  Place place;
  Outcome outcome;
};

std::string withGroup(const std::string& lines) {
  return "[" + storeGroup() + "]\n" + lines;
}

const std::string kBom = "\xEF\xBB\xBF";

class StoreDamageTest : public ::testing::TestWithParam<DamageCase> {
 protected:
  // Puts the bytes where the case says; returns the file that holds them.
  std::string place(const DamageCase& c) {
    const std::string elsewhere = home_.dir() + "/dotfiles";
    fs::create_directories(home_.storeDir());
    fs::create_directories(elsewhere);
    std::string target = home_.storePath();
    switch (c.place) {
      case Place::Direct: break;
      case Place::Link:
        target = elsewhere + "/settings.ini";
        fs::create_symlink(target, home_.storePath());
        break;
      case Place::RelativeLink:
        target = elsewhere + "/settings.ini";
        fs::create_symlink("settings.ini", elsewhere + "/middle.ini");
        fs::create_symlink("../dotfiles/middle.ini", home_.storePath());
        break;
    }
    writeFile(target, c.bytes);
    return target;
  }

  ProgramResult config(const std::vector<std::string>& args) {
    std::vector<std::string> words{"config"};
    words.insert(words.end(), args.begin(), args.end());
    return runSwirlmote(words);
  }

  // The names beside a file that begin with its name and ".corrupt-".
  static std::vector<std::string> asideOf(const std::string& file) {
    std::vector<std::string> found;
    const std::string prefix = fs::path(file).filename().string() + ".corrupt-";
    for (const std::string& name : entriesOf(fs::path(file).parent_path().string())) {
      if (name.rfind(prefix, 0) == 0) {
        found.push_back(fs::path(file).parent_path().string() + "/" + name);
      }
    }
    return found;
  }

  TempConfigHome home_;
};

TEST_P(StoreDamageTest, ConfigSetKeepsEverySettingOrTheOriginalBytes) {
  const DamageCase& c = GetParam();
  const std::string target = place(c);
  const ProgramResult set = config({"set", "number of cyclones", "4"});
  ASSERT_EQ(set.status, 0) << set.err;

  ScreenSaverDefaults store(home_.storePath(), storeGroup());
  EXPECT_EQ(store.integerForKey("number of cyclones"), 4);
  if (c.place != Place::Direct) {
    EXPECT_TRUE(fs::is_symlink(home_.storePath())) << "the link was replaced";
    EXPECT_NE(readFile(target).find("number of cyclones=4"), std::string::npos)
        << "the target was not updated";
  }
  const auto aside = asideOf(target);
  if (c.outcome == Outcome::Kept) {
    EXPECT_EQ(set.err, "");
    EXPECT_TRUE(aside.empty());
    // Every line there was is still there; a byte-order mark is not written.
    const std::string written = readFile(target);
    std::istringstream lines(c.bytes.rfind(kBom, 0) == 0 ? c.bytes.substr(kBom.size()) : c.bytes);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_NE(written.find(line + "\n"), std::string::npos) << "lost: " << line;
    }
    EXPECT_EQ(written.rfind(kBom, 0), std::string::npos);
    EXPECT_EQ(store.hasValueForKey("particle shape"), c.bytes.find("particle shape=3") != std::string::npos);
    EXPECT_FALSE(store.hasValueForKey("number of particles"));
    return;
  }
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(countLines(set.err), 1) << set.err;
  EXPECT_NE(set.err.find(target + " is damaged"), std::string::npos) << set.err;
  EXPECT_NE(set.err.find(aside[0]), std::string::npos) << set.err;
  EXPECT_EQ(readFile(aside[0]), c.bytes) << "the aside copy differs from the original bytes";
  EXPECT_FALSE(store.hasValueForKey("particle shape"));
  EXPECT_FALSE(store.hasValueForKey("number of particles"));

  // The aside copy is never touched again.
  ASSERT_EQ(config({"set", "particle shape", "5"}).status, 0);
  EXPECT_EQ(asideOf(target), aside);
  EXPECT_EQ(readFile(aside[0]), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreDamageTest,
    ::testing::Values(
        DamageCase{"Intact", withGroup("particle shape=3\n"), Place::Direct, Outcome::Kept},
        DamageCase{"Empty", "", Place::Direct, Outcome::Kept},
        DamageCase{"OtherGroupsAndComments",
                   "# mine\n" + withGroup("particle shape=3\n") + "[other]\nnumber of particles=7\n",
                   Place::Direct, Outcome::Kept},
        DamageCase{"UnreadableValueStays", withGroup("particle shape=3\nparticle scale=big\n"), Place::Direct,
                   Outcome::Kept},
        DamageCase{"ByteOrderMark", kBom + withGroup("particle shape=3\n"), Place::Direct, Outcome::Kept},
        DamageCase{"ByteOrderMarkOnly", kBom, Place::Direct, Outcome::Kept},
        DamageCase{"LinkedStore", withGroup("particle shape=3\n"), Place::Link, Outcome::Kept},
        DamageCase{"LinkChainWithRelativeTargets", withGroup("particle shape=3\n"), Place::RelativeLink,
                   Outcome::Kept},
        DamageCase{"NulInsideAValue",
                   withGroup("particle shape=3\nparticle scale=1") + std::string(1, '\0') + ".5\n",
                   Place::Direct, Outcome::Aside},
        DamageCase{
            "NulBeforeAnotherGroup",
            withGroup("particle shape=3\n") + std::string(1, '\0') + "[other]\nnumber of particles=7\n",
            Place::Direct, Outcome::Aside},
        DamageCase{"OnlyZeroBytes", std::string(4096, '\0'), Place::Direct, Outcome::Aside},
        DamageCase{"ZeroBytesBehindALink", std::string(512, '\0'), Place::Link, Outcome::Aside},
        DamageCase{"NotAKeyFile", "this is not a key file\n", Place::Direct, Outcome::Aside},
        DamageCase{"KeyBeforeAnyGroup", "number of cyclones=3\n[group after key]\n", Place::Direct,
                   Outcome::Aside},
        DamageCase{"UnterminatedGroup", "[org.swirlmote.Swirlmote\nnumber of cyclones=3\n", Place::Direct,
                   Outcome::Aside},
        DamageCase{"WriteCutShort", withGroup("particle shape=3\nparticle sc"), Place::Direct,
                   Outcome::Aside},
        DamageCase{"BinaryJunk", "\x89PNG\r\n\x1a\n\xff\xfe", Place::Direct, Outcome::Aside},
        DamageCase{"ByteOrderMarkInTheMiddle", withGroup("particle shape=3\n") + kBom + "x\n", Place::Direct,
                   Outcome::Aside}),
    [](const auto& info) { return std::string(info.param.name); });

using StoreFileTest = ConfigCommandTest;

// A dangling link is written through: its target file is made.
TEST_F(StoreFileTest, DanglingLinkGetsItsTargetMade) {
  const std::string target = home_.dir() + "/dotfiles/settings.ini";
  fs::create_directories(fs::path(target).parent_path());
  fs::create_directories(home_.storeDir());
  fs::create_symlink(target, home_.storePath());

  const ProgramResult set = config({"set", "particle shape", "3"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_TRUE(fs::is_symlink(home_.storePath()));
  EXPECT_EQ(readFile(target), storeText("particle shape=3\n"));
}

TEST_F(StoreFileTest, FilesBesideTheStoreAreNeverTakenForLeftovers) {
  writeStore(home_.dir(), "particle shape=3\n");
  const std::string base = home_.storePath();
  // Names a user may give, some of them in the temporary files' own form.
  const std::vector<std::string> users{base + ".tmp-backup", base + ".tmp-a1B2c3",
                                       base + ".tmp-ZZZZZZ", base + ".tmp-abcdefghijkl",
                                       base + ".tmp-abc",    home_.storeDir() + "/other.ini.tmp-abc123",
                                       base + ".corrupt-x"};
  for (const std::string& path : users) {
    writeFile(path, "the user's");
  }
  fs::create_directory(base + ".tmp-dir123");

  ASSERT_EQ(config({"set", "number of cyclones", "4"}).status, 0);
  std::set<std::string> expected{kFileName, kFileName + ".lock", kFileName + ".tmp-dir123"};
  for (const std::string& path : users) {
    expected.insert(fs::path(path).filename().string());
    EXPECT_EQ(readFile(path), "the user's") << path;
  }
  EXPECT_EQ(entriesOf(home_.storeDir()), expected);
  EXPECT_EQ(readFile(home_.storePath()), storeText("particle shape=3\nnumber of cyclones=4\n"));
}

TEST_F(StoreFileTest, TwoHundredWritersKilledMidWayLoseNothingAndLeaveNothingAfterTheNext) {
  // A long comment makes every write take long enough for many of the kills
  // to land between making the temporary file and renaming it.
  const std::string comment = "# " + std::string(1 << 20, 'x') + "\n";
  writeFile(home_.storePath(), comment + storeText("particle shape=3\n"));

  // Every temporary file seen after a kill; the writers that take the lock
  // later remove those left before them.
  std::set<std::string> leftovers;
  for (int i = 0; i < 200; ++i) {
    Process writer({SWIRLMOTE_BINARY, "config", "set", "number of particles", std::to_string(50 + i)}, {},
                   home_.dir() + "/killed.err");
    ASSERT_TRUE(writer.started());
    // Spread the kills over start-up, reading and writing.
    usleep(static_cast<useconds_t>((i * 7919) % 30000));
    writer.signal(SIGKILL);
    writer.finish();
    for (const std::string& name : entriesOf(home_.storeDir())) {
      if (name.find(".tmp-") != std::string::npos) {
        leftovers.insert(name);
      }
    }
  }
  std::printf("temporary files left by 200 killed writers: %zu\n", leftovers.size());

  ASSERT_EQ(config({"set", "number of cyclones", "4"}).status, 0);
  EXPECT_EQ(entriesOf(home_.storeDir()), (std::set<std::string>{kFileName, kFileName + ".lock"}));
  const std::string text = readFile(home_.storePath());
  EXPECT_EQ(text.rfind(comment, 0), 0u) << "the comment was lost";
  ScreenSaverDefaults store(home_.storePath(), storeGroup());
  EXPECT_EQ(store.integerForKey("particle shape"), 3);
  EXPECT_EQ(store.integerForKey("number of cyclones"), 4);
  // Any writer that finished did so whole: its value or none.
  if (store.hasValueForKey("number of particles")) {
    EXPECT_GE(store.integerForKey("number of particles"), 50);
    EXPECT_LT(store.integerForKey("number of particles"), 250);
  }
}

}  // namespace
