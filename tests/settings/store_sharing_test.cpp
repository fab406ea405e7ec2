#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/screen_saver_defaults.h"
#include "support/config_home.h"

namespace {

const std::string kLockName = std::string(kBundleIdentifier) + ".ini.lock";
const std::string kFileName = std::string(kBundleIdentifier) + ".ini";

class SharedStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<ScreenSaverDefaults> open() {
    return std::make_unique<ScreenSaverDefaults>(home_.storePath(), storeGroup());
  }

  // The files moved aside as damaged, oldest name first.
  std::vector<std::string> asideFiles() const {
    std::vector<std::string> found;
    for (const std::string& name : entriesOf(home_.storeDir())) {
      if (name.rfind(kFileName + ".corrupt-", 0) == 0) {
        found.push_back(home_.storeDir() + "/" + name);
      }
    }
    return found;
  }

  TempConfigHome home_;
};

TEST_F(SharedStoreTest, SynchronizeReplacesTheFileAndLeavesNoTemporaries) {
  writeStore(home_.dir(), "# kept comment\nparticle shape=2\n");
  chmod(home_.storePath().c_str(), 0644);
  struct stat before;
  ASSERT_EQ(stat(home_.storePath().c_str(), &before), 0);

  auto store = open();
  store->setInteger(4, "number of cyclones");
  ASSERT_TRUE(store->synchronize());

  struct stat after;
  ASSERT_EQ(stat(home_.storePath().c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "written in place rather than replaced";
  EXPECT_EQ(after.st_mode & 07777, 0644u);
  EXPECT_EQ(entriesOf(home_.storeDir()), (std::set<std::string>{kFileName, kLockName}));
  const std::string text = readFile(home_.storePath());
  EXPECT_NE(text.find("# kept comment"), std::string::npos) << text;
  EXPECT_NE(text.find("number of cyclones=4"), std::string::npos) << text;
  EXPECT_NE(text.find("particle shape=2"), std::string::npos) << text;
}

TEST_F(SharedStoreTest, CreatesTheDirectoryOnFirstSynchronize) {
  auto store = open();
  store->setBool(true, "show afterimage");
  ASSERT_TRUE(store->synchronize());
  EXPECT_EQ(readFile(home_.storePath()), storeText("show afterimage=true\n"));
}

TEST_F(SharedStoreTest, TwoStoresChangingDifferentKeysKeepBoth) {
  writeStore(home_.dir(), "particle shape=3\nparticle scale=1.5\nnumber of particles=60\n");
  auto first = open();
  auto second = open();
  first->setInteger(4, "number of cyclones");
  first->removeObjectForKey("number of particles");
  second->setInteger(120, "particle color mode");
  second->removeObjectForKey("particle shape");

  ASSERT_TRUE(first->synchronize());
  ASSERT_TRUE(second->synchronize());

  // The second store took the first one's changes in, and did not bring
  // back the key the first one removed.
  const auto fresh = open();
  for (ScreenSaverDefaults* store : {second.get(), fresh.get()}) {
    EXPECT_EQ(store->integerForKey("number of cyclones"), 4);
    EXPECT_FALSE(store->hasValueForKey("number of particles"));
    EXPECT_EQ(store->integerForKey("particle color mode"), 120);
    EXPECT_FALSE(store->hasValueForKey("particle shape"));
    EXPECT_EQ(store->floatForKey("particle scale"), 1.5f);
  }

  // A synchronize without changes picks up what others wrote.
  EXPECT_FALSE(first->hasValueForKey("particle color mode"));
  ASSERT_TRUE(first->synchronize());
  EXPECT_EQ(first->integerForKey("particle color mode"), 120);
}

// The names two processes reach one store by: a dotfile manager makes the
// store a link, and a program may be given the file the link leads to.
struct StoreNames {
  const char* what;
  const char* parent;  // relative to the test's home; "" is the store itself
  const char* child;
};

class SharedNamesTest : public SharedStoreTest, public ::testing::WithParamInterface<StoreNames> {
 protected:
  std::string nameFor(const char* relative) const {
    return relative[0] == '\0' ? home_.storePath() : home_.dir() + "/" + relative;
  }
};

TEST_P(SharedNamesTest, TwoProcessesSynchronizingAtOnceLoseNothing) {
  constexpr int kRounds = 40;
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  // Both processes need the directory; creating it is not what is tested.
  std::filesystem::create_directories(home_.storeDir());
  for (const char* link : {"link", "other link"}) {
    std::filesystem::create_symlink(home_.storePath(), home_.dir() + "/" + link);
  }

  const auto writeRounds = [&](const std::string& name, const std::string& prefix) {
    ScreenSaverDefaults store(name, storeGroup());
    bool ok = true;
    for (int i = 0; i < kRounds; ++i) {
      store.setInteger(i, prefix + " " + std::to_string(i));
      ok = store.synchronize() && ok;
    }
    return ok;
  };

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(go[1]);
    char byte;
    const bool started = read(go[0], &byte, 1) == 1;
    _exit(started && writeRounds(nameFor(GetParam().child), "child") ? 0 : 1);
  }
  close(go[0]);
  ASSERT_EQ(write(go[1], "x", 1), 1);
  close(go[1]);
  const bool parentOk = writeRounds(nameFor(GetParam().parent), "parent");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(parentOk);

  auto reader = open();
  for (const char* prefix : {"child", "parent"}) {
    for (int i = 0; i < kRounds; ++i) {
      const std::string key = std::string(prefix) + " " + std::to_string(i);
      EXPECT_TRUE(reader->hasValueForKey(key)) << key;
      EXPECT_EQ(reader->integerForKey(key), i) << key;
    }
  }
  EXPECT_TRUE(std::filesystem::is_symlink(home_.dir() + "/link"));
}

INSTANTIATE_TEST_SUITE_P(Names, SharedNamesTest,
                         ::testing::Values(StoreNames{"SameName", "", ""},
                                           StoreNames{"LinkAndTarget", "link", ""},
                                           StoreNames{"TwoLinks", "link", "other link"}),
                         [](const auto& info) { return std::string(info.param.what); });

class DamagedFileTest : public SharedStoreTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedFileTest, IsMovedAsideOnceAndNeverOverwritten) {
  const std::string damaged = GetParam();
  writeFile(home_.storePath(), damaged);
  chmod(home_.storePath().c_str(), 0640);

