#include "host/frame_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Clock = FrameTimer::Clock;
using std::chrono::milliseconds;

constexpr milliseconds kInterval(10);

// Deadlines, in milliseconds from the start, for frames drawn at the given
// times.
std::vector<long> deadlinesFor(const std::vector<long>& drawnAt) {
  const Clock::time_point start{};
  FrameTimer timer(kInterval, start);
  std::vector<long> deadlines;
  for (const long at : drawnAt) {
    timer.frameDone(start + milliseconds(at));
    deadlines.push_back(std::chrono::duration_cast<milliseconds>(timer.deadline() - start).count());
  }
  return deadlines;
}

TEST(FrameTimer, TheFirstFrameIsDueAtOnce) {
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(FrameTimer(kInterval, start).deadline(), start);
}

TEST(FrameTimer, SchedulesByDeadlineAndResynchronisesAfterAStall) {
  struct Case {
    const char* what;
    std::vector<long> drawnAt;
    std::vector<long> deadlines;
  };
  const Case cases[] = {
      {"on time", {0, 10, 20, 30}, {10, 20, 30, 40}},
      // Waking late does not push the frames after it.
      {"a little late", {0, 13, 21, 30}, {10, 20, 30, 40}},
      // Late by up to one interval: the next frame catches up at once.
      {"one interval behind", {0, 30}, {10, 20}},
      // Further behind: start again from now instead of a burst of frames.
      {"stalled", {0, 55, 56}, {10, 55, 65}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(deadlinesFor(c.drawnAt), c.deadlines) << c.what;
  }
}

}  // namespace
