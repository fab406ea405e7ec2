#include "host/frame_rate_meter.h"

namespace {

using Seconds = std::chrono::duration<double>;

constexpr FrameRateMeter::Clock::duration kPeriod = std::chrono::seconds(1);

}  // namespace

void FrameRateMeter::frameBegan(Clock::time_point began) {
  frameStart_ = began;
  if (!periodStart_) {
    periodStart_ = began;
    return;
  }
  const Clock::duration elapsed = began - *periodStart_;
  // Until the first period is over, its figures so far, at every frame.
  if (frames_ > 0 && elapsed > Clock::duration::zero() && (!periodDone_ || elapsed >= kPeriod)) {
    figures_ = FrameRateFigures{frames_ / Seconds(elapsed).count(),
                                Seconds(work_).count() / (frames_ * Seconds(interval_).count())};
  }
  if (elapsed >= kPeriod) {
    periodStart_ = began;
    periodDone_ = true;
    frames_ = 0;
    work_ = {};
  }
}

void FrameRateMeter::frameEnded(Clock::time_point ended) {
  ++frames_;
  work_ += ended - frameStart_;
}
