#include "host/idle_host.h"

std::vector<IdleAction> IdleHost::start(bool inhibitorsHeld) {
  state_ = inhibitorsHeld ? State::Inhibited : State::Armed;
  return inhibitorsHeld ? std::vector<IdleAction>{} : std::vector<IdleAction>{IdleAction::Arm};
}

std::vector<IdleAction> IdleHost::handle(IdleEvent event) {
  switch (state_) {
    case State::Armed:
      if (event == IdleEvent::Idle) {
        // The armed watch reports "back" next by itself.
        state_ = State::Showing;
        return {IdleAction::ShowSaver};
      }
      if (event == IdleEvent::InhibitorsHeld) {
        state_ = State::Inhibited;
        return {IdleAction::Disarm};
      }
      return {};
    case State::Showing:
      if (event == IdleEvent::Back) {
        state_ = State::Armed;
        return {IdleAction::HideSaver, IdleAction::Arm};
      }
      if (event == IdleEvent::SaverEndedByInput) {
        state_ = State::Armed;
        return {IdleAction::Arm};
      }
      // The desktop sends no "back" for an inhibitor that comes while idle.
      if (event == IdleEvent::InhibitorsHeld) {
        state_ = State::Inhibited;
        return {IdleAction::HideSaver, IdleAction::Disarm};
      }
      return {};
    case State::Inhibited:
      if (event == IdleEvent::InhibitorsFreed) {
        state_ = State::Armed;
        return {IdleAction::Arm};
      }
      return {};
  }
  return {};
}
