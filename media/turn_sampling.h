// Sampling a picture prepared for turned drawing: source points in fixed point, and the
// bilinear blend of opaque texels only. Shared by the preparation and the drawing, inline
// because it runs for every pixel of every turned picture.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "media/compositor.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace turn_sampling {

// Source positions along a row in 16.16 fixed point: exact for whole and half pixels, and
// far finer than any visible difference elsewhere.
constexpr int64_t kOne = 1 << 16;
constexpr int64_t kHalf = kOne / 2;

// std::llround, without a call into the library: below 2^52 the part after the point comes
// off exactly, and beyond that every double is whole already.
inline int64_t toFixed(double v) {
  const double scaled = v * kOne;
  if (!(std::abs(scaled) < 0x1p52)) return static_cast<int64_t>(std::llround(scaled));
  auto whole = static_cast<int64_t>(scaled);
  const double rest = scaled - static_cast<double>(whole);
  if (rest >= 0.5) ++whole;
  if (rest <= -0.5) --whole;
  return whole;
}

inline uint64_t spread(uint32_t rgb) {
  return (rgb & 0xFF) | ((rgb & 0xFF00) << 8) | (uint64_t{rgb & 0xFF0000} << 16);
}

// The bilinear blend of a wholly opaque 2 x 2 block p00, p01 / p10, p11: in each lane first
// along the rows, a + (b - a) * tx / 256 rounded down, then down the column by ty. No lane
// ever reaches 2^16 on the way, so 16-bit lanes, as many as SSE2 takes at once, give the same.
#if defined(__SSE2__)
inline uint32_t blendBlock(const uint64_t* p, ptrdiff_t stride, uint64_t tx, uint64_t ty) {
  const __m128i top = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));  // p00 | p01
  const __m128i bottom = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + stride));
  const __m128i t = _mm_cvtsi32_si128(static_cast<int>(tx | (ty << 16)));
  const __m128i both = _mm_shuffle_epi32(_mm_unpacklo_epi16(t, t), 0x50);  // tx x 4 | ty x 4
  const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(256), both);
  const __m128i wx = _mm_unpacklo_epi64(rest, both);  // 256 - tx x 4 | tx x 4
  const __m128i wy = _mm_unpackhi_epi64(rest, both);
  const __m128i a = _mm_mullo_epi16(top, wx), b = _mm_mullo_epi16(bottom, wx);
  const __m128i rows =
      _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b)), 8);
  const __m128i v = _mm_mullo_epi16(rows, wy);
  const __m128i sum = _mm_srli_epi16(_mm_add_epi16(v, _mm_shuffle_epi32(v, 0x4E)), 8);
  // Blue, green and red in the low three bytes; the marks' lane is dropped.
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum))) & kRgbMask;
}
#else
constexpr uint64_t kLanes = 0x000000FF00FF00FF;

// a + (b - a) * t / 256 in each lane, the marks above the lanes dropped.
inline uint64_t lerp(uint64_t a, uint64_t b, uint64_t t) {
  return ((a * (256 - t) + b * t) >> 8) & kLanes;
}

inline uint32_t packed(uint64_t lanes) {
  return static_cast<uint32_t>((lanes & 0xFF) | ((lanes >> 8) & 0xFF00) |
                               ((lanes >> 16) & 0xFF0000));
}

inline uint32_t blendBlock(const uint64_t* p, ptrdiff_t stride, uint64_t tx, uint64_t ty) {
  return packed(lerp(lerp(p[0], p[1], tx), lerp(p[stride], p[stride + 1], tx), ty));
}
#endif

inline bool opaque(uint64_t texel) { return (texel & TurnSource::kOpaque) != 0; }

