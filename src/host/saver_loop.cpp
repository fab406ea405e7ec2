#include "host/saver_loop.h"

#include <chrono>
#include <cmath>

#include "host/configure_sheet.h"
#include "host/frame_log.h"
#include "host/frame_rate_meter.h"
#include "host/frame_timer.h"
#include "host/fullscreen_toggle.h"
#include "host/saver_events.h"
#include "host/termination.h"
#include "platform/gtk_runtime.h"

namespace {

using Clock = FrameTimer::Clock;

SaverScreen* screenOf(SaverSession& session, uint32_t windowId) {
  for (auto& screen : session.screens) {
    if (screen->windowId() == windowId) {
      return screen.get();
    }
  }
  return nullptr;
}

class FrameLoop {
 public:
  FrameLoop(SaverSession& session, Clock::duration interval, FrameRateMeter* meter)
      : session_(session), interval_(interval), meter_(meter) {}

  int64_t run(std::optional<int64_t> frameLimit, bool keepLastFrame) {
    SaverScreen& first = *session_.screens.front();
    FrameTimer timer(interval_, Clock::now());
    const std::unique_ptr<FrameLog> log = FrameLog::fromEnvironment();
    int64_t drawn = 0;
    while (waitUntil(timer.deadline())) {
      const Clock::time_point began = Clock::now();
      if (log) {
        log->frameBegan(timer.deadline(), began);
      }
      if (meter_) {
        meter_->frameBegan(began);
      }
      if (keepLastFrame && (!frameLimit || drawn + 1 == *frameLimit)) {
        first.context().setKeepsFrames(true);
      }
      for (auto& screen : session_.screens) {
        screen->view().animateOneFrame();
        if (screen->view().gaveUpLastFrame()) {
          if (log) {
            log->frameGivenUp();
          }
          return drawn;
        }
      }
      const Clock::time_point ended = Clock::now();
      if (log) {
        log->frameEnded(ended);
      }
      if (meter_) {
        meter_->frameEnded(ended);
      }
      ++drawn;
      if (frameLimit && drawn == *frameLimit) {
        break;
      }
      timer.frameDone(Clock::now());
    }
    return drawn;
  }

 private:
  // Handles events until the deadline, and those already waiting even when
  // the deadline has passed; false when the saver is to end.
  bool waitUntil(Clock::time_point deadline) {
    SDL_Event event;
    for (;;) {
      while (!ending_ && SDL_PollEvent(&event)) {
        handle(event);
      }
      runPendingGtkEvents();
      followWindows();
      if (ending_ || session_.sheetEnded || terminationRequested()) {
        return false;
      }
      const auto left = deadline - Clock::now();
      if (left <= Clock::duration::zero()) {
        return true;
      }
      // Rounded up, so that the wait never ends just short of the deadline
      // and spins.
      const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(left).count();
      if (SDL_WaitEventTimeout(&event, static_cast<int>(milliseconds))) {
        handle(event);
      }
    }
  }

  void handle(const SDL_Event& event) {
    switch (actionFor(event, session_.mode)) {
      case SaverAction::None: break;
      case SaverAction::Quit: ending_ = true; break;
      // Keys come only to the window and the preview, each of one screen.
      case SaverAction::ToggleFullScreen: fullScreen_.toggle(session_.screens.front()->window()); break;
      case SaverAction::ShowConfigureSheet:
        showConfigureSheet(session_.screens.front()->view(), session_.screens.front()->window());
        break;
      case SaverAction::Resize:
        if (SaverScreen* screen = screenOf(session_, event.window.windowID)) {
          screen->resize(screen->drawableSize());
        }
        break;
      case SaverAction::PointerMoved: ending_ = wake_.movedFar(event.motion.xrel, event.motion.yrel); break;
    }
  }

  // The owner of a foreign window resizes it to follow the screen, and
  // destroys it when the saver is to end.
  void followWindows() {
    if (!session_.watch) {
      return;
    }
    const WindowWatch::Changes changes = session_.watch->takeChanges();
    if (changes.destroyed) {
      ending_ = true;
    } else if (changes.size) {
      session_.screens.front()->resize(*changes.size);
    }
  }

  SaverSession& session_;
  Clock::duration interval_;
  FrameRateMeter* meter_;
  WakeTracker wake_;
  FullScreenToggle fullScreen_;
  bool ending_ = false;
};

}  // namespace

int64_t runFrames(SaverSession& session, std::optional<int64_t> frameLimit, bool keepLastFrame) {
  const auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                            session.screens.front()->view().animationTimeInterval())) +
                        session.hacks.delay;
  if (!session.hacks.showFrameRate) {
    return FrameLoop(session, interval, nullptr).run(frameLimit, keepLastFrame);
  }
  FrameRateMeter meter(interval);
  for (auto& screen : session.screens) {
    screen->view().setFrameOverlay([&meter] { drawFrameRateOverlay(meter.figures()); });
  }
  const int64_t drawn = FrameLoop(session, interval, &meter).run(frameLimit, keepLastFrame);
  for (auto& screen : session.screens) {
    screen->view().setFrameOverlay(nullptr);
  }
  return drawn;
}
