#include "host/idle_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using State = IdleHost::State;
using enum IdleEvent;
using enum IdleAction;

struct Transition {
  const char* name;
  bool inhibitedAtStart;
  std::vector<IdleEvent> before;  // events that lead to the state under test
  IdleEvent event;
  std::vector<IdleAction> actions;
  State state;
};

class IdleHostTransitions : public testing::TestWithParam<Transition> {};

TEST_P(IdleHostTransitions, AnswerEachEventInItsState) {
  const Transition& t = GetParam();
  IdleHost host;
  host.start(t.inhibitedAtStart);
  for (const IdleEvent event : t.before) {
    host.handle(event);
  }
  EXPECT_EQ(host.handle(t.event), t.actions);
  EXPECT_EQ(host.state(), t.state);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdleHostTransitions,
    testing::Values(
        Transition{"IdleShowsTheSaver", false, {}, Idle, {ShowSaver}, State::Showing},
        Transition{"BackHidesItAndRearms", false, {Idle}, Back, {HideSaver, Arm}, State::Armed},
        Transition{"InputOnTheSaverRearms", false, {Idle}, SaverEndedByInput, {Arm}, State::Armed},
        Transition{"InhibitorWhileShowingHidesAndDisarms",
                   false,
                   {Idle},
                   InhibitorsHeld,
                   {HideSaver, Disarm},
                   State::Inhibited},
        Transition{"InhibitorWhileArmedDisarms", false, {}, InhibitorsHeld, {Disarm}, State::Inhibited},
        Transition{"FreedInhibitorsRearm", false, {InhibitorsHeld}, InhibitorsFreed, {Arm}, State::Armed},
        Transition{"HeldAtStartThenFreedArms", true, {}, InhibitorsFreed, {Arm}, State::Armed},
        Transition{"IdleWhileInhibitedShowsNothing", true, {}, Idle, {}, State::Inhibited},
        Transition{"BackWhileArmedIsStale", false, {}, Back, {}, State::Armed},
        Transition{"BackAfterInputIsStale", false, {Idle, SaverEndedByInput}, Back, {}, State::Armed},
        Transition{"SecondIdleWhileShowingIsIgnored", false, {Idle}, Idle, {}, State::Showing},
        Transition{"FreedWhileArmedChangesNothing", false, {}, InhibitorsFreed, {}, State::Armed}),
    [](const testing::TestParamInfo<Transition>& info) { return std::string(info.param.name); });

TEST(IdleHost, StartArmsUnlessInhibited) {
  IdleHost armed;
  EXPECT_EQ(armed.start(false), std::vector<IdleAction>{Arm});
  EXPECT_EQ(armed.state(), State::Armed);
  IdleHost held;
  EXPECT_TRUE(held.start(true).empty());
  EXPECT_EQ(held.state(), State::Inhibited);
}

}  // namespace
