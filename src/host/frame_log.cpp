#include "host/frame_log.h"

#include <sys/resource.h>

#include <cstdlib>

namespace {

long long nanoseconds(FrameLog::Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

double seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

}  // namespace

std::unique_ptr<FrameLog> FrameLog::fromEnvironment() {
  const char* path = std::getenv("SWIRLMOTE_FRAME_LOG");
  if (!path || !*path) {
    return nullptr;
  }
  std::FILE* file = std::fopen(path, "w");
  if (!file) {
    std::perror(path);
    return nullptr;
  }
  std::unique_ptr<FrameLog> log(new FrameLog(file));
  log->frames_.reserve(1 << 16);
  return log;
}

// One line a frame, "due began ended" in nanoseconds and the number of
// surfaces drawn, the end "given-up" for a frame that a termination signal
// ended, then the CPU seconds that the
// whole process (the renderer's threads too) has used.
FrameLog::~FrameLog() {
  std::fputs("# due_ns began_ns ended_ns surfaces\n", file_);
  for (const Frame& frame : frames_) {
    std::fprintf(file_, "%lld %lld ", nanoseconds(frame.due), nanoseconds(frame.began));
    if (frame.givenUp) {
      std::fputs("given-up\n", file_);
    } else {
      std::fprintf(file_, "%lld %d\n", nanoseconds(frame.ended), frame.surfaces);
    }
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::fprintf(file_, "# cpu_user_s %.3f cpu_system_s %.3f frames %zu\n", seconds(usage.ru_utime),
               seconds(usage.ru_stime), frames_.size());
  std::fclose(file_);
}
