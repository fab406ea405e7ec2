#include "saver/bundle.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

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
    directory_ = fs::path(testing::TempDir()) / ("bundle_test_" + std::to_string(getpid()));
    fs::create_directories(directory_ / "folder.png");
    std::ofstream(directory_ / "heart.png") << "x";
    std::ofstream(directory_ / "Swirlmote.ui") << "x";
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path directory_;
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

TEST(ResourceDirectory, TakesTheFirstCandidateThatApplies) {
  const fs::path missing = "/nonexistent/swirlmote/resources";
  const fs::path program = "/opt/tools/bin/swirlmote";
  EXPECT_EQ(findResourceDirectory("/from/env", kSourceResources, "share/swirlmote", program), "/from/env");
  EXPECT_EQ(findResourceDirectory(nullptr, kSourceResources, "share/swirlmote", program), kSourceResources);
  EXPECT_EQ(findResourceDirectory("", kSourceResources, "share/swirlmote", program), kSourceResources);
  EXPECT_EQ(findResourceDirectory(nullptr, missing, "share/swirlmote", program),
            "/opt/tools/share/swirlmote");
  EXPECT_EQ(findResourceDirectory(nullptr, missing, "/usr/share/swirlmote", program), "/usr/share/swirlmote");
  EXPECT_EQ(findResourceDirectory(nullptr, missing, "share/swirlmote", ""), fs::path());
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
