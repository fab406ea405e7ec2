#pragma once

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// The CPU seconds (user and system, all threads) that a running process has
// used, from /proc; negative when it cannot be read.
inline double cpuSeconds(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // The fields after the command's name, which ends with the last ')':
  // state is the third field, utime the 14th and stime the 15th.
  const auto name = stat.rfind(')');
  if (name == std::string::npos) return -1;
  std::istringstream fields(stat.substr(name + 2));
  std::string skipped;
  for (int field = 3; field < 14; ++field) fields >> skipped;
  long long user = 0;
  long long system = 0;
  if (!(fields >> user >> system)) return -1;
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The CPU seconds a process uses over a period of waiting.
template <typename Rep, typename Period>
double cpuSecondsOver(pid_t pid, std::chrono::duration<Rep, Period> period) {
  const double before = cpuSeconds(pid);
  std::this_thread::sleep_for(period);
  return cpuSeconds(pid) - before;
}

// The monotonic clock's time in nanoseconds, as the frame log gives it.
inline long long monotonicNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A frame of the frame loop's log (SWIRLMOTE_FRAME_LOG): when it was due,
// began and ended (nothing for a frame given up), in nanoseconds, and on
// how many surfaces it was drawn.
struct LoggedFrame {
  long long due = 0;
  long long began = 0;
  std::optional<long long> ended;
  int surfaces = 0;
};

inline std::vector<LoggedFrame> loggedFrames(const std::string& log) {
  std::vector<LoggedFrame> frames;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line.front() == '#') continue;
    std::istringstream words(line);
    LoggedFrame frame;
    std::string ended;
    words >> frame.due >> frame.began >> ended >> frame.surfaces;
    if (ended != "given-up") frame.ended = std::stoll(ended);
    frames.push_back(frame);
  }
  return frames;
}

// The frames of the log that began in [from, to) on the monotonic clock.
inline std::vector<LoggedFrame> framesBetween(const std::vector<LoggedFrame>& frames, long long from,
                                              long long to) {
  std::vector<LoggedFrame> between;
  for (const LoggedFrame& frame : frames) {
    if (frame.began >= from && frame.began < to) between.push_back(frame);
  }
  return between;
}
