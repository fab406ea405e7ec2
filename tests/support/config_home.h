#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

#include "settings/keys.h"
#include "support/files.h"

inline std::string storeGroup() {
  return std::string(kBundleIdentifier);
}

// A store file holding the given lines in the module's group.
inline std::string storeText(const std::string& lines) {
  return "[" + storeGroup() + "]\n" + lines;
}

// Where the settings store lies under a configuration home.
inline std::string storePathIn(const std::string& configHome) {
  return configHome + "/swirlmote/" + storeGroup() + ".ini";
}

// A settings store of the given lines under configHome, as the saver reads it.
inline void writeStore(const std::string& configHome, const std::string& lines) {
  writeFile(storePathIn(configHome), storeText(lines));
}

// A fresh, empty XDG_CONFIG_HOME for one test, removed afterwards; the
// previous value is put back.
class TempConfigHome {
 public:
  TempConfigHome() {
    if (const char* previous = getenv("XDG_CONFIG_HOME")) {
      previous_ = previous;
    }
    setenv("XDG_CONFIG_HOME", dir().c_str(), 1);
  }
  ~TempConfigHome() {
    if (previous_) {
      setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  const std::string& dir() const { return scratch_.path(); }
  std::string storeDir() const { return dir() + "/swirlmote"; }
  std::string storePath() const { return storePathIn(dir()); }

 private:
  ScratchDir scratch_;
  std::optional<std::string> previous_;
};
