#include "settings/store_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "settings/store_target.h"

namespace {

constexpr auto kKeyFileFlags =
    static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A temporary file is "<target>.tmp-" and random letters and digits. It is
// never found by its name: the lock records it.
constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr int kTemporaryLetters = 12;
constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// GLib's generator, seeded from the system: the animation's random()
// sequence is left alone.
std::string temporaryName(const std::string& target) {
  std::string name = target + std::string(kTemporaryInfix);
  for (int i = 0; i < kTemporaryLetters; ++i) {
    name += kLetters[static_cast<std::size_t>(g_random_int_range(0, static_cast<gint32>(kLetters.size())))];
  }
  return name;
}

std::string baseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The first free "<file>.corrupt-<UTC time>[-n]" name.
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

// The whole of a file, or why it cannot be read. A missing file is no
// failure and reads as no bytes.
struct FileBytes {
  bool exists = false;
  std::string bytes;
  std::string failure;
};

FileBytes readBytes(const std::string& path) {
  // O_NONBLOCK keeps a FIFO in the store's place from blocking the open.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      return {};
    }
    return {true, {}, std::strerror(errno)};
  }
  FileBytes file{true, {}, {}};
  struct stat info;
  if (fstat(fd, &info) != 0) {
    file.failure = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    file.failure = "not a regular file";
  } else {
    char buffer[65536];
    for (;;) {
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got > 0) {
        file.bytes.append(buffer, static_cast<size_t>(got));
      } else if (got == 0) {
        break;
      } else if (errno != EINTR) {
        file.failure = std::strerror(errno);
        break;
      }
    }
  }
  close(fd);
  return file;
}

// Why the bytes are no store, or nothing when they load into the key file.
// GKeyFile reads a line only up to a NUL, so a NUL could hide or invent
// keys; a file of zeros is what a crash can leave of one that was written.
std::optional<std::string> damageIn(std::string_view bytes, GKeyFile* into) {
  if (!bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; })) {
    return "it holds nothing but zero bytes";
  }
  if (bytes.find('\0') != std::string_view::npos) {
    return "it holds a NUL byte";
  }
  if (bytes.starts_with(kByteOrderMark)) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  GError* error = nullptr;
  if (g_key_file_load_from_data(into, bytes.data(), bytes.size(), kKeyFileFlags, &error)) {
    return std::nullopt;
  }
  std::string reason = error->message;
  g_error_free(error);
  return reason;
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

StoreLock::StoreLock(const std::string& storePath) : path_(storeTarget(storePath) + ".lock") {
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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

std::string StoreLock::recordedTemporary() const {
  char buffer[PATH_MAX];
  ssize_t got = -1;
  do {
    got = pread(fd_, buffer, sizeof buffer, 0);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    return {};
  }
  const std::string_view text(buffer, static_cast<size_t>(got));
  const auto end = text.find('\n');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end));
}

bool StoreLock::recordTemporary(const std::string& name) const {
  const std::string line = name.empty() ? std::string() : name + "\n";
  ssize_t written = -1;
  do {
    written = pwrite(fd_, line.data(), line.size(), 0);
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(line.size()) && ftruncate(fd_, static_cast<off_t>(line.size())) == 0;
}

StoreRead readStoreFile(const std::string& path) {
  const std::string target = storeTarget(path);
  const FileBytes file = readBytes(target);
  if (!file.failure.empty()) {
    return {nullptr, "cannot read the settings file " + target + ": " + file.failure +
                         "; it is left as it is and changes to the settings are kept for this run only"};
  }
  KeyFilePtr values = newKeyFile();
  if (!file.exists) {
    return {std::move(values), {}};
  }
  const auto damage = damageIn(file.bytes, values.get());
  if (!damage) {
    return {std::move(values), {}};
  }
  const std::string aside = asideName(target);
  if (rename(target.c_str(), aside.c_str()) != 0) {
    return {nullptr, "the settings file " + target + " is damaged (" + *damage +
                         ") and cannot be moved aside: " + std::strerror(errno) +
                         "; it is left as it is and changes to the settings are kept for this run only"};
  }
  std::fprintf(
      stderr,
      "swirlmote: the settings file %s is damaged (%s); it was moved to %s and the settings start empty\n",
      target.c_str(), damage->c_str(), aside.c_str());
  struct stat info;
  const unsigned mode = stat(aside.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  return {newKeyFile(), {}, mode};
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

bool writeStoreFile(const StoreLock& lock, const std::string& path, GKeyFile* file, unsigned newMode) {
  const std::string target = storeTarget(path);
  // A replaced store keeps the permissions it had.
  struct stat existing;
  const mode_t mode = stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777
                      : newMode != 0                       ? newMode
                                                           : 0600;
  // The name is recorded before the file exists, so that a writer killed at
  // any point leaves nothing the next one does not know of; a name that is
  // taken (by anything at all) is passed over.
  std::string temporary;
  int fd = -1;
  while (fd < 0) {
    temporary = temporaryName(target);
    if (!lock.recordTemporary(baseName(temporary))) {
      return writeFailed(lock.path(), errno);
    }
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) {
      const int error = errno;
      lock.recordTemporary({});
      return writeFailed(target, error);
    }
  }
  gsize length = 0;
  gchar* data = g_key_file_to_data(file, &length, nullptr);
  const bool written = writeAll(fd, data, length) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  const int writeError = errno;
  g_free(data);
  const bool closed = close(fd) == 0;
  const int closeError = errno;
  bool renamed = false;
  int renameError = 0;
  if (written && closed) {
    renamed = rename(temporary.c_str(), target.c_str()) == 0;
    renameError = errno;
  }
  if (!renamed) {
    unlink(temporary.c_str());
  }
  lock.recordTemporary({});
  if (!written || !closed) {
    return writeFailed(target, written ? closeError : writeError);
  }
  if (!renamed) {
    return writeFailed(target, renameError);
  }
  syncDirectory(directoryOf(target));
  return true;
}

void removeLeftoverTemporary(const StoreLock& lock, const std::string& path) {
  const std::string name = lock.recordedTemporary();
  if (name.empty() || name.find('/') != std::string::npos) {
    return;
  }
  const std::string leftover = directoryOf(storeTarget(path)) + "/" + name;
  struct stat info;
  if (lstat(leftover.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    unlink(leftover.c_str());
  }
  lock.recordTemporary({});
}
