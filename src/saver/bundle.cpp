#include "saver/bundle.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <system_error>

namespace {

bool isPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// Whether the path is the directory or lies below it, both taken as they
// resolve on disk.
bool liesWithin(const std::filesystem::path& path, const std::filesystem::path& directory) {
  if (!path.is_absolute() || !directory.is_absolute()) {
    return false;
  }
  std::error_code error;
  const std::filesystem::path inner = std::filesystem::weakly_canonical(path, error);
  const std::filesystem::path outer = std::filesystem::weakly_canonical(directory, error);
  if (error) {
    return false;
  }
  const auto [outerEnd, innerPart] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  return outerEnd == outer.end() || (std::next(outerEnd) == outer.end() && outerEnd->empty());
}

}  // namespace

std::filesystem::path findResourceDirectory(const char* environmentValue,
                                            const std::filesystem::path& dataDirectory,
                                            const std::filesystem::path& programPath,
                                            const std::filesystem::path& buildDirectory,
                                            const std::filesystem::path& buildResources) {
  if (environmentValue && *environmentValue) {
    return environmentValue;
  }
  // /usr/local/bin/swirlmote lies in the prefix /usr/local.
  std::filesystem::path installed;
  if (dataDirectory.is_absolute()) {
    installed = dataDirectory;
  } else if (programPath.is_absolute()) {
    installed = programPath.parent_path().parent_path() / dataDirectory;
  }
  std::error_code error;
  if (!installed.empty() && std::filesystem::is_directory(installed, error)) {
    return installed;
  }
  // Only a program that runs from its build tree reads the source tree's
  // resources: an installed one must never depend on the sources it was
  // built from.
  if (liesWithin(programPath, buildDirectory)) {
    return buildResources;
  }
  return installed;
}

Bundle Bundle::bundleForClass() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return Bundle(findResourceDirectory(std::getenv("SWIRLMOTE_RESOURCES"), SWIRLMOTE_INSTALL_DATADIR, program,
                                      SWIRLMOTE_BUILD_DIRECTORY, SWIRLMOTE_BUILD_RESOURCES));
}

std::optional<std::string> Bundle::pathForResource(std::string_view name) const {
  if (resourcePath_.empty() || !isPlainFileName(name)) {
    return std::nullopt;
  }
  const std::filesystem::path path = resourcePath_ / name;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return std::nullopt;
  }
  return path.string();
}
