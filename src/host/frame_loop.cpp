#include "host/frame_loop.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>

#include "host/frame_log.h"
#include "host/termination.h"
#include "render/fps_overlay.h"

namespace {

using namespace std::chrono_literals;

// The longest wait between looks at the termination request.
constexpr auto kWaitSlice = 50ms;

// Without events to wait for, only a termination request ends a wait early.
void sleepUnlessTerminated(std::chrono::milliseconds timeout) {
  pollfd wake{terminationWakeFd(), POLLIN, 0};
  poll(&wake, 1, static_cast<int>(timeout.count()));
}

bool sized(const FrameSurface& surface) {
  const Size size = surface.pixelSize();
  return size.width > 0 && size.height > 0;
}

}  // namespace

FrameLoop::FrameLoop(ViewOptions views, LoopOptions options, EventSource* events)
    : views_(std::move(views)), options_(options), events_(events) {
  if (options_.showFrameRate) {
    overlay_ = [this] { drawFrameRateOverlay(meter_->figures()); };
  }
}

bool FrameLoop::add(std::vector<std::unique_ptr<FrameSurface>> surfaces, BringUpFailure& failure) {
  auto screens = bringUpViews(std::move(surfaces), views_, overlay_, failure);
  if (screens.empty()) {
    return false;
  }
  if (interval_ == Clock::duration::zero()) {
    // The view's frame interval, with the pause asked for on top.
    interval_ = std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(screens.front()->view().animationTimeInterval())) +
                options_.delay;
    meter_.emplace(interval_);
  }
  for (auto& screen : screens) {
    screens_.push_back(std::move(screen));
  }
  return true;
}

bool FrameLoop::add(std::unique_ptr<FrameSurface> surface, BringUpFailure& failure) {
  std::vector<std::unique_ptr<FrameSurface>> surfaces;
  surfaces.push_back(std::move(surface));
  return add(std::move(surfaces), failure);
}

void FrameLoop::addWhenSized(std::unique_ptr<FrameSurface> surface) {
  unsized_.push_back(std::move(surface));
}

bool FrameLoop::waitUntil(Clock::time_point deadline, bool untilSeen) {
  for (;;) {
    const bool again = events_ && events_->handlePending();
    deliverInput();
    if (ending_ || terminationRequested() || (events_ && events_->lost())) {
      return false;
    }
    if (untilSeen && anyScreenCanBeSeen()) {
      return true;
    }
    const auto left = deadline - Clock::now();
    if (!options_.paced || left <= Clock::duration::zero()) {
      if (!again) {
        return true;
      }
      continue;
    }
    // Rounded up, so that the wait never ends just short of the deadline
    // and spins.
    const auto slice =
        std::min(std::chrono::ceil<std::chrono::milliseconds>(left), std::chrono::milliseconds(kWaitSlice));
    if (events_) {
      events_->waitForEvents(slice);
    } else {
      sleepUnlessTerminated(slice);
    }
  }
}

// By index: the handler may add screens.
void FrameLoop::deliverInput() {
  for (std::size_t i = 0; i < screens_.size(); ++i) {
    for (const SurfaceInput& input : screens_[i]->surface().takeInput()) {
      if (handler_) {
        handler_(*screens_[i], input);
      }
    }
    if (screens_[i]->surface().closed() && options_.endWhenASurfaceCloses) {
      ending_ = true;
    }
  }
}

void FrameLoop::dropClosed() {
  std::erase_if(screens_, [](const auto& screen) { return screen->surface().closed(); });
  std::erase_if(unsized_, [](const auto& surface) { return surface->closed(); });
}

void FrameLoop::bringUpSized() {
  for (auto surface = unsized_.begin(); surface != unsized_.end();) {
    if (!sized(**surface)) {
      ++surface;
      continue;
    }
    BringUpFailure failure;
    if (!add(std::move(*surface), failure)) {
      std::fprintf(stderr, "swirlmote: %s\n", failure.message.c_str());
    }
    surface = unsized_.erase(surface);
  }
}

int64_t FrameLoop::run() {
  if (!meter_) {
    return 0;  // no screen was ever brought up
  }
  FrameTimer timer(interval_, Clock::now());
  const std::unique_ptr<FrameLog> log = FrameLog::fromEnvironment();
  int64_t drawn = 0;
  while (waitUntil(timer.deadline())) {
    dropClosed();
    bringUpSized();
    if (!anyScreenCanBeSeen()) {
      // No frame while nothing would be seen: every field waits, and the
      // frames start again, paced from now, as soon as a screen can be seen.
      if (!waitUntilSeen()) {
        break;
      }
      timer = FrameTimer(interval_, Clock::now());
    }
    const Clock::time_point began = Clock::now();
    if (log) {
      log->frameBegan(timer.deadline(), began);
    }
    meter_->frameBegan(began);
    if (options_.keepLastFrame && !screens_.empty() &&
        (!options_.frameLimit || drawn + 1 == *options_.frameLimit)) {
      screens_.front()->surface().keepShownFrames();
    }
    int shown = 0;
    if (!drawFrame(shown)) {
      if (log && !presentFailed_) {
        log->frameGivenUp();
      }
      return drawn;
    }
    const Clock::time_point ended = Clock::now();
    if (log) {
      log->frameEnded(ended, shown);
    }
    meter_->frameEnded(ended);
    ++drawn;
    if (options_.frameLimit && drawn == *options_.frameLimit) {
      break;
    }
    timer.frameDone(Clock::now());
  }
  return drawn;
}

bool FrameLoop::waitUntilSeen() {
  do {
    if (!waitUntil(Clock::now() + kWaitSlice, true)) {
      return false;
    }
    dropClosed();
    bringUpSized();
  } while (!anyScreenCanBeSeen());
  return true;
}

bool FrameLoop::anyScreenCanBeSeen() {
  return (!events_ || events_->monitorsOn()) &&
         std::any_of(screens_.begin(), screens_.end(),
                     [](const auto& screen) { return screen->surface().canBeSeen(); });
}

bool FrameLoop::drawFrame(int& shown) {
  for (auto& screen : screens_) {
    if (!screen->surface().canBeSeen()) {
      continue;
    }
    ++shown;
    screen->followSurfaceSize();
    screen->view().animateOneFrame();
    if (screen->view().gaveUpLastFrame()) {
      return false;
    }
    if (!screen->surface().present(screen->context())) {
      presentFailed_ = true;
      return false;
    }
  }
  return true;
}
