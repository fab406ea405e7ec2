#include "platform/png_writer.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "settings/store_target.h"

namespace {

bool failed(const std::string& path, const char* why) {
  std::fprintf(stderr, "swirlmote: could not write %s: %s\n", path.c_str(), why);
  return false;
}

// The PNG's bytes, or why it could not be made.
struct Encoded {
  std::string bytes;
  std::string failure;
};

Encoded encode(int width, int height, const std::vector<uint8_t>& rgba) {
  std::vector<uint8_t> rgb(rgba.size() / 4 * 3);
  for (std::size_t i = 0, o = 0; i + 3 < rgba.size(); i += 4, o += 3) {
    rgb[o] = rgba[i];
    rgb[o + 1] = rgba[i + 1];
    rgb[o + 2] = rgba[i + 2];
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  char* buffer = nullptr;
  std::size_t size = 0;
  FILE* memory = open_memstream(&buffer, &size);
  if (!memory) {
    return {{}, std::strerror(errno)};
  }
  const bool written = png_image_write_to_stdio(&image, memory, 0, rgb.data(), 0, nullptr) != 0;
  const bool closed = std::fclose(memory) == 0;
  Encoded encoded;
  if (written && closed) {
    encoded.bytes.assign(buffer, size);
  } else {
    encoded.failure = written ? "out of memory" : image.message;
  }
  std::free(buffer);
  return encoded;
}

// A write to a pipe whose reader has gone fails with EPIPE instead of
// ending the process with SIGPIPE.
bool writeAll(int fd, std::string_view bytes) {
  sigset_t pipeSignal;
  sigset_t previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  sigprocmask(SIG_BLOCK, &pipeSignal, &previous);
  bool ok = true;
  while (ok && !bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    } else if (written == 0 || errno != EINTR) {
      ok = false;
    }
  }
  const int error = errno;
  if (!ok && error == EPIPE) {
    const timespec none{0, 0};
    sigtimedwait(&pipeSignal, nullptr, &none);
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return ok;
}

// A device or pipe takes the bytes where it is. A pipe without a reader is
// refused at once rather than waited on.
bool writeInPlace(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return failed(path, std::strerror(errno));
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const bool written = writeAll(fd, bytes);
  const int writeError = errno;
  const bool closed = close(fd) == 0;
  if (!written || !closed) {
    return failed(path, std::strerror(written ? errno : writeError));
  }
  return true;
}

// The permissions a new file gets from the process's umask.
mode_t newFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The whole file is written beside the target, then renamed over it.
bool replaceFile(const std::string& path, const std::string& bytes) {
  const std::string target = storeTarget(path);
  const auto slash = target.rfind('/');
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = directoryOf(target) + "/." + base + ".swirlmote-XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return failed(path, std::strerror(errno));
  }
  struct stat existing;
  const mode_t mode = stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : newFileMode();
  const bool written = writeAll(fd, bytes) && fchmod(fd, mode) == 0;
  const int writeError = errno;
  const bool closed = close(fd) == 0;
  const int closeError = errno;
  if (!written || !closed || rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = !written ? writeError : !closed ? closeError : errno;
    unlink(temporary.c_str());
    return failed(path, std::strerror(error));
  }
  return true;
}

}  // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  const Encoded encoded = encode(width, height, rgba);
  if (!encoded.failure.empty()) {
    return failed(path, encoded.failure.c_str());
  }
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    return writeInPlace(path, encoded.bytes);
  }
  return replaceFile(path, encoded.bytes);
}
