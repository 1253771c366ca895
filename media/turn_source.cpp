// A picture made ready for turned drawing: its opaque box, its texels and the lines that
// enclose them.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "media/compositor.h"
#include "media/turn_sampling.h"

using turn_sampling::opaque;
using turn_sampling::spread;

TurnSource::TurnSource(const Image& src, uint32_t key) : w_(src.w), h_(src.h) {
  findOpaqueBox(src, key);
  stride_ = ptrdiff_t{box_.w} + 2;
  texels_.assign(static_cast<size_t>(stride_) * (box_.h + 2), 0);
  for (int y = 0; y < box_.h; ++y) {
    for (int x = 0; x < box_.w; ++x) {
      const uint32_t p = src.at(box_.left + x, box_.top + y) & kRgbMask;
      texel(x, y) = spread(p) | (p != key ? kOpaque : 0);
    }
  }
  markOpaqueBlocks();
  encloseOpaqueTexels();
}

void TurnSource::findOpaqueBox(const Image& src, uint32_t key) {
  int left = src.w, top = src.h, right = -1, bottom = -1;
  for (int y = 0; y < src.h; ++y) {
    for (int x = 0; x < src.w; ++x) {
      if (isKey(src.at(x, y), key)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = y;
    }
  }
  if (right >= 0) box_ = {left, top, right - left + 1, bottom - top + 1};
}

void TurnSource::markOpaqueBlocks() {
  for (int y = -1; y < box_.h; ++y) {
    for (int x = -1; x < box_.w; ++x) {
      const uint64_t all = texel(x, y) & texel(x + 1, y) & texel(x, y + 1) & texel(x + 1, y + 1);
      if (opaque(all)) texel(x, y) |= kBlockOpaque;
    }
  }
}

void TurnSource::encloseOpaqueTexels() {
  for (int i = 0; i < kBoundCount; ++i) {
    const double angle = i * std::numbers::pi / (kBoundCount / 2);
    bounds_[i] = {std::cos(angle), std::sin(angle), -HUGE_VAL};
  }
  for (int y = 0; y < box_.h; ++y) {
    int left = box_.w, right = -1;
    for (int x = 0; x < box_.w; ++x) {
      if (!opaque(texel(x, y))) continue;
      left = std::min(left, x);
      right = x;
    }
    if (right < 0) continue;
    // The row's opaque texels lie within this rectangle (in the picture's coordinates); each
    // line must hold its corners.
    for (const double u : {box_.left + left - 0.5, box_.left + right + 0.5}) {
      for (const double v : {box_.top + y - 0.5, box_.top + y + 0.5}) {
        for (Bound& bound : bounds_) bound.c = std::max(bound.c, bound.a * u + bound.b * v);
      }
    }
  }
}
