#define GL_GLEXT_PROTOTYPES 1
#include "platform/drawable_limits.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string_view>

namespace {

std::string gibibytes(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GiB", bytes / (1024.0 * 1024.0 * 1024.0));
  return text;
}

// Bytes the process may still map under its address-space limit; the most
// there is when it has none.
double addressSpaceLeft() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return std::numeric_limits<double>::max();
  }
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const double used = static_cast<double>(pages) * static_cast<double>(sysconf(_SC_PAGESIZE));
  return std::max(0.0, static_cast<double>(limit.rlim_cur) - used);
}

// Memory and swap the machine has free, from /proc/meminfo; the most there
// is when it cannot be read.
double machineMemoryFree() {
  std::ifstream meminfo("/proc/meminfo");
  std::string name;
  double kibibytes = 0;
  double free = 0;
  bool found = false;
  while (meminfo >> name >> kibibytes) {
    if (name == "MemAvailable:" || name == "SwapFree:") {
      free += kibibytes * 1024.0;
      found = true;
    }
    meminfo.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return found ? free : std::numeric_limits<double>::max();
}

}  // namespace

std::optional<std::string> drawableSizeRefusal(int width, int height, std::size_t bytesPerPixel) {
  GLint viewport[2] = {0, 0};
  GLint renderbuffer = 0;
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  if (width > viewport[0] || height > viewport[1]) {
    return size + " is larger than the GL implementation's largest viewport, " + std::to_string(viewport[0]) +
           "x" + std::to_string(viewport[1]);
  }
  if (renderbuffer > 0 && std::max(width, height) > renderbuffer) {
    return size + " is larger than the GL implementation's largest framebuffer, " +
           std::to_string(renderbuffer) + "x" + std::to_string(renderbuffer);
  }
  const double needed = static_cast<double>(width) * height * static_cast<double>(bytesPerPixel);
  if (needed > addressSpaceLeft()) {
    return size + " needs " + gibibytes(needed) + " for its buffers, more than the " +
           gibibytes(addressSpaceLeft()) + " left under the address-space limit";
  }
  if (needed > machineMemoryFree()) {
    return size + " needs " + gibibytes(needed) + " for its buffers, more than the " +
           gibibytes(machineMemoryFree()) + " of memory free";
  }
  return std::nullopt;
}

std::optional<std::string> drawableFailure() {
  bool outOfMemory = false;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    outOfMemory = outOfMemory || error == GL_OUT_OF_MEMORY;
  }
  if (outOfMemory) {
    return "GL ran out of memory making the frame's buffers";
  }
  if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    return "GL could not make a complete framebuffer of that size";
  }
  return std::nullopt;
}
