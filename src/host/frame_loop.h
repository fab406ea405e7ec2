#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "host/frame_rate_meter.h"
#include "host/frame_timer.h"
#include "host/view_bring_up.h"
#include "platform/frame_surface.h"

// How a run's frames come.
struct LoopOptions {
  // Paced frames come one frame interval apart, with events handled in
  // between; unpaced ones come at once, one after another.
  bool paced = true;
  // Paused each frame on top of the view's frame interval.
  std::chrono::microseconds delay{0};
  std::optional<int64_t> frameLimit;
  bool showFrameRate = false;
  // The first screen's last frame stays readable after it is shown.
  bool keepLastFrame = false;
  // A surface whose window goes ends the run; otherwise it is dropped.
  bool endWhenASurfaceCloses = false;
};

// The one frame loop: gives every screen a frame each frame interval until
// the frame limit, a termination request, the loss of the event source, the
// end of a surface (where that ends the run) or end(). Screens may be added
// and dropped while it runs. Between frames it handles the event source's
// events, in slices short enough that a termination request is seen at
// once, and hands the surfaces' input to the input handler. A surface that
// cannot be seen is not drawn, and its field waits; while no surface can
// be seen, or the monitors are off, there is no frame at all, and the loop
// sleeps until its events show a screen again. The frame rate meter and the
// frame log (SWIRLMOTE_FRAME_LOG) follow its frames.
class FrameLoop {
 public:
  using Clock = FrameTimer::Clock;
  using InputHandler = std::function<void(RunningView&, const SurfaceInput&)>;

  // events: null where there are none, as headless.
  FrameLoop(ViewOptions views, LoopOptions options, EventSource* events);
  FrameLoop(const FrameLoop&) = delete;
  FrameLoop& operator=(const FrameLoop&) = delete;

  // Brings up views over the surfaces and draws them from now on; false,
  // with the failure, when one could not be brought up (then none is
  // added).
  bool add(std::vector<std::unique_ptr<FrameSurface>> surfaces, BringUpFailure& failure);
  bool add(std::unique_ptr<FrameSurface> surface, BringUpFailure& failure);
  // A surface that the window system has yet to size: brought up once it
  // has a size, dropped after a message when that fails.
  void addWhenSized(std::unique_ptr<FrameSurface> surface);
  void onInput(InputHandler handler) { handler_ = std::move(handler); }
  // Ends the run before the next frame.
  void end() { ending_ = true; }

  // Handles events until the deadline, and those pending at it; false when
  // the run is to end.
  bool waitUntil(Clock::time_point deadline) { return waitUntil(deadline, false); }
  // Draws frames until the run ends; the number of frames drawn.
  int64_t run();

  const std::vector<std::unique_ptr<RunningView>>& screens() const { return screens_; }
  // Whether a surface could not show a frame, which ended the run.
  bool presentFailed() const { return presentFailed_; }

 private:
  // untilSeen: returns as well once a screen can be seen.
  bool waitUntil(Clock::time_point deadline, bool untilSeen);
  void deliverInput();
  void dropClosed();
  void bringUpSized();
  // Whether a frame drawn now would be seen on some screen.
  bool anyScreenCanBeSeen();
  // Handles events, waking a whole wait slice apart rather than a frame
  // interval, until a screen can be seen, which it notes as the events
  // come; false when the run is to end.
  bool waitUntilSeen();
  // Draws the screens that can be seen, counting them in shown; false when
  // the stop check gave a frame up or a surface failed.
  bool drawFrame(int& shown);

  ViewOptions views_;
  LoopOptions options_;
  EventSource* events_;
  Clock::duration interval_{};
  std::optional<FrameRateMeter> meter_;
  std::function<void()> overlay_;
  std::vector<std::unique_ptr<RunningView>> screens_;
  std::vector<std::unique_ptr<FrameSurface>> unsized_;
  InputHandler handler_;
  bool ending_ = false;
  bool presentFailed_ = false;
};
