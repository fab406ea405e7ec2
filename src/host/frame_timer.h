#pragma once

#include <chrono>

// When the next frame is due, on the monotonic clock. Deadlines follow each
// other by one interval, so that waking late for one frame does not push the
// frames after it; after a stall of more than an interval the schedule starts
// again from the present instead of catching up in a burst.
class FrameTimer {
 public:
  using Clock = std::chrono::steady_clock;

  // The first frame is due at once.
  FrameTimer(Clock::duration interval, Clock::time_point start);

  Clock::time_point deadline() const { return deadline_; }
  // A frame was drawn at now; schedules the next.
  void frameDone(Clock::time_point now);

 private:
  Clock::duration interval_;
  Clock::time_point deadline_;
};
