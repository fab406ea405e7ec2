#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The per-module preferences store: one GKeyFile per module under
// $XDG_CONFIG_HOME/swirlmote/<module>.ini with one group named by the module.
// A key never written reads as 0, 0.0 or NO. Writes stay in memory until
// synchronize(). A store without a path lives in memory only.
class ScreenSaverDefaults {
 public:
  // The process-wide store of a module; the file is located from the
  // environment at the time of the call.
  static ScreenSaverDefaults& defaultsForModuleWithName(const std::string& moduleName);
  // Where the store of a module lives, from XDG_CONFIG_HOME or HOME; only an
  // absolute path counts. Empty when neither is one.
  static std::string pathForModuleWithName(const std::string& moduleName);

  ScreenSaverDefaults(std::string path, std::string group);
  ~ScreenSaverDefaults();
  ScreenSaverDefaults(const ScreenSaverDefaults&) = delete;
  ScreenSaverDefaults& operator=(const ScreenSaverDefaults&) = delete;

  int64_t integerForKey(const std::string& key);
  float floatForKey(const std::string& key);
  bool boolForKey(const std::string& key);
  void setInteger(int64_t value, const std::string& key);
  void setFloat(float value, const std::string& key);
  void setBool(bool value, const std::string& key);
  bool hasValueForKey(const std::string& key) const;
  void removeObjectForKey(const std::string& key);
  // Makes the store persistent; false when the file could not be read or
  // written, or there is none. Each distinct problem is reported on stderr
  // once.
  bool synchronize();
  // Whether the values are those of the file as last read or written: false
  // when the store has no path or its file could not be read.
  bool isLoaded() const;

  const std::string& path() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};
