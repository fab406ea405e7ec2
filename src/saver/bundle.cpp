#include "saver/bundle.h"

#include <cstdlib>
#include <system_error>

namespace {

bool isPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

}  // namespace

std::filesystem::path findResourceDirectory(const char* environmentValue,
                                            const std::filesystem::path& buildResources,
                                            const std::filesystem::path& dataDirectory,
                                            const std::filesystem::path& programPath) {
  if (environmentValue && *environmentValue) {
    return environmentValue;
  }
  std::error_code error;
  if (std::filesystem::is_directory(buildResources, error)) {
    return buildResources;
  }
  if (dataDirectory.is_absolute()) {
    return dataDirectory;
  }
  if (!programPath.is_absolute()) {
    return {};
  }
  // /usr/local/bin/swirlmote lies in the prefix /usr/local.
  return programPath.parent_path().parent_path() / dataDirectory;
}

Bundle Bundle::bundleForClass() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return Bundle(findResourceDirectory(std::getenv("SWIRLMOTE_RESOURCES"), SWIRLMOTE_BUILD_RESOURCES,
                                      SWIRLMOTE_INSTALL_DATADIR, program));
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
