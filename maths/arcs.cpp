// Arc cosine and arc tangent: rational and polynomial approximations on reduced ranges, with
// pi/2 held as a sum of two doubles. Only IEEE double arithmetic and the correctly rounded
// square root, never contracted into fused multiply-adds. Error below 1 ulp.
//
// A port of the arc cosine and arc tangents of FreeBSD's msun (fdlibm), which carries this
// notice:
// ====================================================
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunSoft, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.
// ====================================================
#include <array>
#include <cmath>

#include "maths/internal.h"
#include "maths/maths.h"

namespace maths {
namespace {

using internal::highWord;
using internal::lowWord;

constexpr double kPi = 0x1.921fb54442d18p+1;
constexpr double kPio2Hi = 0x1.921fb54442d18p+0, kPio2Lo = 0x1.1a62633145c07p-54;

// asin(x) = x + x^3 * P(x^2) / Q(x^2) on [0, 0.5].
constexpr double kPS0 = 0x1.5555555555555p-3, kPS1 = -0x1.4d61203eb6f7dp-2,
                 kPS2 = 0x1.9c1550e884455p-3, kPS3 = -0x1.48228b5688f3bp-5,
                 kPS4 = 0x1.9efe07501b288p-11, kPS5 = 0x1.23de10dfdf709p-15;
constexpr double kQS1 = -0x1.33a271c8a2d4bp+1, kQS2 = 0x1.02ae59c598ac8p+1,
                 kQS3 = -0x1.6066c1b8d0159p-1, kQS4 = 0x1.3b8c5b12e9282p-4;

double asinRatio(double z) {
  const double p = z * (kPS0 + z * (kPS1 + z * (kPS2 + z * (kPS3 + z * (kPS4 + z * kPS5)))));
  const double q = 1.0 + z * (kQS1 + z * (kQS2 + z * (kQS3 + z * kQS4)));
  return p / q;
}

// atan of 0.5, 1, 1.5 and infinity, each as a sum of two doubles.
constexpr std::array<double, 4> kAtanHi = {0x1.dac670561bb4fp-2, 0x1.921fb54442d18p-1,
                                           0x1.f730bd281f69bp-1, 0x1.921fb54442d18p+0};
constexpr std::array<double, 4> kAtanLo = {0x1.a2b7f222f65e2p-56, 0x1.1a62633145c07p-55,
                                           0x1.007887af0cbbdp-56, 0x1.1a62633145c07p-54};
// atan(x) = x - x^3 * (T0 + T1 x^2 + ... + T10 x^20) on [0, 7/16].
constexpr std::array<double, 11> kAtanT = {
    0x1.555555555550dp-2, -0x1.999999998ebc4p-3, 0x1.24924920083ffp-3, -0x1.c71c6fe231671p-4,
    0x1.745cdc54c206ep-4, -0x1.3b0f2af749a6dp-4, 0x1.10d66a0d03d51p-4, -0x1.dde2d52defd9ap-5,
    0x1.97b4b24760debp-5, -0x1.2b4442c6a6c2fp-5, 0x1.0ad3ae322da11p-6};

// atan(x) for finite or infinite x: reduced by atan(x) = atan(c) + atan((x - c) / (1 + c x))
// for c one of 0.5, 1, 1.5 and infinity.
double atan(double x) {
  const int32_t hx = highWord(x);
  const int32_t ix = hx & 0x7fffffff;
  if (ix >= 0x44100000) {  // |x| >= 2^66, infinity or NaN
    if (ix > 0x7ff00000 || (ix == 0x7ff00000 && lowWord(x) != 0)) return x + x;
    return hx > 0 ? kAtanHi[3] + kAtanLo[3] : -kAtanHi[3] - kAtanLo[3];
  }
  int id = -1;
  if (ix < 0x3fdc0000) {            // |x| < 7/16
    if (ix < 0x3e200000) return x;  // |x| < 2^-29
  } else {
    x = std::fabs(x);
    if (ix < 0x3ff30000) {    // |x| < 19/16
      if (ix < 0x3fe60000) {  // 7/16 <= |x| < 11/16
        id = 0;
        x = (2.0 * x - 1.0) / (2.0 + x);
      } else {
        id = 1;
        x = (x - 1.0) / (x + 1.0);
      }
    } else if (ix < 0x40038000) {  // |x| < 39/16
      id = 2;
      x = (x - 1.5) / (1.0 + 1.5 * x);
    } else {
      id = 3;
      x = -1.0 / x;
    }
  }
  const double z = x * x;
  const double w = z * z;
  // The odd and even terms apart, each a polynomial in x^4.
  const double s1 =
      z * (kAtanT[0] +
           w * (kAtanT[2] + w * (kAtanT[4] + w * (kAtanT[6] + w * (kAtanT[8] + w * kAtanT[10])))));
  const double s2 =
      w * (kAtanT[1] + w * (kAtanT[3] + w * (kAtanT[5] + w * (kAtanT[7] + w * kAtanT[9]))));
  if (id < 0) return x - x * (s1 + s2);
  const double r = kAtanHi[id] - ((x * (s1 + s2) - kAtanLo[id]) - x);
  return hx < 0 ? -r : r;
}

}  // namespace

double acos(double x) {
  const int32_t hx = highWord(x);
  const int32_t ix = hx & 0x7fffffff;
  if (ix >= 0x3ff00000) {  // |x| >= 1
    if (((ix - 0x3ff00000) | static_cast<int32_t>(lowWord(x))) == 0) {
      return hx > 0 ? 0.0 : kPi + 2.0 * kPio2Lo;
    }
    return (x - x) / (x - x);  // NaN, also for a NaN x
  }
  if (ix < 0x3fe00000) {                             // |x| < 0.5
    if (ix <= 0x3c600000) return kPio2Hi + kPio2Lo;  // |x| <= 2^-57
    return kPio2Hi - (x - (kPio2Lo - x * asinRatio(x * x)));
  }
  if (hx < 0) {  // x < -0.5: pi - 2 asin(sqrt((1 + x) / 2))
    const double z = (1.0 + x) * 0.5;
    const double s = std::sqrt(z);
    const double w = asinRatio(z) * s - kPio2Lo;
    return kPi - 2.0 * (s + w);
  }
  // x > 0.5: 2 asin(sqrt((1 - x) / 2)), the root split into a head with a zero low word and
  // a correction, for the last bit.
  const double z = (1.0 - x) * 0.5;
  const double s = std::sqrt(z);
  const double head = internal::fromWords(static_cast<uint32_t>(highWord(s)), 0);
  const double c = (z - head * head) / (s + head);
  const double w = asinRatio(z) * s + c;
  return 2.0 * (head + w);
}

// Through the double arc cosine, then rounded once to float: the float result is the
// correctly rounded one but for the rarest double-rounding ties.
float acos(float x) { return static_cast<float>(acos(static_cast<double>(x))); }

double atan2(double y, double x) {
  const int32_t hx = highWord(x), hy = highWord(y);
  const int32_t ix = hx & 0x7fffffff, iy = hy & 0x7fffffff;
  const uint32_t lx = lowWord(x), ly = lowWord(y);
  if (std::isnan(x) || std::isnan(y)) return x + y;
  if (hx == 0x3ff00000 && lx == 0) return atan(y);    // x = 1
  const int m = ((hy >> 31) & 1) | ((hx >> 30) & 2);  // 2 * sign of x + sign of y
  if ((iy | ly) == 0) {                               // y = 0
    switch (m) {
      case 0:
      case 1:
        return y;
      case 2:
        return kPi;
      default:
        return -kPi;
    }
  }
  if ((ix | lx) == 0) return hy < 0 ? -kPio2Hi : kPio2Hi;  // x = 0
  if (ix == 0x7ff00000) {                                  // x infinite
    const double quarter = 0.5 * kPio2Hi;
    if (iy == 0x7ff00000) {
      constexpr double kThreeQuarters = 3.0 * (0.5 * kPio2Hi);
      switch (m) {
        case 0:
          return quarter;
        case 1:
          return -quarter;
        case 2:
          return kThreeQuarters;
        default:
          return -kThreeQuarters;
      }
    }
    switch (m) {
      case 0:
        return 0.0;
      case 1:
        return -0.0;
      case 2:
        return kPi;
      default:
        return -kPi;
    }
  }
  if (iy == 0x7ff00000) return hy < 0 ? -kPio2Hi : kPio2Hi;  // y infinite

  constexpr double kPiLo = 0x1.1a62633145c07p-53;
  const int32_t k = (iy - ix) >> 20;
  double z;
  int quadrant = m;
  if (k > 60) {  // |y / x| > 2^60
    z = kPio2Hi + 0.5 * kPiLo;
    quadrant &= 1;
  } else if (hx < 0 && k < -60) {  // 0 > |y| / x > -2^-60
    z = 0.0;
  } else {
    z = atan(std::fabs(y / x));
  }
  switch (quadrant) {
    case 0:
      return z;
    case 1:
      return -z;
    case 2:
      return kPi - (z - kPiLo);
    default:
      return (z - kPiLo) - kPi;
  }
}

}  // namespace maths
