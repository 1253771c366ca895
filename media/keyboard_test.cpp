#include "media/keyboard.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "media/frame_pacer.h"
#include "media/rounding.h"

namespace {

std::array<bool, kKeyCount> holding(std::initializer_list<Key> keys) {
  std::array<bool, kKeyCount> down{};
  for (Key k : keys) down[static_cast<size_t>(k)] = true;
  return down;
}

TEST(Keyboard, ReleasesAreSeenPerKeyAndOnlyByAskingWhileHeld) {
  Keyboard keyboard;
  keyboard.takeSnapshot(holding({Key::V, Key::B}));
  EXPECT_FALSE(keyboard.wasReleased(Key::V));  // asked while held: remembered as down
  keyboard.takeSnapshot(holding({}));
  EXPECT_TRUE(keyboard.wasReleased(Key::V));
  EXPECT_FALSE(keyboard.wasReleased(Key::V));
  // B was never asked about while held, so its release goes unnoticed.
  EXPECT_FALSE(keyboard.wasReleased(Key::B));
}

TEST(FramePacer, WaitsOutTheRestOfThePeriodWithoutDrift) {
  FramePacer pacer(16667);
  uint64_t now = 0;
  for (int frame = 0; frame < 600; ++frame) now += 1000 * pacer.delayAfterFrame(now);
  // 599 waits of a period each, give or take the last millisecond.
  EXPECT_NEAR(static_cast<double>(now), 599 * 16667.0, 1000);
}

TEST(FramePacer, LateFramesCatchUpOnlyWithinOnePeriod) {
  FramePacer pacer(16667);
  EXPECT_EQ(pacer.delayAfterFrame(0), 0);
  EXPECT_EQ(pacer.delayAfterFrame(20000), 0);  // late by 3.3 ms: kept on schedule
  EXPECT_EQ(pacer.delayAfterFrame(23334), 10);  // next deadline 33334
  EXPECT_EQ(pacer.delayAfterFrame(200000), 0);  // far behind: a fresh schedule
  EXPECT_EQ(pacer.delayAfterFrame(200000), 17);
}

TEST(RoundToInt, NearestWithTiesToEvenAndSaturating) {
  EXPECT_EQ(roundToInt(2.5), 2);
  EXPECT_EQ(roundToInt(3.5), 4);
  EXPECT_EQ(roundToInt(-2.5), -2);
  EXPECT_EQ(roundToInt(-3.5), -4);
  EXPECT_EQ(roundToInt(827.5), 828);
  EXPECT_EQ(roundToInt(74.5), 74);
  EXPECT_EQ(roundToInt(-0.4), 0);
  EXPECT_EQ(roundToInt(std::nan("")), 0);
  EXPECT_EQ(roundToInt(HUGE_VAL), INT_MAX);
  EXPECT_EQ(roundToInt(-HUGE_VAL), INT_MIN);
  EXPECT_EQ(roundToInt(1e30), INT_MAX);
  EXPECT_EQ(roundToInt(-1e30), INT_MIN);
  EXPECT_EQ(roundToInt(2147483646.6), INT_MAX);
  EXPECT_EQ(roundToInt(-2147483648.4), INT_MIN);
  EXPECT_EQ(roundToInt(2147483646.4), INT_MAX - 1);
}

}  // namespace
