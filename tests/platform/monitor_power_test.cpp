#include "platform/monitor_power.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The display is asked at most once a second, and its latest answer holds
// in between.
TEST(MonitorPower, AsksTheDisplayAtMostOnceASecond) {
  bool displayOn = true;
  int asked = 0;
  MonitorPower power([&] {
    ++asked;
    return displayOn;
  });
  const MonitorPower::Clock::time_point start{};
  const struct {
    std::chrono::milliseconds at;
    bool displayOn;
    bool answer;
    int asked;
  } steps[] = {
      {0ms, true, true, 1},                                 // the first question goes to the display
      {400ms, false, true, 1},                              // within the second: the answer before
      {999ms, false, true, 1},  {1000ms, false, false, 2},  // a second on: asked again
      {1500ms, true, false, 2}, {2100ms, true, true, 3},
  };
  for (const auto& step : steps) {
    displayOn = step.displayOn;
    EXPECT_EQ(power.on(start + step.at), step.answer) << step.at.count() << " ms";
    EXPECT_EQ(asked, step.asked) << step.at.count() << " ms";
  }
}

}  // namespace
