#pragma once

#include <vector>

// What happens to the idle host.
enum class IdleEvent {
  Idle,               // the desktop says the user has been idle long enough
  Back,               // the desktop says the user is back
  InhibitorsHeld,     // a player or browser asked that no saver show
  InhibitorsFreed,    // the last such request was withdrawn
  SaverEndedByInput,  // the saver's own windows saw input and closed
};

// What the host does in answer, in order.
enum class IdleAction { Arm, Disarm, ShowSaver, HideSaver };

// The idle host's state, free of any platform: armed and waiting for the
// desktop's "idle", showing the saver until input or "back", or held off by
// inhibitors. It never ends on its own.
class IdleHost {
 public:
  enum class State { Armed, Showing, Inhibited };

  // Where it begins: armed unless inhibitors are already held.
  std::vector<IdleAction> start(bool inhibitorsHeld);
  std::vector<IdleAction> handle(IdleEvent event);
  State state() const { return state_; }

 private:
  State state_ = State::Inhibited;
};
