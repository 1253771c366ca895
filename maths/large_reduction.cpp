// Reduction by pi/2 of arguments too large for pi/2 in three pieces (Payne and Hanek): x
// times 2/pi worked out in 24-bit pieces from the bits of 2/pi that can matter, skipping
// the product's huge part that is a multiple of 8 anyway. Only whole numbers held exactly
// in doubles, and IEEE additions and multiplications.
//
// A port of __kernel_rem_pio2 of FreeBSD's msun (fdlibm), for double precision only, which
// carries this notice:
// ====================================================
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunSoft, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.
// ====================================================
#include <algorithm>
#include <array>
#include <cmath>

#include "maths/internal.h"

namespace maths::internal {
namespace {

// The bits of 2/pi after the point, 24 to an entry: enough for the largest double's exponent.
constexpr std::array<int32_t, 66> kTwoOverPi = {
    0xA2F983, 0x6E4E44, 0x1529FC, 0x2757D1, 0xF534DD, 0xC0DB62, 0x95993C, 0x439041, 0xFE5163,
    0xABDEBB, 0xC561B7, 0x246E3A, 0x424DD2, 0xE00649, 0x2EEA09, 0xD1921C, 0xFE1DEB, 0x1CB129,
    0xA73EE8, 0x8235F5, 0x2EBB44, 0x84E99C, 0x7026B4, 0x5F7E41, 0x3991D6, 0x398353, 0x39F49C,
    0x845F8B, 0xBDF928, 0x3B1FF8, 0x97FFDE, 0x05980F, 0xEF2F11, 0x8B5A0A, 0x6D1F6D, 0x367ECF,
    0x27CB09, 0xB74F46, 0x3F669E, 0x5FEA2D, 0x7527BA, 0xC7EBE5, 0xF17B3D, 0x0739F7, 0x8A5292,
    0xEA6BFB, 0x5FB11F, 0x8D5D08, 0x560330, 0x46FC7B, 0x6BABF0, 0xCFBC20, 0x9AF436, 0x1DA9E3,
    0x91615E, 0xE61B08, 0x659985, 0x5F14A0, 0x68408D, 0xFFD880, 0x4D7327, 0x310606, 0x1556CA,
    0x73A8C9, 0x60E27B, 0xC08C6B};

// pi/2 in pieces of 24 bits.
constexpr std::array<double, 8> kPio2Pieces = {
    0x1.921fb40000000p+0,  0x1.4442d00000000p-24,  0x1.8469880000000p-48,  0x1.8cc5160000000p-72,
    0x1.01b8380000000p-96, 0x1.a252040000000p-120, 0x1.3822280000000p-145, 0x1.9f31d00000000p-169};

constexpr double kTwo24 = 0x1p24, kTwoMinus24 = 0x1p-24;
// Terms of 2/pi taken at first (jk), and pieces of pi/2 used (jp).
constexpr int kTerms = 4, kPio2Used = kTerms;

// The whole part of a double known to lie in the int32 range: conversion truncates exactly.
double whole(double v) { return static_cast<double>(static_cast<int32_t>(v)); }

// x, given as nx pieces of 24 bits x[0] * 2^e0 + x[1] * 2^(e0 - 24) + ..., reduced: returns
// the last three bits of n and writes the rest to y[0] + y[1].
int32_t remPio2(const double* x, double* y, int e0, int nx) {
  int32_t iq[20] = {};
  double f[20] = {}, fq[20] = {}, q[20] = {};
  const int jx = nx - 1;
  const int jv = std::max((e0 - 3) / 24, 0);  // where the bits of 2/pi that matter start
  int q0 = e0 - 24 * (jv + 1);

  for (int i = 0, j = jv - jx; i <= jx + kTerms; ++i, ++j) {
    f[i] = j < 0 ? 0.0 : static_cast<double>(kTwoOverPi[j]);
  }
  auto product = [&](int i) {
    double fw = 0.0;
    for (int j = 0; j <= jx; ++j) fw += x[j] * f[jx + i - j];
    return fw;
  };
  for (int i = 0; i <= kTerms; ++i) q[i] = product(i);

  int jz = kTerms;
  int32_t n = 0, ih = 0;
  double z = 0.0;
  for (;;) {
    // q[] into 24-bit integers iq[], lowest first.
    z = q[jz];
    for (int i = 0, j = jz; j > 0; ++i, --j) {
      const double fw = whole(kTwoMinus24 * z);
      iq[i] = static_cast<int32_t>(z - kTwo24 * fw);
      z = q[j - 1] + fw;
    }
    // n, the whole part mod 8, and the fraction.
    z = scaled(z, q0);
    z -= 8.0 * std::floor(z * 0.125);  // exact
    n = static_cast<int32_t>(z);
    z -= static_cast<double>(n);
    ih = 0;
    if (q0 > 0) {  // iq[jz - 1] holds some bits of the whole part
      const int32_t i = iq[jz - 1] >> (24 - q0);
      n += i;
      iq[jz - 1] -= i << (24 - q0);
      ih = iq[jz - 1] >> (23 - q0);
    } else if (q0 == 0) {
      ih = iq[jz - 1] >> 23;
    } else if (z >= 0.5) {
      ih = 2;
    }
    if (ih > 0) {  // the fraction is 0.5 or more: take 1 - fraction, and n + 1
      n += 1;
      int32_t carry = 0;
      for (int i = 0; i < jz; ++i) {
        const int32_t j = iq[i];
        if (carry == 0) {
          if (j != 0) {
            carry = 1;
            iq[i] = 0x1000000 - j;
          }
        } else {
          iq[i] = 0xffffff - j;
        }
      }
      if (q0 == 1) iq[jz - 1] &= 0x7fffff;
      if (q0 == 2) iq[jz - 1] &= 0x3fffff;
      if (ih == 2) {
        z = 1.0 - z;
        if (carry != 0) z -= scaled(1.0, q0);
      }
    }
    if (z != 0.0) break;
    int32_t rest = 0;
    for (int i = jz - 1; i >= kTerms; --i) rest |= iq[i];
    if (rest != 0) break;
    // Everything cancelled: take more terms of 2/pi and distil again.
    int k = 1;
    while (iq[kTerms - k] == 0) ++k;
    for (int i = jz + 1; i <= jz + k; ++i) {
      f[jx + i] = static_cast<double>(kTwoOverPi[jv + i]);
      q[i] = product(i);
    }
    jz += k;
  }

  // Drop zero pieces, or split the fraction into 24-bit pieces.
  if (z == 0.0) {
    jz -= 1;
    q0 -= 24;
    while (iq[jz] == 0) {
      jz--;
      q0 -= 24;
    }
  } else {
    z = scaled(z, -q0);
    if (z >= kTwo24) {
      const double fw = whole(kTwoMinus24 * z);
      iq[jz] = static_cast<int32_t>(z - kTwo24 * fw);
      jz += 1;
      q0 += 24;
      iq[jz] = static_cast<int32_t>(fw);
    } else {
      iq[jz] = static_cast<int32_t>(z);
    }
  }

  // The fraction back to doubles, times pi/2.
  double fw = scaled(1.0, q0);
  for (int i = jz; i >= 0; --i) {
    q[i] = fw * static_cast<double>(iq[i]);
    fw *= kTwoMinus24;
  }
  for (int i = jz; i >= 0; --i) {
    fw = 0.0;
    for (int k = 0; k <= kPio2Used && k <= jz - i; ++k) fw += kPio2Pieces[k] * q[i + k];
    fq[jz - i] = fw;
  }
  fw = 0.0;
  for (int i = jz; i >= 0; --i) fw += fq[i];
  y[0] = ih == 0 ? fw : -fw;
  fw = fq[0] - fw;
  for (int i = 1; i <= jz; ++i) fw += fq[i];
  y[1] = ih == 0 ? fw : -fw;
  return n & 7;
}

}  // namespace

Reduced reduceLarge(double x) {
  const int32_t hx = highWord(x);
  const int32_t ix = hx & 0x7fffffff;
  // |x| as 24-bit pieces, the first scaled to [2^23, 2^24).
  const int e0 = (ix >> 20) - 1046;
  double z = fromWords(static_cast<uint32_t>(ix - e0 * (1 << 20)), lowWord(x));
  double tx[3];
  for (int i = 0; i < 2; ++i) {
    tx[i] = whole(z);
    z = (z - tx[i]) * kTwo24;
  }
  tx[2] = z;
  int nx = 3;
  while (tx[nx - 1] == 0.0) nx--;
  double ty[2];
  const int32_t n = remPio2(tx, ty, e0, nx);
  if (hx < 0) return {-n, -ty[0], -ty[1]};
  return {n, ty[0], ty[1]};
}

}  // namespace maths::internal
