#include "settings/store_target.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it reports a loop; a longer
// chain is left for open() to refuse with ELOOP.
constexpr int kMaxLinks = 40;

}  // namespace

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string storeTarget(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      return current;
    }
    char target[PATH_MAX];
    const ssize_t length = readlink(current.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof target) {
      return current;
    }
    const std::string next(target, static_cast<size_t>(length));
    current = next.front() == '/' ? next : directoryOf(current) + "/" + next;
  }
  return current;
}
