#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

// The frame loop's timing, for measuring pacing: when each frame was due,
// when it began and when it ended (or that a termination signal made it give
// the frame up), on the monotonic clock, and how many surfaces it was drawn
// on; at the end the process's CPU time. Kept in memory while the loop runs and written when the log
// ends, so that writing never delays a frame. Only made when the variable
// SWIRLMOTE_FRAME_LOG names a file.
class FrameLog {
 public:
  using Clock = std::chrono::steady_clock;

  // Nothing when the variable is unset or the file cannot be made.
  static std::unique_ptr<FrameLog> fromEnvironment();
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  void frameBegan(Clock::time_point due, Clock::time_point began) { frames_.push_back({due, began, {}}); }
  void frameEnded(Clock::time_point ended, int surfaces) {
    frames_.back().ended = ended;
    frames_.back().surfaces = surfaces;
  }
  void frameGivenUp() { frames_.back().givenUp = true; }

 private:
  explicit FrameLog(std::FILE* file) : file_(file) {}

  struct Frame {
    Clock::time_point due;
    Clock::time_point began;
    Clock::time_point ended;
    int surfaces = 0;
    bool givenUp = false;
  };
  std::FILE* file_;
  std::vector<Frame> frames_;
};
