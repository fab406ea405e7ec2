#pragma once

#include <chrono>
#include <optional>

#include "render/fps_overlay.h"

// Measures the frame rate and the load for the frame rate overlay from the
// times frames begin and end: the rate over about a second of frames, the
// load as the share of the frame interval that a frame spent drawing. The
// figures are known from the second frame's start, follow every frame of the
// first second and are renewed once a second after it, so that they stay
// readable.
class FrameRateMeter {
 public:
  using Clock = std::chrono::steady_clock;

  explicit FrameRateMeter(Clock::duration interval) : interval_(interval) {}

  void frameBegan(Clock::time_point began);
  void frameEnded(Clock::time_point ended);
  const std::optional<FrameRateFigures>& figures() const { return figures_; }

 private:
  Clock::duration interval_;
  std::optional<Clock::time_point> periodStart_;
  bool periodDone_ = false;
  Clock::time_point frameStart_;
  int frames_ = 0;
  Clock::duration work_{};
  std::optional<FrameRateFigures> figures_;
};
