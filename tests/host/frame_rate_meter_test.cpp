#include "host/frame_rate_meter.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = FrameRateMeter::Clock;

// Frames that begin every period and take work each, from start on; the
// time the next one would begin.
Clock::time_point feed(FrameRateMeter& meter, Clock::time_point start, Clock::duration period,
                       Clock::duration work, int count) {
  for (int i = 0; i < count; ++i) {
    meter.frameBegan(start);
    meter.frameEnded(start + work);
    start += period;
  }
  return start;
}

TEST(FrameRateMeter, MeasuresTheRateAndTheShareOfTheIntervalSpentDrawing) {
  struct Case {
    const char* name;
    Clock::duration interval;
    Clock::duration period;
    Clock::duration work;
    double framesPerSecond;
    double load;
  };
  const Case cases[] = {
      {"on time", 20ms, 20ms, 5ms, 50.0, 0.25},
      {"with a delay on top of the interval", 40ms, 40ms, 2ms, 25.0, 0.05},
      // Frames longer than the interval: the rate falls, the load passes 1.
      {"late", 20ms, 30ms, 30ms, 1000.0 / 30.0, 1.5},
      // Render: frames back to back, each a share of the interval.
      {"unpaced", 16ms, 8ms, 4ms, 125.0, 0.25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrameRateMeter meter(c.interval);
    const Clock::time_point next = feed(meter, Clock::time_point(), c.period, c.work, 240);
    meter.frameBegan(next);
    ASSERT_TRUE(meter.figures());
    EXPECT_NEAR(meter.figures()->framesPerSecond, c.framesPerSecond, 1e-9);
    EXPECT_NEAR(meter.figures()->load, c.load, 1e-9);
  }
}

// Known from the second frame on, following every frame of the first
// second, then held for a second at a time.
TEST(FrameRateMeter, ShowsFiguresAtOnceAndRenewsThemOnceASecond) {
  FrameRateMeter meter(20ms);
  const Clock::time_point start;
  meter.frameBegan(start);
  EXPECT_FALSE(meter.figures());
  meter.frameEnded(start + 10ms);
  meter.frameBegan(start + 20ms);
  ASSERT_TRUE(meter.figures());
  EXPECT_NEAR(meter.figures()->load, 0.5, 1e-9);
  meter.frameEnded(start + 25ms);
  meter.frameBegan(start + 40ms);
  EXPECT_NEAR(meter.figures()->load, 0.375, 1e-9) << "the first second so far";

  // The rest of the first second at 5 ms a frame, then a second at 15 ms.
  meter.frameEnded(start + 45ms);
  Clock::time_point next = feed(meter, start + 60ms, 20ms, 5ms, 47);
  ASSERT_EQ(next, start + 1000ms);
  next = feed(meter, next, 20ms, 15ms, 25);
  EXPECT_NEAR(meter.figures()->framesPerSecond, 50.0, 1e-9);
  EXPECT_NEAR(meter.figures()->load, (10.0 + 5.0 + 48 * 5.0) / (50 * 20.0), 1e-9)
      << "held until the next second is over";
  next = feed(meter, next, 20ms, 15ms, 25);
  meter.frameBegan(next);
  EXPECT_NEAR(meter.figures()->load, 0.75, 1e-9);
}

}  // namespace
