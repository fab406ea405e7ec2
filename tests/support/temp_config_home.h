#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"

// A fresh, empty XDG_CONFIG_HOME for one test, removed afterwards; the
// previous value is put back.
class TempConfigHome {
 public:
  TempConfigHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "swirlmote-store-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "mkdtemp failed";
    }
    dir_ = pattern;
    if (const char* previous = getenv("XDG_CONFIG_HOME")) {
      previous_ = previous;
    }
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  ~TempConfigHome() {
    if (previous_) {
      setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  const std::string& dir() const { return dir_; }
  std::string storeDir() const { return dir_ + "/swirlmote"; }
  std::string storePath() const { return storeDir() + "/" + std::string(kBundleIdentifier) + ".ini"; }

 private:
  std::string dir_;
  std::optional<std::string> previous_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The names of the entries in a directory.
inline std::set<std::string> entriesOf(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

inline std::string storeGroup() {
  return std::string(kBundleIdentifier);
}

// A store file holding the given lines in the module's group.
inline std::string storeText(const std::string& lines) {
  return "[" + storeGroup() + "]\n" + lines;
}

inline int countLines(const std::string& text) {
  int lines = 0;
  for (char c : text) {
    lines += c == '\n' ? 1 : 0;
  }
  return lines;
}
