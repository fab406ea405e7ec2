#include "settings/store_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr auto kKeyFileFlags =
    static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The first free "<store>.corrupt-<UTC time>[-n]" name.
std::string asideName(const std::string& path) {
  GDateTime* now = g_date_time_new_now_utc();
  gchar* stamp = g_date_time_format(now, "%Y%m%dT%H%M%SZ");
  const std::string base = path + ".corrupt-" + stamp;
  g_free(stamp);
  g_date_time_unref(now);
  std::string name = base;
  for (int n = 2; access(name.c_str(), F_OK) == 0; ++n) {
    name = base + "-" + std::to_string(n);
  }
  return name;
}

bool isMissing(const GError* error) {
  return error->domain == G_FILE_ERROR &&
         (error->code == G_FILE_ERROR_NOENT || error->code == G_FILE_ERROR_NOTDIR);
}

bool writeAll(int fd, const char* data, size_t length) {
  while (length > 0) {
    const ssize_t written = write(fd, data, length);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

// The rename is durable only once the directory entry is on disk too; a
// failure here loses nothing that is already written, so it is not reported.
void syncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

bool writeFailed(const std::string& path, int error) {
  std::fprintf(stderr,
               "swirlmote: cannot write the settings file %s: %s; the settings are kept for this run only\n",
               path.c_str(), std::strerror(error));
  return false;
}

}  // namespace

KeyFilePtr newKeyFile() {
  return KeyFilePtr(g_key_file_new());
}

StoreLock::StoreLock(const std::string& storePath) {
  const std::string lockPath = storePath + ".lock";
  fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  while (flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      error_ = errno;
      close(fd_);
      fd_ = -1;
      return;
    }
  }
}

StoreLock::~StoreLock() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

KeyFilePtr readStoreFile(const std::string& path) {
  // GKeyFile reports anything but a regular file as a parse error; that is
  // not a damaged store and must not be moved aside.
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      return newKeyFile();
    }
    std::fprintf(stderr, "swirlmote: cannot read the settings file %s: %s\n", path.c_str(),
                 std::strerror(errno));
    return nullptr;
  }
  if (!S_ISREG(info.st_mode)) {
    std::fprintf(stderr, "swirlmote: cannot read the settings file %s: not a regular file\n", path.c_str());
    return nullptr;
  }
  KeyFilePtr file = newKeyFile();
  GError* error = nullptr;
  if (g_key_file_load_from_file(file.get(), path.c_str(), kKeyFileFlags, &error)) {
    return file;
  }
  const bool missing = isMissing(error);
  const bool damaged = error->domain == G_KEY_FILE_ERROR;
  const std::string reason = error->message;
  g_error_free(error);
  if (missing) {
    return newKeyFile();
  }
  if (!damaged) {
    std::fprintf(stderr, "swirlmote: cannot read the settings file %s: %s\n", path.c_str(), reason.c_str());
    return nullptr;
  }
  const std::string aside = asideName(path);
  if (rename(path.c_str(), aside.c_str()) != 0) {
    std::fprintf(
        stderr,
        "swirlmote: the settings file %s is damaged (%s) and cannot be moved aside: %s; it is left as it "
        "is and the settings are not saved\n",
        path.c_str(), reason.c_str(), std::strerror(errno));
    return nullptr;
  }
  std::fprintf(
      stderr,
      "swirlmote: the settings file %s is damaged (%s); it was moved to %s and the settings start empty\n",
      path.c_str(), reason.c_str(), aside.c_str());
  return newKeyFile();
}

bool makeStoreDirectory(const std::string& path) {
  const std::string directory = directoryOf(path);
  if (g_mkdir_with_parents(directory.c_str(), 0700) != 0) {
    std::fprintf(
        stderr,
        "swirlmote: cannot create the settings directory %s: %s; the settings are kept for this run only\n",
        directory.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

bool writeStoreFile(const std::string& path, GKeyFile* file) {
  gsize length = 0;
  gchar* data = g_key_file_to_data(file, &length, nullptr);
  std::string temporary = path + ".tmp-XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    g_free(data);
    return writeFailed(path, error);
  }
  // A replaced store keeps the permissions it had.
  struct stat existing;
  if (stat(path.c_str(), &existing) == 0) {
    fchmod(fd, existing.st_mode & 07777);
  }
  const bool written = writeAll(fd, data, length) && fsync(fd) == 0;
  const int writeError = errno;
  g_free(data);
  const bool closed = close(fd) == 0;
  const int closeError = errno;
  if (!written || !closed) {
    unlink(temporary.c_str());
    return writeFailed(path, written ? closeError : writeError);
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    unlink(temporary.c_str());
    return writeFailed(path, renameError);
  }
  syncDirectory(directoryOf(path));
  return true;
}
