// Where two rows of pixels differ, four pixels at a time.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "media/backend.h"

// The first x in [x0, x1) where the rows differ, or x1.
inline int firstDifference(const uint32_t* a, const uint32_t* b, int x0, int x1) {
  int x = x0;
  for (; x + 4 <= x1; x += 4) {
    const __m128i same = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)));
    const int mask = _mm_movemask_epi8(same) ^ 0xFFFF;
    if (mask != 0) return x + __builtin_ctz(static_cast<unsigned>(mask)) / 4;
  }
  while (x < x1 && a[x] == b[x]) ++x;
  return x;
}

// The last x in [x0, x1) where the rows differ, or x0 - 1 when none does.
inline int lastDifference(const uint32_t* a, const uint32_t* b, int x0, int x1) {
  int x = x1;
  for (; x - 4 >= x0; x -= 4) {
    const __m128i same =
        _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x - 4)),
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x - 4)));
    const int mask = _mm_movemask_epi8(same) ^ 0xFFFF;
    if (mask != 0) return x - 4 + (31 - __builtin_clz(static_cast<unsigned>(mask))) / 4;
  }
  while (x > x0 && a[x - 1] == b[x - 1]) --x;
  return x - 1;
}

// The box around the pixels of `box` that differ between two pictures, which `now` and `was`
// point into at the box's corner, rows `nowStride` and `wasStride` pixels apart; none when
// all are alike.
inline std::optional<ScreenBox> differingBox(const uint32_t* now, ptrdiff_t nowStride,
                                             const uint32_t* was, ptrdiff_t wasStride,
                                             const ScreenBox& box) {
  int left = box.w, right = 0, top = -1, bottom = -1;
  for (int row = 0; row < box.h; ++row, now += nowStride, was += wasStride) {
    const int first = firstDifference(now, was, 0, box.w);
    if (first == box.w) continue;
    left = std::min(left, first);
    // Only a difference right of those found so far can widen the box.
    right = std::max(right, lastDifference(now, was, std::max(first, right), box.w) + 1);
    if (top < 0) top = row;
    bottom = row + 1;
  }
  if (top < 0) return std::nullopt;
  return ScreenBox{box.x + left, box.y + top, right - left, bottom - top};
}