// Weighted mean of the opaque ones among the four texels (the nearest one is opaque, and
// weighs at least 128 x 128, so the weights never sum to 0).
inline uint32_t blendOpaque(const std::array<uint64_t, 4>& p, uint32_t tx, uint32_t ty) {
  const std::array<uint32_t, 4> weight = {(256 - tx) * (256 - ty), tx * (256 - ty), (256 - tx) * ty,
                                          tx * ty};
  uint32_t r = 0, g = 0, b = 0, total = 0;
  for (size_t i = 0; i < 4; ++i) {
    if (!opaque(p[i])) continue;
    total += weight[i];
    r += weight[i] * ((p[i] >> 32) & 0xFF);
    g += weight[i] * ((p[i] >> 16) & 0xFF);
    b += weight[i] * (p[i] & 0xFF);
  }
  // The rounded integer quotient, by a floating-point division, which pipelines where an
  // integer one does not: both operands are below 2^25, so an exact quotient comes out
  // exact and any other lies at least 2^-24 (relative) away from the next whole number.
  const double divisor = total;
  const auto mean = [total, divisor](uint32_t sum) {
    return static_cast<uint32_t>((sum + total / 2) / divisor);
  };
  return (mean(r) << 16) | (mean(g) << 8) | mean(b);
}

// Bilinear sampling restricted to opaque texels. A destination pixel is covered when the
// nearest texel (ties going to the lower index) is opaque; its colour blends only the opaque
// texels of the 2 x 2 neighbourhood, so the transparent colour never bleeds into an edge.
class OpaqueSampler {
 public:
  // Points outside the opaque box can only meet transparent texels: to the sampler the box
  // is the whole picture.
  explicit OpaqueSampler(const TurnSource& src)
      : origin_(src.texelAt(-1, -1)),
        stride_(src.stride()),
        left_(src.opaqueBox().left * kOne),
        top_(src.opaqueBox().top * kOne),
        xHigh_(src.opaqueBox().w * kOne - kHalf),
        yHigh_(src.opaqueBox().h * kOne - kHalf) {}

  // Pixels 0..count - 1 of `out`, the first at source position (fx, fy) in the picture, in
  // fixed point, each next one a step further; each drawn pixel also carries `mark`.
  void drawRow(uint32_t* out, int count, int64_t fx, int64_t fy, int64_t stepX, int64_t stepY,
               uint32_t mark = 0) const {
    fx -= left_;
    fy -= top_;
    // Only where the point lies inside the picture, -1/2 < f <= size - 1/2: a stretch of the
    // row, which the caller has already cut to within a column or two.
    const auto inside = [&](int64_t k) {
      const int64_t x = fx + stepX * k, y = fy + stepY * k;
      return x > -kHalf && x <= xHigh_ && y > -kHalf && y <= yHigh_;
    };
    int64_t first = 0, last = count - 1;
    while (first <= last && !inside(first)) ++first;
    while (last >= first && !inside(last)) --last;
    fx += stepX * first;
    fy += stepY * first;
    for (int64_t k = first; k <= last; ++k, fx += stepX, fy += stepY) {
      // f + 1 is positive: its whole part is the texel to the left of (above) the point,
      // counted from the border.
      const auto sx = static_cast<uint64_t>(fx + kOne), sy = static_cast<uint64_t>(fy + kOne);
      const uint64_t* p = origin_ + (sy >> 16) * stride_ + (sx >> 16);
      const uint64_t fracX = sx & (kOne - 1), fracY = sy & (kOne - 1);
      const uint64_t tx = fracX >> 8, ty = fracY >> 8;  // 0..255
      const uint64_t p00 = p[0];
      if (p00 & TurnSource::kBlockOpaque) {
        out[k] = blendBlock(p, stride_, tx, ty) | mark;
        continue;
      }
      if (!opaque(p[(fracX > kHalf) + (fracY > kHalf) * stride_])) continue;
      out[k] = blendOpaque({p00, p[1], p[stride_], p[stride_ + 1]}, static_cast<uint32_t>(tx),
                           static_cast<uint32_t>(ty)) |
               mark;
    }
  }

 private:
  const uint64_t* origin_;  // the border's top-left texel
  ptrdiff_t stride_;
  int64_t left_, top_, xHigh_, yHigh_;  // in fixed point
};

}  // namespace turn_sampling
