#include "host/frame_timer.h"

FrameTimer::FrameTimer(Clock::duration interval, Clock::time_point start)
    : interval_(interval), deadline_(start) {}

void FrameTimer::frameDone(Clock::time_point now) {
  deadline_ += interval_;
  if (now - deadline_ > interval_) {
    deadline_ = now;
  }
}
