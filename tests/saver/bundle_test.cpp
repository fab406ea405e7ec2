#include "saver/bundle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A resource directory holding one sprite, a sheet layout and a folder.
class BundleTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(directory_ / "folder.png");
    writeFile(directory_ / "heart.png", "x");
    writeFile(directory_ / "Swirlmote.ui", "x");
  }

  ScratchDir scratch_;
  fs::path directory_ = scratch_.path();
};

const fs::path kSourceResources = SWIRLMOTE_SOURCE_DIR "/resources";

TEST_F(BundleTest, EnvironmentVariableComesFirst) {
  ScopedEnvironment env("SWIRLMOTE_RESOURCES", directory_.c_str());
  const Bundle bundle = Bundle::bundleForClass();
  EXPECT_EQ(bundle.resourcePath(), directory_);
  EXPECT_EQ(bundle.pathForImageResource("heart.png"), (directory_ / "heart.png").string());
  EXPECT_EQ(bundle.pathForResource("Swirlmote.ui"), (directory_ / "Swirlmote.ui").string());
  // The source tree has this sprite, but the named directory does not.
  EXPECT_EQ(bundle.pathForImageResource("circle.png"), std::nullopt);
}

TEST_F(BundleTest, UnsetOrEmptyVariableFallsBackToTheSourceTree) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    SCOPED_TRACE(value ? "empty" : "unset");
    ScopedEnvironment env("SWIRLMOTE_RESOURCES", value);
    const Bundle bundle = Bundle::bundleForClass();
    EXPECT_EQ(bundle.resourcePath(), kSourceResources);
    EXPECT_EQ(bundle.pathForImageResource("circle.png"), (kSourceResources / "circle.png").string());
  }
}

// An installed prefix with its data directory, and a build tree whose
// program has none above it.
TEST_F(BundleTest, ResourceDirectoryTakesTheFirstCandidateThatApplies) {
  const fs::path prefix = directory_ / "prefix";
  const fs::path build = directory_ / "build";
  fs::create_directories(prefix / "share/swirlmote");
  fs::create_directories(build / "src/host");
  const fs::path installed = prefix / "bin/swirlmote";
  const fs::path built = build / "src/host/swirlmote";
  const fs::path elsewhere = directory_ / "elsewhere/bin/swirlmote";
  const fs::path sources = "/sources/resources";
  struct Case {
    const char* name;
    const char* environment;
    fs::path dataDirectory;
    fs::path program;
    fs::path expected;
  };
  const Case cases[] = {
      {"environment first", "/from/env", "share/swirlmote", installed, "/from/env"},
      {"empty environment ignored", "", "share/swirlmote", installed, prefix / "share/swirlmote"},
      {"installed before the sources", nullptr, "share/swirlmote", installed, prefix / "share/swirlmote"},
      {"absolute data directory", nullptr, prefix / "share/swirlmote", elsewhere, prefix / "share/swirlmote"},
      {"build tree reads the sources", nullptr, "share/swirlmote", built, sources},
      {"never the sources outside the build tree", nullptr, "share/swirlmote", elsewhere,
       directory_ / "elsewhere/share/swirlmote"},
      {"no program path", nullptr, "share/swirlmote", "", fs::path()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findResourceDirectory(c.environment, c.dataDirectory, c.program, build, sources), c.expected)
        << c.name;
  }
  // A build directory named with a trailing separator holds its program all the same.
  EXPECT_EQ(findResourceDirectory(nullptr, "share/swirlmote", built, build.string() + "/", sources), sources);
}

TEST_F(BundleTest, RefusesNamesThatAreNotPlainFileNames) {
  // From inside folder.png, each name leads to heart.png if let through, or
  // to a directory.
  const Bundle bundle(directory_ / "folder.png");
  const std::string absolute = (directory_ / "heart.png").string();
  for (const std::string& name :
       {std::string("../heart.png"), absolute, std::string(".."), std::string("."), std::string()}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(bundle.pathForResource(name), std::nullopt);
    EXPECT_EQ(bundle.pathForImageResource(name), std::nullopt);
  }
  // A name with a NUL in it would reach the file named by its first part.
  EXPECT_EQ(Bundle(directory_).pathForResource(std::string("heart.png\0.ui", 13)), std::nullopt);
}

TEST_F(BundleTest, FindsOnlyFilesThatExist) {
  const Bundle bundle(directory_);
  EXPECT_EQ(bundle.pathForImageResource("absent.png"), std::nullopt);
  EXPECT_EQ(bundle.pathForImageResource("folder.png"), std::nullopt);
  EXPECT_EQ(Bundle(fs::path()).pathForResource("heart.png"), std::nullopt);
}

}  // namespace
