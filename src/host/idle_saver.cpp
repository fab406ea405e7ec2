#include "host/idle_saver.h"

#include <glib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/frame_loop.h"
#include "host/run_options.h"
#include "host/saver_events.h"
#include "host/saver_run.h"
#include "host/termination.h"
#include "platform/sdl_events.h"
#include "platform/sdl_video.h"
#include "platform/sdl_window_surface.h"
#include "platform/x_error_handlers.h"

namespace {

// SDL's events, each time followed by one round of GLib's default main
// context, which brings the idle monitor's "back" and the inhibitors;
// once `dismissed` answers true it calls onDismissed.
class IdleSaverEvents : public EventSource {
 public:
  IdleSaverEvents(SdlEvents& events, const std::function<bool()>& dismissed)
      : events_(events), dismissed_(dismissed) {}

  void onDismissed(std::function<void()> handler) { onDismissed_ = std::move(handler); }

  bool handlePending() override {
    const bool again = events_.handlePending();
    g_main_context_iteration(nullptr, FALSE);
    if (onDismissed_ && dismissed_()) {
      onDismissed_();
    }
    return again;
  }
  void waitForEvents(std::chrono::milliseconds timeout) override { events_.waitForEvents(timeout); }
  bool lost() override { return events_.lost(); }

 private:
  SdlEvents& events_;
  const std::function<bool()>& dismissed_;
  std::function<void()> onDismissed_;
};

void say(const std::string& message) {
  std::fprintf(stderr, "swirlmote idle: %s\n", message.c_str());
}

}  // namespace

IdleSaverEnd showIdleSaver(const std::function<bool()>& dismissed) {
  RunOptions options;
  options.mode = SaverMode::FullScreen;
  installQuietXErrorHandlers();
  LostXServerWatch watch;
  const auto video = SdlVideo::start(false, false);
  if (!video) {
    return IdleSaverEnd::Input;
  }
  SdlEvents sdlEvents(video->isX11());
  std::vector<std::unique_ptr<SdlWindowSurface>> surfaces;
  addOwnSurfaces(options, *video, sdlEvents, surfaces);
  if (surfaces.empty()) {
    say("no display to show the saver on");
    return IdleSaverEnd::Input;
  }
  IdleSaverEvents events(sdlEvents, dismissed);
  FrameLoop loop(viewOptionsOf(options), loopOptionsOf(options, true), &events);
  BringUpFailure failure;
  if (!loop.add({std::make_move_iterator(surfaces.begin()), std::make_move_iterator(surfaces.end())},
                failure)) {
    if (!failure.surfaceClosed) {
      say(failure.message);
    }
    return terminationRequested() ? IdleSaverEnd::Terminated : IdleSaverEnd::Input;
  }
  watch.stop();
  video->hideCursor();
  events.onDismissed([&loop] { loop.end(); });
  WakeTracker wake;
  loop.onInput([&](RunningView&, const SurfaceInput& input) {
    switch (actionFor(input, SaverMode::FullScreen)) {
      case SaverAction::Quit: loop.end(); break;
      case SaverAction::PointerMoved:
        if (wake.movedFar(input.dx, input.dy)) loop.end();
        break;
      default: break;
    }
  });
  loop.run();
  if (terminationRequested()) {
    return IdleSaverEnd::Terminated;
  }
  return dismissed() ? IdleSaverEnd::Dismissed : IdleSaverEnd::Input;
}
