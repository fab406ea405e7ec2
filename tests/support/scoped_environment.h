#pragma once

#include <stdlib.h>

#include <map>
#include <optional>
#include <string>

// Environment variables set (or, given "", removed) for one test, put back
// afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
  }

  void set(const std::string& name, const std::string& value) {
    if (!saved_.contains(name)) {
      const char* previous = getenv(name.c_str());
      saved_[name] = previous ? std::optional<std::string>(previous) : std::nullopt;
    }
    value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};
