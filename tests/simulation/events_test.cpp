#include <gtest/gtest.h>

#include <cmath>

#include "seeded_field.h"

namespace {

constexpr int32_t kNever = 100000;

float saturationFrom(long draw) {
  return static_cast<float>(static_cast<double>(draw % 100) * 0.2 / 100.0 + 0.5);
}

float coordinateFrom(long draw) {
  return static_cast<float>(static_cast<double>(draw) / 2147483647.0 * 1000.0 - 500.0);
}

void quieten(Field& field) {
  for (int c = 0; c < field.no_cyclones; ++c) {
    field.statusCount[c].moveTimer = kNever;
    field.statusCount[c].effectTimer = kNever;
    field.statusCount[c].depthTimer = kNever;
  }
}

enum class Timer { Move, Effect, Depth };

struct FiringCase {
  Timer timer;
  int32_t initial;
};

int32_t& timerOf(CycloneStatus& s, Timer timer) {
  switch (timer) {
    case Timer::Move: return s.moveTimer;
    case Timer::Effect: return s.effectTimer;
    case Timer::Depth: return s.depthTimer;
  }
  std::abort();
}

long boundOf(Timer timer) {
  switch (timer) {
    case Timer::Move: return 2300;
    case Timer::Effect: return 2000;
    case Timer::Depth: return 1700;
  }
  std::abort();
}

class TimerFiring : public ::testing::TestWithParam<FiringCase> {};

// A timer holding n counts down for n frames and fires in the next one,
// reloading from the draw that follows the drift draw.
TEST_P(TimerFiring, FiresInTheFrameAfterItReachesZero) {
  const FiringCase& c = GetParam();
  Field field;
  seedField(field, {1, 50, 0, false}, 8);
  quieten(field);
  CycloneStatus& s = field.statusCount[0];
  timerOf(s, c.timer) = c.initial;
  s.hue = 100.0f;
  for (int32_t frame = 1; frame <= c.initial + 1; ++frame) {
    const unsigned seed = 300u + static_cast<unsigned>(frame);
    const std::vector<long> reference = drawsAfter(seed, 2);
    srandom(seed);
    field.model_handle_events();
    if (frame <= c.initial) {
      EXPECT_EQ(timerOf(s, c.timer), c.initial - frame);
      EXPECT_EQ(s.hue, 100.0f);
    } else {
      EXPECT_EQ(timerOf(s, c.timer), reference[1] % boundOf(c.timer));
      EXPECT_EQ(s.hue, 110.0f);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Timers, TimerFiring,
                         ::testing::Values(FiringCase{Timer::Move, 0}, FiringCase{Timer::Move, 5},
                                           FiringCase{Timer::Effect, 0}, FiringCase{Timer::Effect, 5},
                                           FiringCase{Timer::Depth, 0}, FiringCase{Timer::Depth, 5}));

// Cyclone 0 fires all three timers in one frame, cyclone 1 none; every
// value changed must come from its place in the draw sequence. The seeds
// cover odd and even depth draws.
TEST(EventDraws, FollowTheOrderWithinEachCyclonesTurn) {
  const FieldShape shape{2, 6, 0, false};
  bool sawOdd = false, sawEven = false;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    Field field, twin;
    for (Field* f : {&field, &twin}) {
      seedField(*f, shape, 50);
      quieten(*f);
      f->statusCount[0].moveTimer = 0;
      f->statusCount[0].effectTimer = 0;
      f->statusCount[0].depthTimer = 0;
      f->statusCount[0].hue = 355.0f;
    }
    const CycloneStatus before1 = field.statusCount[1];
    std::vector<Vector3F> eyes(field.eye.get(), field.eye.get() + 6);

    DrawSequence d(drawsAfter(seed, 20));
    srandom(seed);
    field.model_handle_events();

    d.next();  // drift of eye 0, replaced by the depth event below
    const long moveTimer = d.next() % 2300;
    d.next();
    const float x = coordinateFrom(d.next());
    const float y = coordinateFrom(d.next());
    const long effectTimer = d.next() % 2000;
    d.next();
    const long depthTimer = d.next() % 1700;
    const float saturation = saturationFrom(d.next());
    const bool odd = d.next() % 2 == 1;
    std::vector<float> depths;
    for (int p = 0; p < (odd ? 3 : 1); ++p) {
      depths.push_back(static_cast<float>(d.unit() * -430.0 - 20.0));
    }
    const auto drift1 = static_cast<float>(static_cast<double>(eyes[1].z) + (d.unit() * 0.02 - 0.01));
    (odd ? sawOdd : sawEven) = true;

    const CycloneStatus& s = field.statusCount[0];
    EXPECT_EQ(s.moveTimer, moveTimer);
    EXPECT_EQ(s.effectTimer, effectTimer);
    EXPECT_EQ(s.depthTimer, depthTimer);
    EXPECT_EQ(s.hue, 25.0f);
    EXPECT_EQ(s.saturation, saturation);
    for (int i = 0; i < 3; ++i) {
      const int p = 2 * i;
      EXPECT_EQ(field.eye[p].x, x) << p;
      EXPECT_EQ(field.eye[p].y, y) << p;
      EXPECT_EQ(field.eye[p].z, depths[odd ? i : 0]) << p;
    }
    for (const int p : {1, 3, 5}) {
      EXPECT_EQ(field.eye[p].x, eyes[p].x) << p;
      EXPECT_EQ(field.eye[p].y, eyes[p].y) << p;
      EXPECT_EQ(field.eye[p].z, p == 1 ? drift1 : eyes[p].z) << p;
    }
    const CycloneStatus& s1 = field.statusCount[1];
    EXPECT_EQ(s1.moveTimer, kNever - 1);
    EXPECT_EQ(s1.hue, before1.hue);
    EXPECT_EQ(s1.saturation, before1.saturation);
    EXPECT_EQ(random(), d.at(d.used())) << "seed " << seed;

    // The effect applied is the one numbered by the new timer.
    twin.doEffectNumber(static_cast<int>(effectTimer % 7), 0);
    EXPECT_EQ(field.dir, twin.dir);
    EXPECT_EQ(field.rad, twin.rad);
    for (int p = 0; p < 6; ++p) {
      EXPECT_EQ(field.ve[p].x, twin.ve[p].x) << p;
      EXPECT_EQ(field.ve[p].y, twin.ve[p].y) << p;
    }
  }
  EXPECT_TRUE(sawOdd && sawEven);
}

TEST(EyeDrift, OnlyTheFirstParticlesCopyDriftsByAtMostOneHundredth) {
  Field field;
  seedField(field, {3, 150, 0, false}, 21);
  quieten(field);
  for (int frame = 0; frame < 50; ++frame) {
    std::vector<Vector3F> eyes(field.eye.get(), field.eye.get() + 150);
    field.model_handle_events();
    for (int p = 0; p < 150; ++p) {
      EXPECT_EQ(field.eye[p].x, eyes[p].x);
      EXPECT_EQ(field.eye[p].y, eyes[p].y);
      if (p < 3) {
        EXPECT_LE(std::fabs(field.eye[p].z - eyes[p].z), 0.01f + 1e-4f);
      } else {
        EXPECT_EQ(field.eye[p].z, eyes[p].z);
      }
    }
  }
}

struct MoveCase {
  int cyclones;
  int mover;
};

class EyeMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(EyeMove, MovesEveryCopyOfTheCycloneAndNoOther) {
  const auto [k, mover] = GetParam();
  const int n = 50 * k;
  Field field;
  seedField(field, {k, n, 0, false}, 31);
  quieten(field);
  field.statusCount[mover].moveTimer = 0;
  std::vector<Vector3F> eyes(field.eye.get(), field.eye.get() + n);

  // One drift draw for each earlier cyclone, then drift, timer, saturation.
  const std::vector<long> reference = drawsAfter(32, static_cast<std::size_t>(mover) + 5);
  srandom(32);
  field.model_handle_events();
  const float x = coordinateFrom(reference[mover + 3]);
  const float y = coordinateFrom(reference[mover + 4]);
  for (int p = 0; p < n; ++p) {
    const bool moved = p % k == mover;
    EXPECT_EQ(field.eye[p].x, moved ? x : eyes[p].x) << p;
    EXPECT_EQ(field.eye[p].y, moved ? y : eyes[p].y) << p;
    if (p >= k) {
      EXPECT_EQ(field.eye[p].z, eyes[p].z) << p;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cyclones, EyeMove,
                         ::testing::Values(MoveCase{1, 0}, MoveCase{3, 1}, MoveCase{10, 9}));

}  // namespace
