#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "basis/rounding.h"
#include "media/frame_pacer.h"

namespace {

TEST(FramePacer, WaitsOutTheRestOfThePeriodWithoutDrift) {
  FramePacer pacer(16667);
  uint64_t now = 0;
  for (int frame = 0; frame < 600; ++frame)
    now += uint64_t{1000} * static_cast<uint64_t>(pacer.delayAfterFrame(now));
  // 599 waits of a period each, give or take the last millisecond.
  EXPECT_NEAR(static_cast<double>(now), 599 * 16667.0, 1000);
}

TEST(RoundToInt, NearestWithTiesToEvenAndSaturating) {
  EXPECT_EQ(roundToInt(2.5), 2);
  EXPECT_EQ(roundToInt(3.5), 4);
  EXPECT_EQ(roundToInt(-2.5), -2);
  EXPECT_EQ(roundToInt(827.5), 828);
  EXPECT_EQ(roundToInt(std::nan("")), 0);
  EXPECT_EQ(roundToInt(HUGE_VAL), INT_MAX);
  EXPECT_EQ(roundToInt(-HUGE_VAL), INT_MIN);
  EXPECT_EQ(roundToInt(1e30), INT_MAX);
  EXPECT_EQ(roundToInt(2147483646.6), INT_MAX);
  EXPECT_EQ(roundToInt(2147483646.4), INT_MAX - 1);
  // Around the int range's ends, and the smallest fractions: nearbyint's value, saturated.
  for (const double v :
       {2147483647.0, 2147483647.5, 2147483646.5, 2147483646.9999998, -2147483647.0, -2147483647.5,
        -2147483648.0, -2147483648.5, -2147483648.4, -2147483646.5, 0.49999999999999994,
        -0.49999999999999994, -0.5, 1e-300, -1e-300, 4503599627370495.5}) {
    const double near = std::nearbyint(v);
    const int expected = near >= INT_MAX   ? INT_MAX
                         : near <= INT_MIN ? INT_MIN
                                           : static_cast<int>(near);
    EXPECT_EQ(roundToInt(v), expected) << v;
  }
}

TEST(NearestWhole, GivesNearbyintsValueAndSign) {
  const double kJustBelowHalf = 0.49999999999999994;
  for (const double v :
       {0.0, -0.0, 0.3, -0.3, 0.5, -0.5, 1.5, -1.5, 2.5, kJustBelowHalf, -kJustBelowHalf, 359.5,
        4503599627370495.5, -4503599627370495.5, 4503599627370497.0, 1e300, HUGE_VAL, -HUGE_VAL}) {
    EXPECT_EQ(std::signbit(nearestWhole(v)), std::signbit(std::nearbyint(v))) << v;
    EXPECT_EQ(nearestWhole(v), std::nearbyint(v)) << v;
  }
  EXPECT_TRUE(std::isnan(nearestWhole(std::nan(""))));
}

}  // namespace
