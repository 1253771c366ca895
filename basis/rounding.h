// The one way a floating-point value becomes a whole number in the game: nearest, a value
// exactly halfway going to the even neighbour, saturated to the int range, NaN giving 0.
#pragma once

#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// nearbyint's value (nearest, ties to even, the sign kept), without its library call: a few
// thousand cannonballs are rounded several times a frame. Adding and taking away 2^52 leaves
// no fraction bits, and the sum is rounded as every sum is, in the rounding mode the program
// never changes from round-to-nearest-even. Larger values are whole already.
inline double nearestWhole(double value) {
  constexpr double kNoFraction = 0x1p52;
  if (!(std::abs(value) < kNoFraction)) return value;  // whole, infinite or not a number
  const double shift = std::copysign(kNoFraction, value);
  return std::copysign((value + shift) - shift, value);
}

inline int roundToInt(double value) {
#if defined(__SSE2__)
  // Well inside the int range one conversion rounds as nearbyint does, in the same mode; the
  // balls' positions always come this way.
  if (std::abs(value) < 2147483647.0) return _mm_cvtsd_si32(_mm_set_sd(value));
#endif
  if (std::isnan(value)) return 0;
  const double rounded = nearestWhole(value);
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(rounded);
}
