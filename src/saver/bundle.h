#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The module's resource bundle: the directory that holds the sheet's layout
// and the sprite images.
class Bundle {
 public:
  // The module's bundle, its directory looked up afresh on each call: the
  // one named by SWIRLMOTE_RESOURCES when that is set and not empty, else
  // the installed <prefix>/share/swirlmote above the running program (found
  // through /proc/self/exe, which also sees through the link XScreenSaver
  // runs), else the source tree's resources for a program in its build tree.
  static Bundle bundleForClass();

  explicit Bundle(std::filesystem::path resourcePath) : resourcePath_(std::move(resourcePath)) {}

  const std::filesystem::path& resourcePath() const { return resourcePath_; }
  // The full path of the named file among the resources, if it is there. A
  // name must be a plain file name: no '/', not "." or "..".
  std::optional<std::string> pathForResource(std::string_view name) const;
  // The same for an image, named with its extension ("heart.png").
  std::optional<std::string> pathForImageResource(std::string_view name) const {
    return pathForResource(name);
  }

 private:
  std::filesystem::path resourcePath_;
};

// The resource directory from its candidates, in order: the environment's
// value (null or empty when unset); the data directory (relative to the
// prefix above the program's directory, or absolute) when it exists; the
// source tree's resources when the program lies inside the build directory.
// Otherwise the data directory as it would be, empty when a relative one has
// no absolute program path to go by.
std::filesystem::path findResourceDirectory(const char* environmentValue,
                                            const std::filesystem::path& dataDirectory,
                                            const std::filesystem::path& programPath,
                                            const std::filesystem::path& buildDirectory,
                                            const std::filesystem::path& buildResources);
