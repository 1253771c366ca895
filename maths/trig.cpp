// Sine and cosine: the argument brought into [-pi/4, pi/4] by subtracting a multiple of pi/2
// held to 85, 118 or 151 bits, then one of two polynomials. Only IEEE double additions,
// multiplications and bit tests, never contracted into fused multiply-adds, so every
// processor gets the same bits. Error below 1 ulp.
//
// A port of the sine and cosine of FreeBSD's msun (fdlibm; reduction optimised by Bruce D.
// Evans), which carries this notice:
// ====================================================
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunSoft, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.
// ====================================================
#include "maths/internal.h"
#include "maths/maths.h"

namespace maths {
namespace {

using internal::highWord;
using internal::Reduced;

// sin(x) / x - 1 on [-pi/4, pi/4] as a polynomial in x^2, error below 2^-58.
constexpr double kS1 = -0x1.5555555555549p-3, kS2 = 0x1.111111110f8a6p-7,
                 kS3 = -0x1.a01a019c161d5p-13, kS4 = 0x1.71de357b1fe7dp-19,
                 kS5 = -0x1.ae5e68a2b9cebp-26, kS6 = 0x1.5d93a5acfd57cp-33;
// cos(x) - 1 + x^2 / 2 on [-pi/4, pi/4], from x^4 on, error below 2^-58.
constexpr double kC1 = 0x1.555555555554cp-5, kC2 = -0x1.6c16c16c15177p-10,
                 kC3 = 0x1.a01a019cb1590p-16, kC4 = -0x1.27e4f809c52adp-22,
                 kC5 = 0x1.1ee9ebdb4b1c4p-29, kC6 = -0x1.8fae9be8838d4p-37;

// sin(x + y) for |x + y| <= pi/4, y the tail of a reduced x. An argument that needed no
// reduction has none and takes the shorter sum (a zero tail would round differently).
double sinKernel(double x, double y, bool tail) {
  const double z = x * x;
  const double w = z * z;
  const double r = kS2 + z * (kS3 + z * kS4) + z * w * (kS5 + z * kS6);
  const double v = z * x;
  if (!tail) return x + v * (kS1 + z * r);
  return x - ((z * (0.5 * y - v * r) - y) - v * kS1);
}

// cos(x + y) for |x + y| <= pi/4. 1 - x^2/2 is split into w and the exact rest (1 - w) - hz,
// which keeps the last bit near x = pi/4.
double cosKernel(double x, double y) {
  const double z = x * x;
  double w = z * z;
  const double r = z * (kC1 + z * (kC2 + z * kC3)) + w * w * (kC4 + z * (kC5 + z * kC6));
  const double hz = 0.5 * z;
  w = 1.0 - hz;
  return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// 2/pi, and pi/2 in pieces of 33 bits (pio2_1 + pio2_2 + pio2_3) with the rest after each
// (pio2_1t = pi/2 - pio2_1 and so on): n * pio2_k is exact for n below 2^20.
constexpr double kInvPio2 = 0x1.45f306dc9c883p-1;
constexpr double kPio2_1 = 0x1.921fb54400000p+0, kPio2_1t = 0x1.0b4611a626331p-34;
constexpr double kPio2_2 = 0x1.0b4611a600000p-34, kPio2_2t = 0x1.3198a2e037073p-69;
constexpr double kPio2_3 = 0x1.3198a2e000000p-69, kPio2_3t = 0x1.b839a252049c1p-104;
// Adding and subtracting 1.5 * 2^52 rounds to the nearest whole number, ties to even.
constexpr double kRoundToWhole = 0x1.8p52;

// x - n * pi/2 for a small n known in advance: one step good to 85 bits.
Reduced reduceBy(double x, int32_t n) {
  const double z = x - n * kPio2_1;
  const double hi = z - n * kPio2_1t;
  return {n, hi, (z - hi) - n * kPio2_1t};
}

// |x| below 2^20 * pi/2: n from x * 2/pi, then as many pieces of pi/2 as cancellation asks.
Reduced reduceMedium(double x, int32_t ix) {
  const double fn = (x * kInvPio2 + kRoundToWhole) - kRoundToWhole;
  const auto n = static_cast<int32_t>(fn);
  double r = x - fn * kPio2_1;
  double w = fn * kPio2_1t;
  const int32_t exponent = ix >> 20;
  double hi = r - w;
  auto lost = [&] { return exponent - ((highWord(hi) >> 20) & 0x7ff); };
  if (lost() > 16) {  // a second step, good to 118 bits
    double t = r;
    w = fn * kPio2_2;
    r = t - w;
    w = fn * kPio2_2t - ((t - r) - w);
    hi = r - w;
    if (lost() > 49) {  // a third, good to 151 bits: enough for every double
      t = r;
      w = fn * kPio2_3;
      r = t - w;
      w = fn * kPio2_3t - ((t - r) - w);
      hi = r - w;
    }
  }
  return {n, hi, (r - hi) - w};
}

// For |x| above pi/4 and finite. Arguments near a multiple of pi/2 lose bits to cancellation
// and take the careful medium way.
Reduced reduce(double x) {
  const int32_t hx = highWord(x);
  const int32_t ix = hx & 0x7fffffff;
  const int32_t sign = hx > 0 ? 1 : -1;
  if (ix <= 0x400f6a7a) {                                       // |x| up to about 5pi/4
    if ((ix & 0xfffff) == 0x921fb) return reduceMedium(x, ix);  // near pi/2 or pi
    return reduceBy(x, sign * (ix <= 0x4002d97c ? 1 : 2));      // the cut at about 3pi/4
  }
  if (ix <= 0x401c463b) {                                // |x| up to about 9pi/4
    if (ix <= 0x4015fdbc) {                              // up to about 7pi/4
      if (ix == 0x4012d97c) return reduceMedium(x, ix);  // near 3pi/2
      return reduceBy(x, sign * 3);
    }
    if (ix == 0x401921fb) return reduceMedium(x, ix);  // near 2pi
    return reduceBy(x, sign * 4);
  }
  if (ix < 0x413921fb) return reduceMedium(x, ix);
  return internal::reduceLarge(x);
}

}  // namespace

double sin(double x) {
  const int32_t ix = highWord(x) & 0x7fffffff;
  if (ix <= 0x3fe921fb) {           // |x| up to about pi/4
    if (ix < 0x3e400000) return x;  // below 2^-27 sin x is x to the last bit; keeps -0
    return sinKernel(x, 0.0, false);
  }
  if (ix >= 0x7ff00000) return x - x;  // infinity or NaN gives NaN
  const Reduced r = reduce(x);
  switch (r.n & 3) {
    case 0:
      return sinKernel(r.hi, r.lo, true);
    case 1:
      return cosKernel(r.hi, r.lo);
    case 2:
      return -sinKernel(r.hi, r.lo, true);
    default:
      return -cosKernel(r.hi, r.lo);
  }
}

double cos(double x) {
  const int32_t ix = highWord(x) & 0x7fffffff;
  if (ix <= 0x3fe921fb) {
    if (ix < 0x3e400000) return 1.0;
    return cosKernel(x, 0.0);
  }
  if (ix >= 0x7ff00000) return x - x;
  const Reduced r = reduce(x);
  switch (r.n & 3) {
    case 0:
      return cosKernel(r.hi, r.lo);
    case 1:
      return -sinKernel(r.hi, r.lo, true);
    case 2:
      return -cosKernel(r.hi, r.lo);
    default:
      return sinKernel(r.hi, r.lo, true);
  }
}

}  // namespace maths