  testing::internal::CaptureStderr();
  auto store = open();
  const std::string warning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countLines(warning), 1) << warning;
  EXPECT_NE(warning.find(home_.storePath()), std::string::npos) << warning;
  EXPECT_FALSE(store->hasValueForKey("number of cyclones"));
  EXPECT_FALSE(std::filesystem::exists(home_.storePath()));
  const auto aside = asideFiles();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_NE(warning.find(aside[0]), std::string::npos) << warning;
  EXPECT_EQ(readFile(aside[0]), damaged);

  store->setInteger(2, "number of cyclones");
  ASSERT_TRUE(store->synchronize());
  EXPECT_EQ(readFile(aside[0]), damaged);
  // The store that replaces the damaged one has its permissions.
  struct stat written;
  ASSERT_EQ(stat(home_.storePath().c_str(), &written), 0);
  EXPECT_EQ(written.st_mode & 07777, 0640u);
  EXPECT_EQ(open()->integerForKey("number of cyclones"), 2);
}

INSTANTIATE_TEST_SUITE_P(Contents, DamagedFileTest,
                         ::testing::Values("this is not a key file\n",
                                           "number of cyclones=3\n[group after key]\n",
                                           "[org.swirlmote.Swirlmote\nnumber of cyclones=3\n",
                                           "\x89PNG\r\n\x1a\n\xff\xfe"));

TEST_F(SharedStoreTest, FileDamagedByAnotherProgramBeforeSynchronizeIsKept) {
  writeStore(home_.dir(), "particle shape=5\n");
  auto store = open();
  store->setInteger(6, "number of cyclones");
  writeFile(home_.storePath(), "garbage one\n");

  testing::internal::CaptureStderr();
  ASSERT_TRUE(store->synchronize());
  EXPECT_EQ(countLines(testing::internal::GetCapturedStderr()), 1);
  // The damaged file held nothing to merge; only this store's own change is
  // written.
  EXPECT_EQ(readFile(home_.storePath()), storeText("number of cyclones=6\n"));
  EXPECT_FALSE(store->hasValueForKey("particle shape"));

  writeFile(home_.storePath(), "garbage two\n");
  store->setInteger(7, "number of cyclones");
  testing::internal::CaptureStderr();
  ASSERT_TRUE(store->synchronize());
  testing::internal::GetCapturedStderr();

  std::set<std::string> contents;
  for (const std::string& path : asideFiles()) {
    contents.insert(readFile(path));
  }
  EXPECT_EQ(contents, (std::set<std::string>{"garbage one\n", "garbage two\n"}));
}

TEST_F(SharedStoreTest, UnwritableDirectoryWarnsOnceAndKeepsTheSettingsInMemory) {
  const std::string blocker = home_.dir() + "/a-file";
  writeFile(blocker, "not a directory\n");
  setenv("XDG_CONFIG_HOME", (blocker + "/below").c_str(), 1);
  ScreenSaverDefaults store(ScreenSaverDefaults::pathForModuleWithName(storeGroup()), storeGroup());
  store.setInteger(5, "number of cyclones");

  testing::internal::CaptureStderr();
  EXPECT_FALSE(store.synchronize());
  const std::string warning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countLines(warning), 1) << warning;
  EXPECT_NE(warning.find(blocker + "/below/swirlmote"), std::string::npos) << warning;
  EXPECT_EQ(store.integerForKey("number of cyclones"), 5);
  EXPECT_EQ(readFile(blocker), "not a directory\n");
}

TEST_F(SharedStoreTest, StoreThatIsADirectoryIsNotReplaced) {
  std::filesystem::create_directories(home_.storePath());
  testing::internal::CaptureStderr();
  auto store = open();
  store->setInteger(5, "number of cyclones");
  EXPECT_FALSE(store->synchronize());
  EXPECT_NE(testing::internal::GetCapturedStderr().find(home_.storePath()), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(home_.storePath()));
  EXPECT_EQ(store->integerForKey("number of cyclones"), 5);
}

}  // namespace
