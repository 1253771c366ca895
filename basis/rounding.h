// The one way a floating-point value becomes a whole number in the game: nearest, a value
// exactly halfway going to the even neighbour, saturated to the int range, NaN giving 0.
#pragma once

#include <cmath>
#include <limits>

inline int roundToInt(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint honours the current rounding mode, which the program never changes from
  // round-to-nearest-even.
  const double rounded = std::nearbyint(value);
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(rounded);
}
